#include "text/TreeItems.h"

#include <QTreeWidget>

namespace {

QTreeWidgetItem* NextSibling(QTreeWidget* tree, QTreeWidgetItem* item)
{
    QTreeWidgetItem* parent = item->parent();
    if (parent) {
        const int index = parent->indexOfChild(item);
        return index + 1 < parent->childCount() ? parent->child(index + 1) : nullptr;
    }
    const int index = tree->indexOfTopLevelItem(item);
    return index + 1 < tree->topLevelItemCount() ? tree->topLevelItem(index + 1) : nullptr;
}

QTreeWidgetItem* FindBelow(QTreeWidgetItem* item, int data)
{
    if (item->data(0, kTreeItemDataRole).toInt() == data)
        return item;
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = FindBelow(item->child(i), data))
            return found;
    }
    return nullptr;
}

void ExpandBelow(QTreeWidgetItem* item, bool expand)
{
    item->setExpanded(expand);
    for (int i = 0; i < item->childCount(); ++i)
        ExpandBelow(item->child(i), expand);
}

} // namespace

QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, QTreeWidgetItem* start, int data)
{
    for (QTreeWidgetItem* item = start; item; item = NextSibling(tree, item)) {
        if (QTreeWidgetItem* found = FindBelow(item, data))
            return found;
    }
    return nullptr;
}

void ExpandTreeItems(QTreeWidget* tree, QTreeWidgetItem* item, bool expand)
{
    if (item) {
        ExpandBelow(item, expand);
        return;
    }
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i)
        ExpandBelow(tree->topLevelItem(i), expand);
}
