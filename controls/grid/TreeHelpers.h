#pragma once

#include <QString>
#include <Qt>

class QTreeWidget;
class QTreeWidgetItem;

// The item data of a tree item (a record uid, 0 when none): the value of this
// role in column 0. Trees the program fills keep their items' uids there.
constexpr int kTreeItemDataRole = Qt::UserRole;

// From item on, depth first: the item itself, its subtree, then its next
// sibling and so on (the siblings after item, not its parent's); the first
// item whose data equals value, or null. A null item gives null.
QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, QTreeWidgetItem* item, qint64 value);

// Expands (or collapses) the item and all its descendants; a null item means
// every root item and their descendants.
void ExpandTreeItems(QTreeWidget* tree, QTreeWidgetItem* item, bool expand);

// Appends, for every checked item, depth first from each root, its item data
// as a decimal number followed by the separator. out is not cleared first.
void GetCheckedTreeIds(QTreeWidget* tree, QString& out, const QString& separator);
