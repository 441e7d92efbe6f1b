#include "QvTree.h"

#include "QvChart.h"

QvTree::QvTree() = default;

QvTree::~QvTree()
{
    Dispose(m_children);
}

void QvTree::Dispose(std::vector<std::unique_ptr<QvTree>>& nodes)
{
    std::vector<std::unique_ptr<QvTree>> pending = std::move(nodes);
    nodes.clear();
    while (!pending.empty()) {
        std::unique_ptr<QvTree> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children)
            pending.push_back(std::move(child));
        node->m_children.clear();
        node->m_pChart = nullptr;
    }
}

bool QvTree::SetText(const QString& text)
{
    m_item.m_strText = text;
    return true;
}

QString QvTree::GetText() const
{
    return m_item.m_strText;
}

bool QvTree::AddItem(const QString& text)
{
    auto item = std::make_unique<_QvTreeItem>();
    item->m_strText = text;
    m_items.push_back(std::move(item));
    return true;
}

QvTree* QvTree::AddChild(const QvTree& templ)
{
    auto owned = std::make_unique<QvTree>();
    QvTree* child = owned.get();
    child->m_pParent = this;
    child->m_nLevel = m_nLevel + 1;
    child->m_item.m_nKind = templ.m_item.m_nKind;
    child->m_item.m_strText3 = templ.m_item.m_strText3;
    child->m_item.m_strText2 = templ.m_item.m_strText2;
    child->m_bFixedLayout = m_bFixedLayout;
    child->SetText(templ.GetText());
    child->m_strKey = templ.m_strKey;
    child->m_nNumber = templ.m_nNumber >= 1 ? templ.m_nNumber : m_nNumber;
    child->m_pChart = m_pChart;
    if (!child->m_strKey.isEmpty() && m_pChart)
        m_pChart->RegisterNode(child->m_strKey, child);

    QvTree* previous = m_children.empty() ? nullptr : m_children.back().get();
    if (previous) {
        child->m_pPrev = previous;
        previous->m_pNext = child;
    }
    if (!m_bFixedLayout) {
        child->m_nWidth = templ.m_nWidth;
        child->m_nTop = m_nBottom;
        child->m_nBottom = m_nBottom + templ.m_nHeight;
        child->m_nLeft = previous ? previous->m_nRight : m_nLeft;
        child->m_nRight = child->m_nLeft + templ.m_nWidth;
    }
    child->m_nHeight = templ.m_nHeight;
    child->m_nSavedHeight = templ.m_nHeight;
    m_children.push_back(std::move(owned));
    return child;
}

bool QvTree::SetLevelTexts(int depth, QvTree* node, const QStringList& texts, qsizetype& position)
{
    if (!node || position >= texts.size() || depth < node->m_nLevel)
        return false;
    if (depth == node->m_nLevel) {
        node->SetText(texts.at(position++));
        return true;
    }
    for (const auto& child : node->m_children)
        SetLevelTexts(depth, child.get(), texts, position);
    return true;
}

QvTree* QvTree::HitTest(int x, int y, bool& hit)
{
    QvTree* found = nullptr;
    WalkPreOrder(this, [&](QvTree* node) {
        if (node->m_nTop < y && y < node->m_nBottom
            && ((node->m_nLeft < x && x < node->m_nRight) || !node->m_bFixedLayout))
            found = node;
        return !found;
    });
    hit = found != nullptr;
    return found;
}

void QvTree::SetSubtreeVisible(QvTree* node, bool visible)
{
    // Parents come before their children, so a child sees its parent's new
    // visibility.
    WalkPreOrder(node, [node, visible](QvTree* child) {
        if (child != node) {
            child->m_bVisible = visible;
            if (child->m_pParent->m_bVisible && visible && child->m_nHeight == 0)
                child->m_nHeight = child->m_nSavedHeight;
        }
        return true;
    });
}

int QvTree::ToggleExpanded()
{
    m_bExpanded = !m_bExpanded;
    if (m_bExpanded) {
        for (const auto& child : m_children)
            child->m_nHeight = child->m_nSavedHeight;
    }
    return 1;
}

void QvTree::ClearItems()
{
    m_items.clear();
}

void QvTree::DestroyChildren()
{
    if (m_pChart)
        m_pChart->ForgetSubtree(this);
    Dispose(m_children);
}

void QvTree::Clear()
{
    ClearItems();
    DestroyChildren();
    if (m_pChart)
        m_pChart->ClearNodeMap();
}

bool QvTree::IsWithin(const QvTree* other) const
{
    for (const QvTree* node = this; node; node = node->m_pParent) {
        if (node == other)
            return true;
    }
    return false;
}
