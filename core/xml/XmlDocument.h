#pragma once

#include "xml/XmlNode.h"

#include <QString>

// One parsed XML document. It only reads: the one change it makes is through
// its nodes (GetChild with create, GetTextInt writing its default back).
class CXmlDocument
{
public:
    // Releases the tree; nodes handed out before keep theirs.
    void Close();
    // A fresh, empty tree in place of the current one.
    bool CreateDom();
    // A fresh tree parsed from the text. True only for a well-formed document
    // with exactly one root element; otherwise false and an empty tree.
    bool LoadXml(const QString& text);

    // The root element; a null node when there is none.
    CXmlNodePtr GetRoot() const;
    // The root's SelectSingleNode: a path beginning with "//" searches the
    // whole document, a relative one starts at the root element.
    CXmlNodePtr SelectSingleNode(const QString& xpath) const;

private:
    XmlTreePtr m_tree;
};
