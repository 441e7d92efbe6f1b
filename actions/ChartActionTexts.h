#pragma once

#include <QString>

// Fixed texts of the chart report and chart board actions.
namespace ChartActionTexts {

// query_to_tree_head without the board's reference.
inline const QString NoTableId = QStringLiteral("未指定表格id");
// A looping show_table step got back a node key it had already added: the
// parent keys of the data run in a circle (%1 the key).
inline const QString NodesLoop = QStringLiteral("节点数据成环：节点“%1”又出现在自己的下级中，无法展开。");

} // namespace ChartActionTexts
