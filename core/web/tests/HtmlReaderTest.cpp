#include "web/HtmlEntityResolver.h"
#include "web/HtmlReader.h"
#include "web/HtmlTag.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Writes every event as one line, e.g. "start:p", "chars:Hi", "end:p".
class EventRecorder : public ILiteHTMLReaderEvents
{
public:
    void OnBeginParse(quintptr, bool& stop) override
    {
        events << "begin";
        stop = false;
    }
    void OnStartTag(const CLiteHTMLTag& tag, quintptr, bool& stop) override
    {
        events << "start:" + tag.m_strTagName;
        stop = tag.m_strTagName == stopAtTag;
    }
    void OnEndTag(const CLiteHTMLTag& tag, quintptr, bool& stop) override
    {
        events << "end:" + tag.m_strTagName;
        stop = false;
    }
    void OnCharacters(const QString& text, quintptr, bool& stop) override
    {
        events << "chars:" + text;
        stop = false;
    }
    void OnComment(const QString& comment, quintptr, bool& stop) override
    {
        events << "comment:" + comment;
        stop = false;
    }
    void OnEndParse(quintptr, bool stopped) override
    {
        events << (stopped ? "stopped" : "done");
    }

    QStringList events;
    QString stopAtTag;
};

QStringList Read(const QString& page, EventRecorder& recorder)
{
    CLiteHTMLReader reader;
    reader.SetEventHandler(&recorder);
    reader.Read(page);
    return recorder.events;
}

QStringList Read(const QString& page)
{
    EventRecorder recorder;
    return Read(page, recorder);
}

TEST(HtmlReaderTest, EventsInDocumentOrder)
{
    EXPECT_EQ(Read("  <p class=x>Hi<br/>there<!-- c --></p> tail "),
              QStringList({"begin", "start:p", "chars:Hi", "start:br", "end:br", "chars:there",
                           "comment: c ", "end:p", "chars: tail ", "done"}));
    EXPECT_EQ(Read("<!---->"), QStringList({"begin", "comment:", "done"}));
    EXPECT_TRUE(Read("").isEmpty());
}

TEST(HtmlReaderTest, CharacterReferencesInText)
{
    const struct
    {
        QString page;
        QString text;
    } cases[] = {
        {"a&lt;b", "a<b"},
        {"a&LT;b", "a<b"},
        {"&#65;&#x41;&#X41;", "AAA"},
        {"&foo; &#q1; &a; &", "&foo; &#q1; &a; &"},
        {"&Eacute;&eacute;&oslash;&Oslash;&AELIG;", QStringLiteral("ÉéØØÆ")},
        {"&THORN;&Thorn;&thorn;&nbsp;&yuml;", QStringLiteral("ÞÞþ\u00a0ÿ")},
        {"&#20013;&#x6587;", QStringLiteral("中文")},
        {"&#65601;", "A"}, // the low 16 bits of the number
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.page), QStringList({"begin", "chars:" + c.text, "done"})) << c.page.toStdString();
}

TEST(HtmlReaderTest, ScriptContentIsText)
{
    EXPECT_EQ(Read("<script>if (a<b) x='<b>t</b>';<!--c--></SCRIPT><b>t</b>"),
              QStringList({"begin", "start:script", "chars:if (a<b) x='<b>t</b>';", "comment:c",
                           "end:SCRIPT", "start:b", "chars:t", "end:b", "done"}));
    // An empty script element starts no script.
    EXPECT_EQ(Read("<script src=a.js/><b>x</b>"),
              QStringList({"begin", "start:script", "end:script", "start:b", "chars:x", "end:b", "done"}));
}

TEST(HtmlReaderTest, WhatIsNoMarkupIsText)
{
    const struct
    {
        QString page;
        QStringList events;
    } cases[] = {
        {"<!--a--b>x", {"chars:<!--a--b>x"}},
        {"<!-- a -- >x", {"comment: a ", "chars:x"}},
        {"<!-- open", {"comment: open"}},
        {"1 < 2 <3> <", {"chars:1 < 2 <3> <"}},
        {"<p", {"chars:<p"}},
        {"</p x>t", {"chars:</p x>t"}},
        {"<a\"b>t", {"chars:<a\"b>t"}},
        {"< p>", {"chars:< p>"}},
    };
    for (const auto& c : cases) {
        const QStringList expected = QStringList{"begin"} + c.events + QStringList{"done"};
        EXPECT_EQ(Read(c.page), expected) << c.page.toStdString();
    }
}

TEST(HtmlReaderTest, StopEndsTheReading)
{
    EventRecorder recorder;
    recorder.stopAtTag = "b";
    EXPECT_EQ(Read("x<a>y<b>z</b>", recorder),
              QStringList({"begin", "chars:x", "start:a", "chars:y", "start:b", "stopped"}));
}

TEST(HtmlReaderTest, TagsAndAttributes)
{
    const QString text = "<img src=\"a.png\" alt='x &amp; y'\tCHECKED title=\"l1\nl2\tend\">rest";
    CLiteHTMLTag tag;
    bool opening = false;
    bool closing = true;
    ASSERT_EQ(tag.ParseFromText(text, 0, opening, closing, false), text.indexOf("rest"));
    EXPECT_TRUE(opening);
    EXPECT_FALSE(closing);
    EXPECT_EQ(tag.m_strTagName, "img");
    ASSERT_EQ(tag.m_attributes.GetCount(), 4);
    EXPECT_EQ(tag.m_attributes.GetAttribute(0).m_strValue, "a.png");
    EXPECT_EQ(tag.m_attributes.GetAttribute(1).m_strValue, "x & y");
    EXPECT_EQ(tag.m_attributes.GetAttribute(2).m_strName, "CHECKED");
    EXPECT_TRUE(tag.m_attributes.GetAttribute(2).m_strValue.isEmpty());
    EXPECT_EQ(tag.m_attributes.GetAttribute(3).m_strValue, "l1l2 end");
    EXPECT_EQ(tag.m_nBegin, 0);
    EXPECT_EQ(tag.m_nEnd, text.indexOf("rest"));

    // Attributes that cannot be read: the tag ends at the first "/>" further on.
    ASSERT_GT(tag.ParseFromText("<p 1>a<br/>", 0, opening, closing, false), 0);
    EXPECT_TRUE(tag.m_bIsEmpty);
    EXPECT_EQ(tag.m_nEnd, 11);
    EXPECT_EQ(tag.m_attributes.GetCount(), 0);

    ASSERT_GT(tag.ParseFromText("  </Div >", 0, opening, closing, false), 0);
    EXPECT_FALSE(opening);
    EXPECT_TRUE(closing);
    EXPECT_EQ(tag.m_strTagName, "Div");
    EXPECT_EQ(tag.m_nBegin, 2);
    EXPECT_EQ(tag.ParseFromText("<b>", 0, opening, closing, true), 0); // in script
}

TEST(HtmlReaderTest, AttributeValuesAreCleaned)
{
    CLiteHTMLElemAttr attribute;
    attribute.SetValue(" a\r\nb\tc &lt;&lt;x&gt; ");
    EXPECT_EQ(attribute.m_strValue, "a b c <<x>");
    CLiteHTMLElemAttr unquoted;
    EXPECT_EQ(unquoted.Parse("href=a/b>", 0), 6);
    EXPECT_EQ(unquoted.m_strValue, "a");
    CLiteHTMLElemAttr unterminated;
    EXPECT_EQ(unterminated.Parse("v=\"open", 0), 7);
    EXPECT_EQ(unterminated.m_strValue, "open");
}

TEST(HtmlReaderTest, EntityResolverConsumesUpToTheSemicolon)
{
    QChar ch;
    EXPECT_EQ(CLiteHTMLEntityResolver::ResolveEntity("x &amp; y", 2, ch), 5);
    EXPECT_EQ(ch, QChar('&'));
    EXPECT_EQ(CLiteHTMLEntityResolver::ResolveEntity(" &quot;", 0, ch), 7);
    EXPECT_EQ(ch, QChar('"'));
    EXPECT_EQ(CLiteHTMLEntityResolver::ResolveEntity("&lt", 0, ch), 0);
    EXPECT_EQ(CLiteHTMLEntityResolver::ResolveEntity("&Lt;", 0, ch), 4);
}

} // namespace
