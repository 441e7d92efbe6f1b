#pragma once

#include "text/TreeItems.h"

#include <QString>
#include <Qt>

// Items keep their record uid (0 when none) under kTreeItemDataRole in
// column 0; ExpandTreeItems is the core's.

// From item on, depth first: the item itself, its subtree, then its next
// sibling and so on (the siblings after item, not its parent's); the first
// item whose data equals value, or null. A null item gives null.
QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, QTreeWidgetItem* item, qint64 value);

// Appends, for every checked item, depth first from each root, its item data
// as a decimal number followed by the separator. out is not cleared first.
void GetCheckedTreeIds(QTreeWidget* tree, QString& out, const QString& separator);
