#include "FormPrinter.h"

#include "PrintPainter.h"
#include "PrintSource.h"
#include "PrintTexts.h"
#include "text/ColorRectText.h"
#include "text/TextSplit.h"

#include <QPainter>

#include <vector>

namespace
{

constexpr int FooterHeight = 50;
constexpr int FooterFormat = 38;   // right, vertically centred, one line
constexpr int CellFormat = 37;     // centred, one line
constexpr int RulingWidth = 2;     // 0.2 mm

struct Column
{
    int width = 0;
    int align = CellFormat;
    int source = 0; // 1-based column of the table control
};

int AttributeInt(const CXmlNode& node, const QString& name, int defaultValue = 0)
{
    const QString text = node.GetAttribute(name);
    return text.isEmpty() ? defaultValue : TextToInt(text);
}

} // namespace

int CFormPrinter::PrintTable(const CXmlNode& table, PrintPainter& painter, int page)
{
    MakePrintFont(table.GetAttribute(QStringLiteral("font")), painter);
    const CXmlNode head = table.GetChild(QStringLiteral("head_info_print"));
    const CXmlNode body = table.GetChild(QStringLiteral("col_info_print"));
    const bool ruled = AttributeInt(table, QStringLiteral("format")) == 0;
    const int control = AttributeInt(table, QStringLiteral("value"));

    std::vector<Column> columns;
    const CXmlNodes columnNodes = body.GetChildren();
    for (int i = 0; i < columnNodes.GetCount(); ++i) {
        const CXmlNode node = columnNodes.GetItem(i);
        columns.push_back({AttributeInt(node, QStringLiteral("width")),
                           AttributeInt(node, QStringLiteral("align"), CellFormat),
                           AttributeInt(node, QStringLiteral("col_id"))});
    }

    const int perPage = AttributeInt(body, QStringLiteral("count_in_page"));
    const int rowHeight = AttributeInt(body, QStringLiteral("row_height"));
    const int rowCount = m_source.TableRowCount(control);
    const int firstRow = (page - 1) * perPage;
    const int rowsOnPage = std::clamp(std::min(perPage, rowCount - firstRow), 0, std::max(perPage, 0));

    const RectLTRB pos = ParseRectText(table.GetAttribute(QStringLiteral("pos")));
    const int left = pos.left + painter.offsetX;
    const int top = pos.top + painter.offsetY;
    const int height = pos.bottom;
    int tableWidth = 0;
    for (const Column& column : columns)
        tableWidth += column.width;
    const int right = left + tableWidth;

    QPainter& p = painter.Painter();
    p.drawText(PrintPainter::PlainRect(left, top + height - FooterHeight, right, top + height),
               QtTextFlags(FooterFormat), PrintTexts::PageFooter.arg(page).arg(m_nPrintPageCount));

    const QPen thick = PrintPainter::GeometricPen(RulingWidth);
    if (ruled)
        painter.DrawScaledLine(left, top, right, top, thick);

    // Header rows: a cell whose row_id differs from the one before starts a
    // new row, as high as that cell's row_height; the k-th cell of a row
    // takes the width of column k.
    const CXmlNodes cells = head.GetChildren();
    const int headerColumns = m_source.TableHeaderCount(control);
    int y = top;
    int rowTop = top;
    int rowSpan = 0;
    int x = left;
    int k = 0;
    QString rowId;
    for (int i = 0; i < cells.GetCount(); ++i) {
        const CXmlNode cell = cells.GetItem(i);
        const QString id = cell.GetAttribute(QStringLiteral("row_id"));
        if (i == 0 || id != rowId) {
            rowId = id;
            rowTop = y;
            rowSpan = AttributeInt(cell, QStringLiteral("row_height"));
            y += rowSpan;
            x = left;
            k = 0;
            if (ruled)
                painter.DrawScaledLine(left, y, right, y, thick);
        }
        const int width = k < static_cast<int>(columns.size()) ? columns[k].width : 0;
        if (ruled && width > 0) {
            QString title = cell.GetAttribute(QStringLiteral("title"));
            const int headerColumn = AttributeInt(cell, QStringLiteral("id"));
            if (title.isEmpty() && headerColumn >= 1 && headerColumn <= headerColumns)
                title = m_source.TableHeaderText(control, headerColumn - 1).left(256);
            painter.DrawTextFit(title, PrintPainter::PlainRect(x, rowTop, x + width, rowTop + rowSpan), CellFormat);
        }
        x += width;
        ++k;
    }

    if (ruled) {
        int lineY = y;
        for (int r = 0; r < rowsOnPage; ++r) {
            lineY += rowHeight;
            if (r + 1 < rowsOnPage)
                painter.DrawScaledLine(left, lineY, right, lineY);
            else
                painter.DrawScaledLine(left, lineY, right, lineY, thick);
        }
        painter.DrawScaledLine(left, top, left, lineY, thick);
        int columnX = left;
        for (size_t c = 0; c < columns.size(); ++c) {
            columnX += columns[c].width;
            if (c + 1 < columns.size())
                painter.DrawScaledLine(columnX, top, columnX, lineY);
            else
                painter.DrawScaledLine(columnX, top, columnX, lineY, thick);
        }
    }

    int cellTop = top + AttributeInt(head, QStringLiteral("row_height"));
    for (int r = 0; r < rowsOnPage; ++r, cellTop += rowHeight) {
        int cellLeft = left;
        for (const Column& column : columns) {
            if (column.width > 0) {
                const QString text = m_source.TableItemText(control, firstRow + r, column.source - 1);
                painter.DrawTextFit(text, PrintPainter::PlainRect(cellLeft, cellTop, cellLeft + column.width,
                                                                   cellTop + rowHeight),
                                    column.align);
            }
            cellLeft += column.width;
        }
    }

    return std::max(0, perPage - rowsOnPage) * rowHeight;
}
