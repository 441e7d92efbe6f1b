// The cell operations: shaping a filled grid without SQL (read-only rows,
// colour rules, running balances, grouped rows, filling down).
#include "ActionFamilies.h"
#include "CellTexts.h"
#include "grid/ListCtrlEx.h"
#include "text/ColorRectText.h"
#include "text/NumberText.h"
#include "text/TextSplit.h"
#include "xml/XmlNode.h"

namespace {

// Columns in the attributes count from 1; the grid's from 0.
QString CellText(const CListCtrlEx* grid, int row, int columnNumber)
{
    return grid->GetItemText(row, columnNumber - 1);
}

bool IsColumnNumber(const CListCtrlEx* grid, int columnNumber)
{
    return columnNumber >= 1 && columnNumber <= grid->GetColumnCount();
}

COLORREF ColourOr(const QString& text, COLORREF fallback)
{
    return text.isEmpty() ? fallback : ParseRgbText(text);
}

// The element that carries an action's settings: "para_info_where" when
// there is one, else "para_info".
CXmlNode SettingsOf(const CXmlNode& action, bool whereFirst)
{
    if (whereFirst) {
        const CXmlNode where = action.GetChild(QStringLiteral("para_info_where"));
        if (!where.IsNull())
            return where;
    }
    return action.GetChild(QStringLiteral("para_info"));
}

// The grid's own element of the form description, as its form built it.
CXmlNode GridElement(const CListCtrlEx* grid)
{
    const auto* owner = qobject_cast<const D_T1*>(grid->GetOwnerForm());
    if (!owner)
        return {};
    for (const D_T1::Control& control : owner->GetControls()) {
        if (control.widget == grid)
            return control.element;
    }
    return {};
}

// An amount of a cell: thousands separators are dropped (noting that there
// were some), a text that is no number counts as 0.
double ReadAmount(QString text, bool& separators)
{
    if (text.contains(u',')) {
        separators = true;
        text.remove(u',');
    }
    return TextToDouble(text);
}

QString FormatBalance(double balance, bool separators)
{
    if (separators)
        return FormatThousands(QString::number(balance, 'g', 17));
    QString text = TrimNumberZeros(QString::number(balance, 'f', 6));
    // A sum that only misses zero by the binary fractions shows no sign.
    return text == u"-0" ? QStringLiteral("0") : text;
}

// The grid of a cell operation. A reference that names nothing lets the
// operation succeed doing nothing (the form author's slip stays in the error
// text, unseen); one that names a control of another kind stops the event
// with the reference (stop).
CListCtrlEx* CellGrid(CFormActions& actions, const D_T1& form, const QString& ref, bool& stop)
{
    QWidget* control = nullptr;
    CListCtrlEx* grid = nullptr;
    stop = actions.GetControlByRef(form, ref, control) && !actions.GetGridByRef(form, ref, grid);
    return grid;
}

} // namespace

bool CFormActions::SetTableReadonly(const CXmlNode& action, D_T1& form)
{
    bool stop = false;
    CListCtrlEx* grid = CellGrid(*this, form, action.GetAttribute(QStringLiteral("table_id")), stop);
    if (!grid)
        return !stop;
    const int readOnly = TextToInt(action.GetAttribute(QStringLiteral("values"), QStringLiteral("0"))) != 0;
    for (int row = 0; row < grid->GetItemCount(); ++row)
        grid->SetRowReadOnly(row, readOnly);
    return true;
}

bool CFormActions::SetRowColor(const CXmlNode& action, D_T1& form)
{
    bool stop = false;
    CListCtrlEx* grid = CellGrid(*this, form, action.GetAttribute(QStringLiteral("table_id")), stop);
    if (!grid)
        return !stop;
    // The rule belongs to the grid's own description, wherever the action
    // sits (a control's event, the form's opening, another window).
    const CXmlNode table = GridElement(grid);
    const CXmlNode para = table.GetChild(QStringLiteral("PARA"));
    const CXmlNode info = CXmlNode(para.GetChild(QStringLiteral("table_info"))).GetChild(QStringLiteral("para_info"));
    const int column = info.GetAttributeInt(QStringLiteral("col"), 0);
    // Without a rule there is no column to test: nothing is coloured.
    if (!IsColumnNumber(grid, column))
        return true;
    const QString text = info.GetAttribute(QStringLiteral("text"));
    const COLORREF back = ColourOr(info.GetAttribute(QStringLiteral("row_color_bg")), CellTexts::White);
    const COLORREF fore = ColourOr(info.GetAttribute(QStringLiteral("row_color_text")), CellTexts::Black);
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        if (CellText(grid, row, column) == text)
            grid->SetRowColors(row, back, fore);
    }
    return true;
}

bool CFormActions::SetCellColor(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = SettingsOf(action, false);
    bool stop = false;
    CListCtrlEx* grid = CellGrid(*this, form, settings.GetAttribute(QStringLiteral("table_id")), stop);
    if (!grid)
        return !stop;
    const COLORREF back = ColourOr(settings.GetAttribute(QStringLiteral("color_bg")), CellTexts::White);
    const COLORREF fore = ColourOr(settings.GetAttribute(QStringLiteral("color_text")), CellTexts::Black);
    const int textColumn = settings.GetAttributeInt(QStringLiteral("text_col"), 0);
    const QString text = settings.GetAttribute(QStringLiteral("text"));
    const QString colourColumns = settings.GetAttribute(QStringLiteral("color_col"), CellTexts::WholeRow);
    QList<int> columns;
    SplitToInts(colourColumns, QStringLiteral(","), columns);
    // A test column outside the grid would read every row as empty.
    if (textColumn != -1 && !IsColumnNumber(grid, textColumn))
        return true;

    for (int row = 0; row < grid->GetItemCount(); ++row) {
        bool matches = false;
        if (text == CellTexts::Negative) {
            matches = CellText(grid, row, textColumn).startsWith(u'-');
        } else if (textColumn == -1) {
            // Each colour column is its own test.
            for (const int column : std::as_const(columns)) {
                if (column > 0 && CellText(grid, row, column) == text)
                    grid->SetCellColors(row, column - 1, back, fore);
            }
            continue;
        } else {
            matches = CellText(grid, row, textColumn) == text;
        }
        if (!matches)
            continue;
        if (colourColumns == CellTexts::WholeRow) {
            grid->SetRowColors(row, back, fore);
        } else {
            for (const int column : std::as_const(columns))
                grid->SetCellColors(row, column - 1, back, fore);
        }
    }
    return true;
}

bool CFormActions::SumCols(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = SettingsOf(action, false);
    bool stop = false;
    CListCtrlEx* grid = CellGrid(*this, form, settings.GetAttribute(QStringLiteral("table_id")), stop);
    if (!grid)
        return !stop;
    const int inColumn = settings.GetAttributeInt(QStringLiteral("col1"), 0);
    const int outColumn = settings.GetAttributeInt(QStringLiteral("col2"), 0);
    const int balanceColumn = settings.GetAttributeInt(QStringLiteral("col3"), 0);
    double balance = 0;
    bool separators = false;
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        const double in = ReadAmount(CellText(grid, row, inColumn), separators);
        const double out = ReadAmount(CellText(grid, row, outColumn), separators);
        const double written = ReadAmount(CellText(grid, row, balanceColumn), separators);
        // The first row may bring an opening balance along. Below it the
        // balance column holds what an earlier run wrote there: adding it
        // again would grow the balances with every run.
        if (row == 0)
            balance = written != 0 ? written : in - out;
        else
            balance += in - out;
        grid->SetItemText(row, balanceColumn - 1, FormatBalance(balance, separators));
    }
    return true;
}

bool CFormActions::DelCellText(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = SettingsOf(action, true);
    bool stop = false;
    CListCtrlEx* grid = CellGrid(*this, form, settings.GetAttribute(QStringLiteral("table_id")), stop);
    if (!grid)
        return !stop;
    const int groupColumn = settings.GetAttributeInt(QStringLiteral("col"), 0);
    // Outside the grid every row would look like one group and be blanked.
    if (!IsColumnNumber(grid, groupColumn))
        return true;
    const int firstBlank = qMax(1, settings.GetAttributeInt(QStringLiteral("col_from"), 0));
    const int lastBlank = qMin(grid->GetColumnCount(), settings.GetAttributeInt(QStringLiteral("col_to"), 0));
    QString previous;
    bool banded = true;
    COLORREF back = CellTexts::White;
    for (int row = 0; row < grid->GetItemCount(); ++row) {
        const QString value = CellText(grid, row, groupColumn);
        if (value == previous) {
            for (int column = firstBlank; column <= lastBlank; ++column)
                grid->SetItemText(row, column - 1, QString());
        } else {
            banded = !banded;
            back = banded ? CellTexts::Band : CellTexts::White;
        }
        grid->SetRowColors(row, back, CellTexts::Black);
        previous = value;
    }
    return true;
}

bool CFormActions::SetCellText(const CXmlNode& action, D_T1& form)
{
    const CXmlNode settings = SettingsOf(action, true);
    bool stop = false;
    CListCtrlEx* grid = CellGrid(*this, form, settings.GetAttribute(QStringLiteral("table_id")), stop);
    if (!grid)
        return !stop;
    if (grid->GetItemCount() < 2)
        return true;
    const QString mark = settings.GetAttribute(QStringLiteral("text"));
    QList<int> columns;
    SplitToInts(settings.GetAttribute(QStringLiteral("col")), QStringLiteral(";"), columns);
    for (const int column : std::as_const(columns)) {
        if (!IsColumnNumber(grid, column))
            continue;
        QString remembered;
        for (int row = 1; row < grid->GetItemCount(); ++row) {
            const QString text = CellText(grid, row, column);
            if (!text.isEmpty() && text != mark) {
                remembered = text;
                continue;
            }
            if (remembered.isEmpty())
                remembered = CellText(grid, row - 1, column);
            grid->SetItemText(row, column - 1, remembered);
        }
    }
    return true;
}

void RegisterCellActions(CActionDispatcher& dispatcher)
{
    dispatcher.Register(QStringLiteral("set_table_readonly"), Handler(&CFormActions::SetTableReadonly));
    dispatcher.Register(QStringLiteral("set_row_color"), Handler(&CFormActions::SetRowColor));
    dispatcher.Register(QStringLiteral("set_cell_color"), Handler(&CFormActions::SetCellColor));
    dispatcher.Register(QStringLiteral("sum_cols"), Handler(&CFormActions::SumCols));
    dispatcher.Register(QStringLiteral("del_cell_text"), Handler(&CFormActions::DelCellText));
    dispatcher.Register(QStringLiteral("set_cell_text"), Handler(&CFormActions::SetCellText));
}
