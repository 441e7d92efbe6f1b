#pragma once

#include "QvChart.h"

#include <QString>
#include <QStringList>

#include <vector>

// Boards built the way the form builder and the show_table action build them.
namespace BoardFixture {

struct Column
{
    QString title;
    int width = 0;
    int height = 0;
    int kind = 0;     // 0 text, 1 time bar
    int button = 0;   // form control number pressed by a right click
    std::vector<Column> children;
};

// Header nodes under the board's header root, then the column arrays.
void BuildHeader(QvChart& board, const std::vector<Column>& columns);

// The usual test board: a 30-high header of the columns
// "序号" 40, "名称" 200, "备注" 80 (text, button 7), "时段" 1439 (time bar).
void BuildStandardHeader(QvChart& board);

// Makes the board a tree list with an empty body it owns.
void PrepareBody(QvChart& board);

// A row under the node registered as parentKey (the body root when none).
QvTree* AddRow(QvChart& board, const QString& parentKey, const QString& key, const QString& text, int height,
               const QStringList& items = {}, const QString& colour = {});

} // namespace BoardFixture
