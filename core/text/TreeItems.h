#pragma once

class QTreeWidget;
class QTreeWidgetItem;

// Tree controls whose items carry a number in their data (Qt::UserRole), as
// the menu trees carry the menu uid.

// The role under which an item keeps its number.
constexpr int kTreeItemDataRole = 0x0100; // Qt::UserRole

// Searches depth first (children before the next sibling) from start and the
// siblings after it; the first item whose number equals data, or null.
QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, QTreeWidgetItem* start, int data);

// Expands (or collapses) item and every item below it; a null item stands
// for every top-level item.
void ExpandTreeItems(QTreeWidget* tree, QTreeWidgetItem* item, bool expand);
