#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QvChart;

// A node of the two trees of a tree-list board: the header tree, whose leaves
// are the columns, and the body tree, whose nodes are the rows. A node owns
// its cell items and its children; the two roots are members of the board.
//
// Nodes are built from a template: the caller fills a scratch node (text,
// key, number, size, own item kind and texts) and AddChild links a new node
// made from it under the parent.
class QvTree
{
public:
    // One cell item. The node's own item holds its display text; in a header
    // leaf its kind is the column's cell kind (0 text, 1 time bar), and in a
    // body row its third text is the colour of the row's time bars.
    struct _QvTreeItem
    {
        int m_nKind = 0;
        int m_nData = 0;
        QString m_strText;
        QString m_strText2;
        QString m_strText3;
    };

    QvTree();
    ~QvTree();
    QvTree(const QvTree&) = delete;
    QvTree& operator=(const QvTree&) = delete;

    bool SetText(const QString& text);
    QString GetText() const;
    // Appends a cell item for the next further column.
    bool AddItem(const QString& text);
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    const _QvTreeItem& Item(int index) const { return *m_items[static_cast<size_t>(index)]; }

    // Links a new last child made from the template (which stays unlinked):
    // own item kind and second and third texts, display text, key, number
    // (the template's when 1 or more, else this node's), size. Unless this
    // node has a fixed layout the child is placed below this node, right of
    // its previous sibling. A non-empty key is registered in the owning
    // board's node map.
    QvTree* AddChild(const QvTree& templ);

    // Gives the nodes of one depth, depth first in child order, the next
    // texts of the list from position on; false when the node is null, the
    // list is used up or the depth lies above the node.
    static bool SetLevelTexts(int depth, QvTree* node, const QStringList& texts, qsizetype& position);

    // The first node, this one first and then its subtree depth first, whose
    // rectangle holds the point (borders excluded; only the vertical range
    // unless the layout is fixed). hit tells whether one was found.
    QvTree* HitTest(int x, int y, bool& hit);

    // Shows or hides every descendant of the node; a shown one under a
    // visible parent gets its saved height back when it had none.
    static void SetSubtreeVisible(QvTree* node, bool visible);
    // Inverts the expansion; expanding gives the direct children their
    // saved heights back.
    int ToggleExpanded();

    void ClearItems();
    // Destroys every descendant. Pointers the owning board holds into the
    // destroyed nodes are dropped with them.
    void DestroyChildren();
    // Items and descendants go; the owning board's whole node map is emptied.
    void Clear();

    int ChildCount() const { return static_cast<int>(m_children.size()); }
    QvTree* Child(int index) const { return m_children[static_cast<size_t>(index)].get(); }
    bool HasChildren() const { return !m_children.empty(); }
    // Whether this node lies in the subtree of the other (or is it).
    bool IsWithin(const QvTree* other) const;

    // Visits the node and its subtree depth first, each node before its
    // children, until the visitor returns false. Rows may nest thousands of
    // levels deep, so no walk over a body tree recurses.
    template <typename Visitor>
    static void WalkPreOrder(QvTree* root, Visitor visit);

    QString m_strKey;
    _QvTreeItem m_item;
    int m_nNumber = 0;
    int m_nLevel = 0;
    QvTree* m_pParent = nullptr;
    QvTree* m_pPrev = nullptr;
    QvTree* m_pNext = nullptr;
    int m_nHeight = 0;
    int m_nWidth = 0;
    int m_nTop = 0;
    int m_nLeft = 0;
    int m_nBottom = 0;
    int m_nRight = 0;
    bool m_bFixedLayout = false;
    int m_nBoxX = 0;
    int m_nMidY = 0;
    bool m_bVisible = true;
    bool m_bExpanded = true;
    int m_nSavedHeight = 0;
    QvChart* m_pChart = nullptr;

private:
    // Destroys the nodes and all their descendants one by one.
    static void Dispose(std::vector<std::unique_ptr<QvTree>>& nodes);

    std::vector<std::unique_ptr<_QvTreeItem>> m_items;
    std::vector<std::unique_ptr<QvTree>> m_children;
};

template <typename Visitor>
void QvTree::WalkPreOrder(QvTree* root, Visitor visit)
{
    if (!visit(root))
        return;
    std::vector<std::pair<QvTree*, size_t>> stack{{root, 0}};
    while (!stack.empty()) {
        QvTree* node = stack.back().first;
        const size_t next = stack.back().second++;
        if (next >= node->m_children.size()) {
            stack.pop_back();
            continue;
        }
        QvTree* child = node->m_children[next].get();
        if (!visit(child))
            return;
        stack.emplace_back(child, 0);
    }
}
