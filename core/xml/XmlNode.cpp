#include "xml/XmlNode.h"

#include "text/TextSplit.h"

#include <sstream>

namespace {

QString FromPugi(const pugi::char_t* text)
{
    return QString::fromUtf8(text);
}

// The names an element can be created with: a letter, "_" or ":" (or any
// non-ASCII character) first, then also digits, "-" and ".". Anything else
// would make the tree print as text that no longer parses.
bool IsElementName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool start = c.isLetter() || c == u'_' || c == u':' || c.unicode() > 0x7F;
        const bool inner = c.isDigit() || c == u'-' || c == u'.';
        if (!start && !(i > 0 && inner))
            return false;
    }
    return true;
}

QString LocalName(const pugi::char_t* name)
{
    const QString full = FromPugi(name);
    const qsizetype colon = full.indexOf(u':');
    return colon < 0 ? full : full.mid(colon + 1);
}

// Text of a node and its descendants in document order, walked without
// recursion so that deeply nested input cannot exhaust the stack.
QString ConcatenatedText(pugi::xml_node node)
{
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return FromPugi(node.value());
    QByteArray text;
    pugi::xml_node current = node.first_child();
    while (current && current != node) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata)
            text += current.value();
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling())
            current = current.parent();
        if (current != node)
            current = current.next_sibling();
    }
    return QString::fromUtf8(text);
}

} // namespace

CXmlNode::CXmlNode(XmlTreePtr tree, pugi::xml_node node)
    : m_tree(node ? std::move(tree) : nullptr), m_node(m_tree ? node : pugi::xml_node())
{
}

CXmlNode::CXmlNode(XmlTreePtr tree, const pugi::xpath_node& match)
    : m_tree(match ? std::move(tree) : nullptr),
      m_node(m_tree ? match.node() : pugi::xml_node()),
      m_attribute(m_tree ? match.attribute() : pugi::xml_attribute())
{
}

CXmlNode::CXmlNode(const CXmlNodePtr& node)
{
    if (node)
        *this = *node;
}

bool CXmlNode::IsNull() const
{
    return !m_tree || (!m_node && !m_attribute);
}

CXmlNodePtr CXmlNode::Wrap(pugi::xml_node node) const
{
    return std::make_shared<CXmlNode>(m_tree, node);
}

CXmlNodePtr CXmlNode::GetChild(const QString& name, bool create) const
{
    if (!m_tree || !m_node)
        return Wrap({});
    for (pugi::xml_node child : m_node.children()) {
        if (child.type() == pugi::node_element && LocalName(child.name()) == name)
            return Wrap(child);
    }
    if (!create || !IsElementName(name))
        return Wrap({});
    pugi::xml_node parent = m_node; // a handle: the tree it points into is shared, not this node
    return Wrap(parent.append_child(name.toUtf8().constData()));
}

CXmlNodePtr CXmlNode::GetParent() const
{
    return Wrap(m_tree && m_node ? m_node.parent() : pugi::xml_node());
}

CXmlNodesPtr CXmlNode::GetChildren() const
{
    if (!m_tree || !m_node)
        return std::make_shared<CXmlNodes>();
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node child : m_node.children()) {
        if (child.type() == pugi::node_element)
            elements.push_back(child);
    }
    return std::make_shared<CXmlNodes>(m_tree, std::move(elements));
}

CXmlNodePtr CXmlNode::SelectSingleNode(const QString& xpath) const
{
    if (!m_tree || !m_node)
        return Wrap({});
    try {
        const pugi::xpath_query query(xpath.toUtf8().constData());
        return std::make_shared<CXmlNode>(m_tree, query.evaluate_node(m_node));
    } catch (const std::exception&) {
        return Wrap({});
    }
}

QString CXmlNode::GetName() const
{
    if (IsNull())
        return QString();
    if (m_attribute)
        return FromPugi(m_attribute.name());
    switch (m_node.type()) {
    case pugi::node_pcdata:
        return QStringLiteral("#text");
    case pugi::node_cdata:
        return QStringLiteral("#cdata-section");
    case pugi::node_comment:
        return QStringLiteral("#comment");
    case pugi::node_document:
        return QStringLiteral("#document");
    default:
        return FromPugi(m_node.name());
    }
}

bool CXmlNode::GetText(QString& text) const
{
    if (IsNull())
        return false;
    text = m_attribute ? FromPugi(m_attribute.value()) : ConcatenatedText(m_node);
    return true;
}

int CXmlNode::GetTextInt(int defaultValue)
{
    QString text;
    GetText(text);
    if (text.isEmpty() && !IsNull()) {
        text = QString::number(defaultValue);
        if (m_attribute) {
            m_attribute.set_value(text.toUtf8().constData());
            return defaultValue;
        }
        while (m_node.first_child())
            m_node.remove_child(m_node.first_child());
        m_node.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
    }
    return TextToInt(text);
}

QString CXmlNode::GetXml() const
{
    if (IsNull())
        return QString();
    if (m_attribute) {
        return QStringLiteral("%1=\"%2\"").arg(FromPugi(m_attribute.name()),
                                              FromPugi(m_attribute.value()).toHtmlEscaped());
    }
    std::ostringstream out;
    m_node.print(out, "", pugi::format_raw);
    return QString::fromStdString(out.str());
}

bool CXmlNode::ReadAttribute(const QString& name, QString& value) const
{
    if (IsNull() || m_node.type() != pugi::node_element)
        return false;
    value = FromPugi(m_node.attribute(name.toUtf8().constData()).value());
    return true;
}

QString CXmlNode::GetAttribute(const QString& name, const QString& defaultValue) const
{
    QString value;
    ReadAttribute(name, value);
    return value.isEmpty() && !defaultValue.isNull() ? defaultValue : value;
}

int CXmlNode::GetAttributeInt(const QString& name, int defaultValue) const
{
    QString value;
    ReadAttribute(name, value);
    return value.isEmpty() ? defaultValue : TextToInt(value);
}

bool CXmlNode::GetAttributeBool(const QString& name, bool defaultValue) const
{
    QString value;
    ReadAttribute(name, value);
    if (value == u"1")
        return true;
    if (value == u"0")
        return false;
    return defaultValue;
}

CXmlNodes::CXmlNodes(XmlTreePtr tree, std::vector<pugi::xml_node> nodes)
    : m_tree(std::move(tree)), m_nodes(std::move(nodes))
{
}

CXmlNodes::CXmlNodes(const CXmlNodesPtr& nodes)
{
    if (nodes)
        *this = *nodes;
}

bool CXmlNodes::IsNull() const
{
    return !m_tree;
}

int CXmlNodes::GetCount() const
{
    return static_cast<int>(m_nodes.size());
}

CXmlNodePtr CXmlNodes::GetItem(int index) const
{
    if (index < 0 || index >= GetCount())
        return std::make_shared<CXmlNode>();
    return std::make_shared<CXmlNode>(m_tree, m_nodes[static_cast<size_t>(index)]);
}
