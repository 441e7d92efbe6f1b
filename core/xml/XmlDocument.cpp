#include "xml/XmlDocument.h"

#include <string_view>
#include <unordered_set>

namespace {

// The parser keeps text beside the root only when parsing a fragment, so a
// fragment parse plus this check is what tells a document from two roots or
// trailing text.
bool HasSingleRoot(const pugi::xml_document& tree)
{
    int elements = 0;
    for (pugi::xml_node child : tree.children()) {
        if (child.type() == pugi::node_element)
            ++elements;
        else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            return false;
    }
    return elements == 1;
}

bool HasRepeatedAttribute(pugi::xml_node element)
{
    if (!element.first_attribute() || !element.first_attribute().next_attribute())
        return false;
    std::unordered_set<std::string_view> names;
    for (pugi::xml_attribute attribute : element.attributes()) {
        if (!names.insert(attribute.name()).second)
            return true;
    }
    return false;
}

// The parser does not look for an attribute given twice on one element. The
// walk is iterative so that deeply nested input cannot exhaust the stack.
bool AnyRepeatedAttribute(const pugi::xml_document& tree)
{
    const pugi::xml_node top = tree;
    pugi::xml_node current = top.first_child();
    while (current) {
        if (current.type() == pugi::node_element && HasRepeatedAttribute(current))
            return true;
        if (current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current && current != top && !current.next_sibling())
            current = current.parent();
        current = current == top ? pugi::xml_node() : current.next_sibling();
    }
    return false;
}

} // namespace

void CXmlDocument::Close()
{
    m_tree.reset();
}

bool CXmlDocument::CreateDom()
{
    Close();
    m_tree = std::make_shared<pugi::xml_document>();
    return true;
}

bool CXmlDocument::LoadXml(const QString& text)
{
    CreateDom();
    const QByteArray utf8 = text.toUtf8();
    const pugi::xml_parse_result result =
        m_tree->load_buffer(utf8.constData(), static_cast<size_t>(utf8.size()),
                            pugi::parse_default | pugi::parse_fragment, pugi::encoding_utf8);
    if (result && HasSingleRoot(*m_tree) && !AnyRepeatedAttribute(*m_tree))
        return true;
    m_tree->reset();
    return false;
}

CXmlNodePtr CXmlDocument::GetRoot() const
{
    if (!m_tree)
        return std::make_shared<CXmlNode>();
    return std::make_shared<CXmlNode>(m_tree, m_tree->document_element());
}

CXmlNodePtr CXmlDocument::SelectSingleNode(const QString& xpath) const
{
    const CXmlNode root = GetRoot();
    return root.IsNull() ? std::make_shared<CXmlNode>() : root.SelectSingleNode(xpath);
}
