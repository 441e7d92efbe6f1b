#include "web/HtmlElementCollection.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Reads the page into a collection with the given filter.
class HtmlPage
{
public:
    HtmlPage(const QString& page, const QString& tag = QString(), const QString& attribute = QString(),
             const QString& value = QString())
    {
        m_elements.SetFilter(tag, attribute, value);
        m_elements.SetPageText(page);
        CLiteHTMLReader reader;
        reader.SetEventHandler(&m_elements);
        reader.Read(page);
    }

    QString Inner(int index) const { return Text(index, true); }
    QString Outer(int index) const { return Text(index, false); }

    CHtmlElementCollection m_elements;

private:
    QString Text(int index, bool inner) const
    {
        QString text = "<none>";
        m_elements.GetElementText(index, text, inner);
        return text;
    }
};

TEST(HtmlElementCollectionTest, FilterOnTagAndFirstAttribute)
{
    const QString page =
        "<div class=main>A</div><DIV CLASS='MAIN'>B</DIV><div id=x class=main>C</div>"
        "<div class=side>D</div><span class=main>E</span><div>F</div>";
    HtmlPage filtered(page, "div", "class", "main");
    EXPECT_EQ(filtered.m_elements.GetElementCount(), 6);
    EXPECT_EQ(filtered.m_elements.GetPassingCount(), 2);
    EXPECT_EQ(filtered.Inner(0), "A");
    EXPECT_EQ(filtered.Inner(1), "B");
    EXPECT_EQ(filtered.Inner(2), "<none>");

    EXPECT_EQ(HtmlPage(page, "div", "class").m_elements.GetPassingCount(), 3);
    EXPECT_EQ(HtmlPage(page, "div").m_elements.GetPassingCount(), 5);
    EXPECT_EQ(HtmlPage(page).m_elements.GetPassingCount(), 6);
}

TEST(HtmlElementCollectionTest, InnerAndOuterText)
{
    HtmlPage page("<ul><li>one</li><li>t<b>w</b>o</li></ul>", "li");
    ASSERT_EQ(page.m_elements.GetPassingCount(), 2);
    EXPECT_EQ(page.Inner(1), "t<b>w</b>o");
    EXPECT_EQ(page.Outer(1), "<li>t<b>w</b>o</li>");
    QString untouched = "keep";
    EXPECT_FALSE(page.m_elements.GetElementInner(-1, untouched));
    EXPECT_FALSE(page.m_elements.GetElementOuter(2, untouched));
    EXPECT_EQ(untouched, "keep");
}

TEST(HtmlElementCollectionTest, UnclosedAndMismatchedTags)
{
    // The second p is a child of the first; the end tag closes the second.
    HtmlPage nested("<p>one<p>two</p>", "p");
    EXPECT_EQ(nested.Inner(0), "<p>");
    EXPECT_EQ(nested.Outer(0), "<p>");
    EXPECT_EQ(nested.Inner(1), "two");

    // An end tag closes the nearest open element of its name further up,
    // leaving those inside it open; stray end tags change nothing.
    HtmlPage mismatched("</x><div><span>a<i>b</div>c</span></div>", "");
    ASSERT_EQ(mismatched.m_elements.GetElementCount(), 3);
    EXPECT_EQ(mismatched.Inner(0), "<span>a<i>b");
    EXPECT_EQ(mismatched.Inner(1), "<span>");
    EXPECT_EQ(mismatched.Inner(2), "<i>");

    // Document order: parents before their children, children in order.
    HtmlPage order("<a><b><c></c></b><d></d></a><e></e>");
    QStringList names;
    for (int i = 0; i < order.m_elements.GetPassingCount(); ++i)
        names << order.Outer(i).mid(1, 1);
    EXPECT_EQ(names, QStringList({"a", "b", "c", "d", "e"}));
}

TEST(HtmlElementCollectionTest, SetFilterEmptiesTheTree)
{
    HtmlPage page("<b>x</b>");
    page.m_elements.SetFilter("b", "", "");
    EXPECT_EQ(page.m_elements.GetPassingCount(), 0);
    EXPECT_EQ(page.m_elements.GetElementCount(), 0);
}

TEST(HtmlElementCollectionTest, DeepAndWidePagesNeedNoRecursion)
{
    const int depth = 100000;
    QString unclosed;
    for (int i = 0; i < depth; ++i)
        unclosed += "<div>";
    HtmlPage deep(unclosed + "x", "div");
    EXPECT_EQ(deep.m_elements.GetPassingCount(), depth);
    EXPECT_EQ(deep.Inner(depth - 1), "<div>");

    HtmlPage closed(unclosed + "x" + QString("</div>").repeated(depth), "div");
    EXPECT_EQ(closed.Inner(depth - 1), "x");
    EXPECT_EQ(closed.Outer(depth - 2), "<div><div>x</div></div>");
}

} // namespace
