#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

CXmlNode Root(const CXmlDocument& doc)
{
    return doc.GetRoot();
}

CXmlNode Load(CXmlDocument& doc, const QString& text)
{
    EXPECT_TRUE(doc.LoadXml(text)) << text.toStdString();
    return doc.GetRoot();
}

} // namespace

class XmlLoadRejects : public ::testing::TestWithParam<const char*>
{
};

TEST_P(XmlLoadRejects, FailsAndLeavesNoRoot)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadXml("<old/>"));
    EXPECT_FALSE(doc.LoadXml(QString::fromUtf8(GetParam())));
    EXPECT_TRUE(Root(doc).IsNull());
    EXPECT_TRUE(CXmlNode(doc.SelectSingleNode("//old")).IsNull());
}

INSTANTIATE_TEST_SUITE_P(Malformed, XmlLoadRejects,
                         ::testing::Values("", "   ", "plain text", "<a>", "<a></b>", "<a/><b/>",
                                           "<a/>tail", "<a x='1' x='2'/>", "<?xml version='1.0'?>",
                                           "<a><!-- open </a>"));

TEST(XmlDocument, ParsesWideTextWhateverItsDeclarationSays)
{
    CXmlDocument doc;
    const CXmlNode root = Load(doc, QStringLiteral("<?xml version='1.0' encoding='gb2312'?>"
                                                   "<html title='入库单'>明细</html>"));
    EXPECT_EQ(root.GetName(), "html");
    EXPECT_EQ(root.GetAttribute("title"), QStringLiteral("入库单"));
    QString text;
    ASSERT_TRUE(root.GetText(text));
    EXPECT_EQ(text, QStringLiteral("明细"));
}

TEST(XmlDocument, NodesOutliveTheirDocument)
{
    CXmlNode head;
    CXmlNodes children;
    {
        CXmlDocument doc;
        Load(doc, "<html><head title='t'><a/><b/></head></html>");
        head = doc.SelectSingleNode("//html/head");
        children = head.GetChildren();
        ASSERT_TRUE(doc.LoadXml("<other/>")); // a reload leaves the old tree to its nodes
        doc.Close();
    }
    EXPECT_EQ(head.GetAttribute("title"), "t");
    EXPECT_EQ(CXmlNode(head.GetParent()).GetName(), "html");
    ASSERT_EQ(children.GetCount(), 2);
    EXPECT_EQ(CXmlNode(children[1]).GetName(), "b");
    EXPECT_EQ(CXmlNode(head.GetChild("c", true)).GetXml(), "<c/>");
}

TEST(XmlDocument, SelectionFromTheDocumentStartsAtTheRoot)
{
    CXmlDocument doc;
    Load(doc, "<html id='0'><body><dialog><button id='3'/></dialog></body>"
              "<popup><html id='5'><body/></html></popup></html>");
    EXPECT_EQ(CXmlNode(doc.SelectSingleNode("//button")).GetAttributeInt("id", -1), 3);
    EXPECT_EQ(CXmlNode(doc.SelectSingleNode("popup/html")).GetAttribute("id"), "5");
    EXPECT_EQ(CXmlNode(doc.SelectSingleNode("//html[@id=5]/body")).GetName(), "body");
    EXPECT_TRUE(CXmlNode(doc.SelectSingleNode("dialog")).IsNull()); // relative to html, not body
    EXPECT_TRUE(CXmlNode(doc.SelectSingleNode("//html[@id='")).IsNull()); // malformed path
    EXPECT_TRUE(CXmlNode(doc.SelectSingleNode("$undefined")).IsNull());

    const CXmlNode id = doc.SelectSingleNode("//button/@id");
    ASSERT_FALSE(id.IsNull());
    EXPECT_EQ(id.GetName(), "id");
    QString text;
    ASSERT_TRUE(id.GetText(text));
    EXPECT_EQ(text, "3");
    EXPECT_EQ(id.GetXml(), "id=\"3\"");
}

TEST(XmlDocument, EmptyDocumentGivesNullNodes)
{
    CXmlDocument doc;
    EXPECT_TRUE(Root(doc).IsNull());
    ASSERT_TRUE(doc.CreateDom());
    EXPECT_TRUE(Root(doc).IsNull());
    EXPECT_TRUE(CXmlNode(doc.SelectSingleNode("//x")).IsNull());
}

TEST(XmlNode, NullNodeGivesEmptyResults)
{
    CXmlNode node;
    QString text = "kept";
    EXPECT_TRUE(node.IsNull());
    EXPECT_FALSE(node.GetText(text));
    EXPECT_FALSE(node.ReadAttribute("x", text));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(node.GetAttribute("x", "5"), "5");
    EXPECT_EQ(node.GetAttributeInt("x", 9), 9);
    EXPECT_TRUE(node.GetName().isEmpty());
    EXPECT_TRUE(node.GetXml().isEmpty());
    EXPECT_TRUE(CXmlNode(node.GetChild("x", true)).IsNull());
    EXPECT_TRUE(CXmlNode(node.GetParent()).IsNull());
    EXPECT_TRUE(CXmlNode(node.SelectSingleNode("//x")).IsNull());
    const CXmlNodes list = node.GetChildren();
    EXPECT_TRUE(list.IsNull());
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(CXmlNode(list.GetItem(0)).IsNull());
    CXmlNodePtr none;
    EXPECT_TRUE(CXmlNode(none).IsNull());
}

TEST(XmlNode, AttributesTakeTheirDefaults)
{
    CXmlDocument doc;
    const CXmlNode node = Load(doc, "<e empty='' n='42abc' letters='abc' neg=' -7'/>");
    EXPECT_EQ(node.GetAttribute("missing", "5"), "5");
    EXPECT_EQ(node.GetAttribute("empty", "5"), "5");
    EXPECT_EQ(node.GetAttribute("missing"), "");
    EXPECT_EQ(node.GetAttribute("empty"), "");
    QString value = "stale";
    EXPECT_TRUE(node.ReadAttribute("missing", value));
    EXPECT_TRUE(value.isEmpty());

    EXPECT_EQ(node.GetAttributeInt("n", 1), 42);
    EXPECT_EQ(node.GetAttributeInt("letters", 1), 0);
    EXPECT_EQ(node.GetAttributeInt("neg", 1), -7);
    EXPECT_EQ(node.GetAttributeInt("missing", 8), 8);
    EXPECT_EQ(node.GetAttributeInt("empty", 8), 8);
}

TEST(XmlNode, BooleanAttributeIsOnlyOneOrZero)
{
    struct Case { const char* value; bool expected; };
    const Case cases[] = {{"1", true}, {"0", false}, {"TRUE", true}, {"yes", true}, {"2", true}, {"", true}};
    for (const Case& c : cases) {
        CXmlDocument doc;
        const CXmlNode node = Load(doc, QStringLiteral("<e b='%1'/>").arg(QString::fromUtf8(c.value)));
        EXPECT_EQ(node.GetAttributeBool("b", true), c.expected) << c.value;
        if (QByteArray(c.value) != "1") {
            EXPECT_FALSE(node.GetAttributeBool("b", false)) << c.value;
        }
    }
}

TEST(XmlNode, TextIntWritesItsDefaultBack)
{
    CXmlDocument doc;
    Load(doc, "<r><empty/><num>12px</num><nested><a>3</a><b>4</b></nested></r>");
    CXmlNode empty = doc.SelectSingleNode("empty");
    EXPECT_EQ(empty.GetTextInt(7), 7);
    EXPECT_EQ(empty.GetXml(), "<empty>7</empty>");
    EXPECT_EQ(CXmlNode(doc.GetRoot()).GetXml(),
              "<r><empty>7</empty><num>12px</num><nested><a>3</a><b>4</b></nested></r>");

    CXmlNode num = doc.SelectSingleNode("num");
    EXPECT_EQ(num.GetTextInt(7), 12);
    CXmlNode nested = doc.SelectSingleNode("nested");
    EXPECT_EQ(nested.GetTextInt(0), 34); // the text of all descendants
}

TEST(XmlNode, ChildrenAreElementsOnly)
{
    CXmlDocument doc;
    const CXmlNode root = Load(doc, "<r>text<a/><!-- note --><?pi x?><p:b/><![CDATA[c]]><c/></r>");
    const CXmlNodes children = root.GetChildren();
    ASSERT_FALSE(children.IsNull());
    ASSERT_EQ(children.GetCount(), 3);
    EXPECT_EQ(CXmlNode(children.GetItem(0)).GetName(), "a");
    EXPECT_EQ(CXmlNode(children[1]).GetName(), "p:b");
    EXPECT_EQ(CXmlNode(children[2]).GetName(), "c");
    EXPECT_TRUE(CXmlNode(children.GetItem(children.GetCount())).IsNull());
    EXPECT_TRUE(CXmlNode(children.GetItem(-1)).IsNull());
    EXPECT_EQ(CXmlNodes(CXmlNode(children[0]).GetChildren()).GetCount(), 0);
}

TEST(XmlNode, GetChildFindsByLocalNameAndCreatesOnRequest)
{
    CXmlDocument doc;
    CXmlNode root = Load(doc, "<html><p:body id='1'/><body id='2'/></html>");
    EXPECT_EQ(CXmlNode(root.GetChild("body")).GetAttribute("id"), "1");
    EXPECT_TRUE(CXmlNode(root.GetChild("dialog")).IsNull());
    EXPECT_TRUE(CXmlNode(root.GetChild("it's")).IsNull());

    const CXmlNode made = root.GetChild("dialog", true);
    ASSERT_FALSE(made.IsNull());
    EXPECT_EQ(CXmlNode(root.GetChild("dialog")).GetXml(), made.GetXml());
    EXPECT_EQ(CXmlNodes(root.GetChildren()).GetCount(), 3);
    EXPECT_EQ(root.GetXml(), "<html><p:body id=\"1\"/><body id=\"2\"/><dialog/></html>");

    for (const char* bad : {"", "a b", "1a", "a<b", "it's"})
        EXPECT_TRUE(CXmlNode(root.GetChild(bad, true)).IsNull()) << bad;
    EXPECT_EQ(CXmlNodes(root.GetChildren()).GetCount(), 3);
}
