#pragma once

#include "web/HtmlReader.h"

#include <QString>
#include <vector>

// One element of a page: positions point into the page text.
struct HTMLElement
{
    QString m_strName;
    qsizetype m_nStartTagBegin = 0; // the start tag's "<"
    qsizetype m_nStartTagEnd = 0;   // just after its ">"
    qsizetype m_nEndTagBegin = 0;   // the end tag's "<"
    qsizetype m_nEndTagEnd = 0;     // just after its ">"
    bool m_bClosed = false;         // an end tag was matched
    bool m_bExcluded = false;       // the start tag failed the filter
};

// Builds the element tree of a page from the reader's events and picks the
// elements that pass a filter of tag name, first attribute's name and value.
// The tree lives in one array in document order (a node's children follow
// it), so walking and freeing it needs no recursion however deep the page.
class CHtmlElementCollection : public ILiteHTMLReaderEvents
{
public:
    CHtmlElementCollection();

    // Stores the filter and empties the tree; called before each reading.
    void SetFilter(const QString& tagName, const QString& attributeName,
                   const QString& attributeValue);

    // The page the elements' positions point into; kept as a shared copy.
    void SetPageText(const QString& page);

    // 0 when the tag passes the filter, 1 when not.
    int IsExcluded(const CLiteHTMLTag& tag) const;

    // The inner or outer text of the index-th passing element in document
    // order; an element never closed gives its start tag. False, and text
    // untouched, for an index out of range.
    bool GetElementText(int index, QString& text, bool inner) const;
    bool GetElementOuter(int index, QString& text) const;
    bool GetElementInner(int index, QString& text) const;

    int GetElementCount() const;
    int GetPassingCount() const;

    void OnBeginParse(quintptr userValue, bool& stop) override;
    void OnStartTag(const CLiteHTMLTag& tag, quintptr userValue, bool& stop) override;
    void OnEndTag(const CLiteHTMLTag& tag, quintptr userValue, bool& stop) override;
    void OnCharacters(const QString& text, quintptr userValue, bool& stop) override;
    void OnComment(const QString& comment, quintptr userValue, bool& stop) override;
    void OnEndParse(quintptr userValue, bool stopped) override;

private:
    struct Node
    {
        HTMLElement element;
        int parent;               // -1 for the root
        std::vector<int> children;
    };

    void CloseElement(const CLiteHTMLTag& tag);

    QString m_strTagFilter;
    QString m_strAttributeNameFilter;
    QString m_strAttributeValueFilter;
    QString m_strPage;
    std::vector<Node> m_nodes; // the root first
    int m_nCurrent = 0;
    int m_nElementCount = 0;
    std::vector<int> m_passing; // nodes of the passing elements, in document order
};
