#include "grid/ListHelpers.h"

#include "grid/GridTexts.h"
#include "grid/ListCtrlEx.h"

#include "text/MessageSink.h"
#include "text/TextSplit.h"

#include <QClipboard>
#include <QGuiApplication>

namespace
{
constexpr int kMaxTitleLength = 256;

QString CleanCell(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    text.remove(u'\t');
    return text;
}

// Appends the cells with a tab between them and CR LF after the last.
void AppendLine(QString& text, const QStringList& cells)
{
    text += cells.join(u'\t');
    text += QStringLiteral("\r\n");
}
} // namespace

void GetCheckedListIds(const CListCtrlEx* list, QString& out, const QString& separator)
{
    if (!list)
        return;
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetCheck(row))
            out += list->GetRowKey(row)->strKey + separator;
}

bool GetSelectedListItem(const CListCtrlEx* list, int& index)
{
    const QList<int> rows = list ? list->GetSelectedRows() : QList<int>();
    if (rows.isEmpty())
        return false;
    index = rows.first();
    return true;
}

bool GetSelectedListItemData(const CListCtrlEx* list, QString& out)
{
    int row = 0;
    if (!GetSelectedListItem(list, row))
        return false;
    out = list->GetRowKey(row)->strKey;
    return true;
}

QString GetListColumnTitle(const CListCtrlEx* list, int index)
{
    if (!list || index < 0 || index >= list->GetColumnCount())
        return {};
    return list->GetColumnTitle(index).left(kMaxTitleLength);
}

QString ListToClipboardText(const CListCtrlEx* list, const QString& columns)
{
    QList<int> chosen;
    if (columns.isEmpty()) {
        for (int column = 0; column < list->GetColumnCount(); ++column)
            if (list->GetColumnWidth(column) > 0)
                chosen.append(column);
    } else {
        QStringList numbers;
        SplitString(columns, QStringLiteral(","), numbers);
        for (const QString& number : numbers)
            chosen.append(TextToInt(number) - 1);
    }
    QString text;
    QStringList cells;
    for (int column : chosen)
        cells.append(GetListColumnTitle(list, column));
    AppendLine(text, cells);
    for (int row = 0; row < list->GetItemCount(); ++row) {
        cells.clear();
        for (int column : chosen)
            cells.append(CleanCell(list->GetItemText(row, column)));
        AppendLine(text, cells);
    }
    return text;
}

bool CopyListToClipboard(const CListCtrlEx* list, const QString& columns)
{
    if (!list || list->GetItemCount() == 0) {
        ShowMessage(GridTexts::kNoRecords);
        return false;
    }
    QGuiApplication::clipboard()->setText(ListToClipboardText(list, columns));
    return true;
}
