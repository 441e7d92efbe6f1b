#pragma once

#include "PrintSource.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

// A form's controls as plain data: texts, checked boxes and tables by id,
// with a record of what batch printing did to them.
class MapPrintSource : public IPrintSource
{
public:
    struct Table
    {
        QStringList headers;
        QList<QStringList> rows;
    };

    QString ControlText(int id) const override { return texts.value(id); }
    bool IsChecked(int id) const override { return checked.contains(id); }
    int TableRowCount(int id) const override { return static_cast<int>(tables.value(id).rows.size()); }
    int TableHeaderCount(int id) const override { return static_cast<int>(tables.value(id).headers.size()); }
    QString TableHeaderText(int id, int column) const override { return tables.value(id).headers.value(column); }
    QString TableItemText(int id, int row, int column) const override
    {
        return tables.value(id).rows.value(row).value(column);
    }
    void SetControlTextById(int id, const QString& text) override { texts[id] = text; }
    void PostClick(int id) override { clicks << id; }

    QHash<int, QString> texts;
    QSet<int> checked;
    QHash<int, Table> tables;
    QList<int> clicks;
};
