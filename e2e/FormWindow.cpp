#include "FormWindow.h"

#include "E2eTexts.h"

#include <numeric>

namespace {

// A pixel of text stands out from the cell's own background (light, or the
// selection's dark blue).
bool IsTextPixel(QRgb pixel, QRgb background)
{
    return qAbs(qGray(pixel) - qGray(background)) > 90;
}

// The marker put on the clipboard before a copy, so that a copy that did
// not happen reads as empty rather than as the text copied before.
const QString kClipboardMarker = QStringLiteral("\x01e2e-nothing-copied");

} // namespace

FormWindow::FormWindow(const XDesktop& desktop, const QString& entry, const QString& window,
                       const E2eFormDescription& description)
    : m_desktop(&desktop), m_strEntry(entry), m_strWindow(window), m_description(description)
{
}

QRect FormWindow::Geometry() const
{
    return m_desktop->Geometry(m_strWindow);
}

bool FormWindow::IsShown() const
{
    return m_desktop->VisibleWindows().contains(m_strWindow);
}

QRect FormWindow::ControlScreenRect(int id) const
{
    return m_description.ControlRect(id).translated(Geometry().topLeft());
}

QPoint FormWindow::ControlPoint(int id) const
{
    return ControlScreenRect(id).center();
}

void FormWindow::Click(int id) const
{
    m_desktop->Click(ControlPoint(id));
}

void FormWindow::DoubleClick(int id) const
{
    m_desktop->DoubleClick(ControlPoint(id));
}

void FormWindow::Fill(int id, const QString& text) const
{
    Click(id);
    m_desktop->Key(QStringLiteral("ctrl+a BackSpace"));
    if (!text.isEmpty())
        m_desktop->Type(text);
}

void FormWindow::Choose(int id, const QString& choice) const
{
    ChooseIndex(id, int(m_description.Choices(id).indexOf(choice)));
}

void FormWindow::ChooseIndex(int id, int index) const
{
    PickFromList(ControlScreenRect(id), index);
}

void FormWindow::PickFromList(const QRect& box, int index) const
{
    // The arrow opens the list whether or not the box takes typing.
    m_desktop->Click(QPoint(box.right() - 8, box.center().y()));
    m_desktop->Key(QStringLiteral("Home") + QStringLiteral(" Down").repeated(qMax(0, index)) + QStringLiteral(" Return"));
}

QString FormWindow::Read(int id) const
{
    m_desktop->SetClipboard(kClipboardMarker);
    // xclip takes the clipboard a moment after it starts.
    XDesktop::WaitUntil([this] { return m_desktop->Clipboard() == kClipboardMarker; }, 2000, 50);
    Click(id);
    m_desktop->Key(QStringLiteral("ctrl+a ctrl+c"));
    const QString text = m_desktop->Clipboard();
    return text == kClipboardMarker ? QString() : text;
}

QRect FormWindow::CellScreenRect(int tableId, int row, int column) const
{
    const QRect table = ControlScreenRect(tableId);
    const QList<int> widths = m_description.ColumnWidths(tableId);
    const int left = table.left() + 1 + std::accumulate(widths.begin(), widths.begin() + qMin(column, widths.size()), 0);
    const int top = table.top() + E2eText::GridHeaderHeight + row * E2eText::GridRowHeight;
    return QRect(left, top, widths.value(column), E2eText::GridRowHeight);
}

QPoint FormWindow::CellPoint(int tableId, int row, int column) const
{
    return CellScreenRect(tableId, row, column).center();
}

QPoint FormWindow::HeaderPoint(int tableId, int column) const
{
    const QRect cell = CellScreenRect(tableId, 0, column);
    return QPoint(cell.center().x(), ControlScreenRect(tableId).top() + E2eText::GridHeaderHeight / 2);
}

void FormWindow::ClickCell(int tableId, int row, int column) const
{
    m_desktop->Click(CellPoint(tableId, row, column));
}

void FormWindow::EditCell(int tableId, int row, int column, const QString& text) const
{
    ClickCell(tableId, row, column);
    m_desktop->Key(QStringLiteral("ctrl+a"));
    m_desktop->Type(text);
}

void FormWindow::ChooseInCell(int tableId, int row, int column, int index) const
{
    ClickCell(tableId, row, column);
    PickFromList(CellScreenRect(tableId, row, column), index);
}

QImage FormWindow::GridImage(int tableId) const
{
    return m_desktop->Grab().copy(ControlScreenRect(tableId));
}

int FormWindow::VisibleRows(int tableId) const
{
    const QRect table = m_description.ControlRect(tableId);
    return (table.height() - E2eText::GridHeaderHeight - 1) / E2eText::GridRowHeight;
}

int FormWindow::FilledRows(int tableId, int column) const
{
    const QImage screen = m_desktop->Grab();
    int rows = 0;
    for (int row = 0; row < VisibleRows(tableId); ++row) {
        const QRect cell = CellScreenRect(tableId, row, column).adjusted(2, 3, -2, -3);
        const QRgb background = screen.pixel(cell.topLeft());
        bool text = false;
        for (int y = cell.top(); y <= cell.bottom() && !text; ++y)
            for (int x = cell.left(); x <= cell.right() && !text; ++x)
                text = IsTextPixel(screen.pixel(x, y), background);
        if (!text)
            break;
        ++rows;
    }
    return rows;
}
