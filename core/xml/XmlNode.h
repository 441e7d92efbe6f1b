#pragma once

#include <QString>

#include <pugixml.hpp>

#include <memory>
#include <vector>

class CXmlNode;
class CXmlNodes;

// Every operation that yields a node or a node list hands out one of these,
// never an empty pointer: a miss is a pointer to a null node or list.
using CXmlNodePtr = std::shared_ptr<CXmlNode>;
using CXmlNodesPtr = std::shared_ptr<CXmlNodes>;

// The parsed tree a node belongs to. Every node and list shares it, so a node
// stays valid after its CXmlDocument is closed, reloaded or destroyed.
using XmlTreePtr = std::shared_ptr<pugi::xml_document>;

// One node of a parsed document, kept by value. A node without a tree is the
// null node; every read on it gives the empty result (false, "", 0, null).
// An XPath match can be an attribute: it then gives its name, text and XML,
// and has no parent, children or attributes of its own.
class CXmlNode
{
public:
    CXmlNode() = default;
    CXmlNode(XmlTreePtr tree, pugi::xml_node node);
    CXmlNode(XmlTreePtr tree, const pugi::xpath_node& match);
    CXmlNode(const CXmlNodePtr& node); // NOLINT: nodes are taken from pointers freely

    bool IsNull() const;

    // First element child with this local name; when there is none and create
    // is set, a new empty element appended as the last child.
    CXmlNodePtr GetChild(const QString& name, bool create = false) const;
    CXmlNodePtr GetParent() const;
    // The element children (text, comments and instructions skipped).
    CXmlNodesPtr GetChildren() const;
    // First node matching an XPath 1.0 expression relative to this node; a
    // malformed expression is a miss.
    CXmlNodePtr SelectSingleNode(const QString& xpath) const;

    QString GetName() const;
    // The text of the node and all its descendants, concatenated.
    bool GetText(QString& text) const;
    // The text as an integer (leading-number rules); an empty text is first
    // replaced in the tree by the default.
    int GetTextInt(int defaultValue);
    // The node with its subtree as XML text.
    QString GetXml() const;

    // True with the value, or with an empty value when the attribute is
    // missing; false on a null node or a node that holds no attributes.
    bool ReadAttribute(const QString& name, QString& value) const;
    // The value; an empty or missing attribute gives the default.
    QString GetAttribute(const QString& name, const QString& defaultValue = QString()) const;
    int GetAttributeInt(const QString& name, int defaultValue) const;
    // "1" true, "0" false, anything else the default.
    bool GetAttributeBool(const QString& name, bool defaultValue) const;

private:
    CXmlNodePtr Wrap(pugi::xml_node node) const;

    XmlTreePtr m_tree;
    pugi::xml_node m_node;
    pugi::xml_attribute m_attribute;
};

// A list of nodes of one tree, kept by value. A list without a tree is null.
class CXmlNodes
{
public:
    CXmlNodes() = default;
    CXmlNodes(XmlTreePtr tree, std::vector<pugi::xml_node> nodes);
    CXmlNodes(const CXmlNodesPtr& nodes); // NOLINT: lists are taken from pointers freely

    bool IsNull() const;
    int GetCount() const;
    // The node at a 0-based index; a null node outside the list.
    CXmlNodePtr GetItem(int index) const;
    CXmlNodePtr operator[](int index) const { return GetItem(index); }

private:
    XmlTreePtr m_tree;
    std::vector<pugi::xml_node> m_nodes;
};
