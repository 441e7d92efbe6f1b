#include "web/HtmlElementCollection.h"

#include "web/HtmlTag.h"

namespace {

constexpr int kRoot = 0;

bool SameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

CHtmlElementCollection::CHtmlElementCollection()
{
    SetFilter(QString(), QString(), QString());
}

void CHtmlElementCollection::SetFilter(const QString& tagName, const QString& attributeName,
                                       const QString& attributeValue)
{
    m_strTagFilter = tagName;
    m_strAttributeNameFilter = attributeName;
    m_strAttributeValueFilter = attributeValue;
    m_nodes.clear();
    HTMLElement root;
    root.m_strName = QStringLiteral("Root");
    m_nodes.push_back({root, -1, {}});
    m_nCurrent = kRoot;
    m_nElementCount = 0;
    m_passing.clear();
}

void CHtmlElementCollection::SetPageText(const QString& page)
{
    m_strPage = page;
}

int CHtmlElementCollection::IsExcluded(const CLiteHTMLTag& tag) const
{
    if (m_strTagFilter.isEmpty())
        return 0;
    if (!tag.m_strTagName.isEmpty() && !SameText(tag.m_strTagName, m_strTagFilter))
        return 1;
    if (m_strAttributeNameFilter.isEmpty())
        return 0;
    if (tag.m_attributes.GetCount() == 0)
        return 1;
    const CLiteHTMLElemAttr& first = tag.m_attributes.GetAttribute(0);
    if (!SameText(first.m_strName, m_strAttributeNameFilter))
        return 1;
    if (m_strAttributeValueFilter.isEmpty() || SameText(first.m_strValue, m_strAttributeValueFilter))
        return 0;
    return 1;
}

bool CHtmlElementCollection::GetElementText(int index, QString& text, bool inner) const
{
    if (index < 0 || index >= static_cast<int>(m_passing.size()))
        return false;
    const HTMLElement& element = m_nodes[m_passing[index]].element;
    qsizetype begin = element.m_nStartTagBegin;
    qsizetype end = element.m_nStartTagEnd;
    if (element.m_bClosed) {
        begin = inner ? element.m_nStartTagEnd : element.m_nStartTagBegin;
        end = inner ? element.m_nEndTagBegin : element.m_nEndTagEnd;
    }
    text = m_strPage.mid(begin, end - begin);
    return true;
}

bool CHtmlElementCollection::GetElementOuter(int index, QString& text) const
{
    return GetElementText(index, text, false);
}

bool CHtmlElementCollection::GetElementInner(int index, QString& text) const
{
    return GetElementText(index, text, true);
}

int CHtmlElementCollection::GetElementCount() const
{
    return m_nElementCount;
}

int CHtmlElementCollection::GetPassingCount() const
{
    return static_cast<int>(m_passing.size());
}

void CHtmlElementCollection::OnBeginParse(quintptr, bool&)
{
}

void CHtmlElementCollection::OnStartTag(const CLiteHTMLTag& tag, quintptr, bool&)
{
    HTMLElement element;
    element.m_strName = tag.m_strTagName;
    element.m_nStartTagBegin = tag.m_nBegin;
    element.m_nStartTagEnd = tag.m_nEnd;
    element.m_bExcluded = IsExcluded(tag) != 0;
    const int node = static_cast<int>(m_nodes.size());
    m_nodes.push_back({std::move(element), m_nCurrent, {}});
    m_nodes[m_nCurrent].children.push_back(node);
    m_nCurrent = node;
}

void CHtmlElementCollection::OnEndTag(const CLiteHTMLTag& tag, quintptr, bool&)
{
    CloseElement(tag);
}

void CHtmlElementCollection::OnCharacters(const QString&, quintptr, bool&)
{
}

void CHtmlElementCollection::OnComment(const QString&, quintptr, bool&)
{
}

void CHtmlElementCollection::OnEndParse(quintptr, bool)
{
    // Nodes are stored in document order, so one pass over the array walks
    // the tree depth first, parents before their children.
    m_nElementCount = static_cast<int>(m_nodes.size()) - 1;
    m_passing.clear();
    for (int node = kRoot + 1; node < static_cast<int>(m_nodes.size()); ++node) {
        if (!m_nodes[node].element.m_bExcluded)
            m_passing.push_back(node);
    }
}

void CHtmlElementCollection::CloseElement(const CLiteHTMLTag& tag)
{
    // The still-open element of that name nearest the current node: among
    // the siblings of the current node first, then one level up each time.
    int node = m_nCurrent;
    for (;;) {
        const int searched = node == kRoot ? kRoot : m_nodes[node].parent;
        const std::vector<int>& children = m_nodes[searched].children;
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            HTMLElement& element = m_nodes[*child].element;
            if (!element.m_bClosed && SameText(element.m_strName, tag.m_strTagName)) {
                element.m_nEndTagBegin = tag.m_nBegin;
                element.m_nEndTagEnd = tag.m_nEnd;
                element.m_bClosed = true;
                m_nCurrent = searched;
                return;
            }
        }
        if (searched == kRoot)
            return;
        node = searched;
    }
}
