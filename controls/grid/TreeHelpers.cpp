#include "grid/TreeHelpers.h"

#include <QTreeWidget>

namespace
{
qint64 ItemData(const QTreeWidgetItem* item)
{
    return item->data(0, kTreeItemDataRole).toLongLong();
}

// The children of parent, or the roots of tree when parent is null.
int ChildCount(QTreeWidget* tree, QTreeWidgetItem* parent)
{
    return parent ? parent->childCount() : tree->topLevelItemCount();
}

QTreeWidgetItem* Child(QTreeWidget* tree, QTreeWidgetItem* parent, int index)
{
    return parent ? parent->child(index) : tree->topLevelItem(index);
}

// The children of parent from index first on, each with its subtree.
QTreeWidgetItem* FindFrom(QTreeWidget* tree, QTreeWidgetItem* parent, int first, qint64 value)
{
    const int count = ChildCount(tree, parent);
    for (int index = first; index < count; ++index) {
        QTreeWidgetItem* item = Child(tree, parent, index);
        if (ItemData(item) == value)
            return item;
        if (QTreeWidgetItem* found = FindFrom(tree, item, 0, value))
            return found;
    }
    return nullptr;
}

void AppendCheckedTreeIds(const QTreeWidgetItem* item, QString& out, const QString& separator)
{
    if (item->checkState(0) == Qt::Checked)
        out += QString::number(ItemData(item)) + separator;
    for (int index = 0; index < item->childCount(); ++index)
        AppendCheckedTreeIds(item->child(index), out, separator);
}
} // namespace

QTreeWidgetItem* FindTreeItemByData(QTreeWidget* tree, QTreeWidgetItem* item, qint64 value)
{
    if (!tree || !item || item->treeWidget() != tree)
        return nullptr;
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
    return FindFrom(tree, parent, index, value);
}

void GetCheckedTreeIds(QTreeWidget* tree, QString& out, const QString& separator)
{
    if (!tree)
        return;
    for (int index = 0; index < tree->topLevelItemCount(); ++index)
        AppendCheckedTreeIds(tree->topLevelItem(index), out, separator);
}
