#include "FormDescription.h"
#include "FormHead.h"
#include "FormTexts.h"
#include "text/MessageSink.h"

#include <gtest/gtest.h>

namespace {

class MessageRecorder
{
public:
    MessageRecorder()
    {
        m_previous = SetMessageSink([this](const QString& text) { messages << text; });
    }
    ~MessageRecorder() { SetMessageSink(m_previous); }
    QStringList messages;

private:
    MessageSink m_previous;
};

const char* const Form = R"(<html version='1.0' id='0'>
  <head title='入库' style='2' pos='10,20,410,320' scroll='900,1200' bg='1' thread_id='3'
        time_split='1500' parent_btn='4' in_id='5' popup='x:25:3;4:7' type='t1' draw_method='1'>
    <in_id>1</in_id>
    <HOTKEY><para_info><key id='3' value='7'/><key id='5' value='8'/></para_info></HOTKEY>
    <ACTION><INIT connstr='c'><run_sql/></INIT></ACTION>
  </head>
  <body>
    <dialog><button id='7'><ACTION><CLICK log='1'><run_sql/></CLICK></ACTION></button></dialog>
    <popup><html id='5'><body><dialog><button id='7'><ACTION><CLICK/></ACTION></button></dialog></body></html></popup>
  </body>
</html>)";

} // namespace

TEST(FormDescription, RefusesWhatIsNotAForm)
{
    CFormDescription doc;
    QString error;
    EXPECT_FALSE(doc.LoadForm("<html><head>", error));
    EXPECT_EQ(error, FormTexts::NotXml);
    EXPECT_FALSE(doc.LoadForm("", error));
    EXPECT_EQ(error, FormTexts::NotXml);
    EXPECT_FALSE(doc.LoadForm("<form><head title='x'/></form>", error));
    EXPECT_EQ(error, FormTexts::NoHtmlRoot);
    EXPECT_TRUE(CXmlNode(doc.GetRoot()).IsNull());
    EXPECT_TRUE(doc.LoadForm(CFormDescription::EmptyForm, error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(CXmlNode(doc.GetHead()).IsNull());
}

TEST(FormDescription, FindsTheFormsOwnPaths)
{
    CFormDescription doc;
    QString error;
    ASSERT_TRUE(doc.LoadForm(Form, error));
    EXPECT_EQ(CXmlNode(doc.GetInitAction()).GetAttribute("connstr"), "c");
    EXPECT_EQ(doc.FindHotKeyValue(3), 7);
    EXPECT_EQ(doc.FindHotKeyValue(5), 8);
    EXPECT_FALSE(doc.FindHotKeyValue(4).has_value());

    EXPECT_EQ(CXmlNode(doc.FindEventAction("0", "button", 7, "CLICK")).GetAttribute("log"), "1");
    EXPECT_FALSE(CXmlNode(doc.FindEventAction("5", "button", 7, "CLICK")).IsNull());
    EXPECT_TRUE(CXmlNode(doc.FindEventAction("0", "button", 7, "DCLICK")).IsNull());
    EXPECT_TRUE(CXmlNode(doc.FindEventAction("0", "textbox", 7, "CLICK")).IsNull());
    EXPECT_TRUE(CXmlNode(doc.FindEventAction("0' or '1'='1", "button", 7, "CLICK")).IsNull());
    EXPECT_TRUE(CXmlNode(doc.FindEventAction("a\"b'c", "button", 7, "CLICK")).IsNull());

    const CXmlNode body = CXmlNode(doc.GetRoot()).GetChild("body");
    EXPECT_EQ(CXmlNode(CFormDescription::FindPopupForm(body, "5")).GetAttribute("id"), "5");
    EXPECT_TRUE(CXmlNode(CFormDescription::FindPopupForm(body, "6")).IsNull());
    // The id is compared as text, never read as a number or a path.
    EXPECT_TRUE(CXmlNode(CFormDescription::FindPopupForm(body, "05")).IsNull());
    EXPECT_TRUE(CXmlNode(CFormDescription::FindPopupForm(body, "5 or 1=1")).IsNull());
    EXPECT_TRUE(CXmlNode(CFormDescription::FindPopupForm(body, "x] | //*[1")).IsNull());
}

TEST(FormDescription, AMenuFormWithAnotherRootIdFindsNoEvents)
{
    CFormDescription doc;
    QString error;
    ASSERT_TRUE(doc.LoadForm("<html id='5'><body><dialog><button id='1'><ACTION><CLICK/>"
                             "</ACTION></button></dialog></body></html>", error));
    EXPECT_TRUE(CXmlNode(doc.FindEventAction("0", "button", 1, "CLICK")).IsNull());
    EXPECT_FALSE(CXmlNode(doc.FindEventAction("5", "button", 1, "CLICK")).IsNull());
}

TEST(FormDescription, SubFormHeadNeverStandsInForTheRoots)
{
    CFormDescription doc;
    QString error;
    ASSERT_TRUE(doc.LoadForm("<html id='0'><popup><html id='5'><head title='sub'/></html></popup>"
                             "</html>", error));
    EXPECT_TRUE(CXmlNode(doc.GetHead()).IsNull());
}

TEST(FormHead, ReadsEveryAttribute)
{
    CFormDescription doc;
    QString error;
    ASSERT_TRUE(doc.LoadForm(Form, error));
    const CFormHead head = CFormHead::Read(doc.GetHead());
    EXPECT_EQ(head.title, QStringLiteral("入库"));
    EXPECT_EQ(head.style, 2);
    EXPECT_EQ(head.bg, 1);
    EXPECT_EQ(head.threadId, 3);
    EXPECT_EQ(head.timeSplit, 1500);
    EXPECT_TRUE(head.HasTimer());
    EXPECT_EQ(head.parentBtn, 4);
    EXPECT_EQ(head.inId, 5);
    EXPECT_TRUE(head.inIdSwitch);
    EXPECT_EQ(head.popup, "x:25:3;4:7");
    EXPECT_EQ(head.type, "t1");
    EXPECT_EQ(head.drawMethod, "1");
    EXPECT_EQ(head.ScrollSizes(), QList<int>({900, 1200}));
    RectLTRB pos;
    ASSERT_TRUE(head.ReadPos(pos));
    EXPECT_EQ(pos.left, 10);
    EXPECT_EQ(pos.bottom, 320);
}

TEST(FormHead, InputSwitchIsANonZeroNumber)
{
    for (const auto& [text, on] : {std::pair{"<in_id>1</in_id>", true}, {"<in_id>0</in_id>", false},
                                   {"<in_id/>", false}, {"<in_id>abc</in_id>", false}, {"", false}}) {
        CFormDescription doc;
        QString error;
        ASSERT_TRUE(doc.LoadForm(QStringLiteral("<html><head in_id='2'>%1</head></html>").arg(text), error));
        EXPECT_EQ(CFormHead::Read(doc.GetHead()).inIdSwitch, on) << text;
    }
}

TEST(FormHead, PositionTextsThatAreNotFourNumbersAreReported)
{
    MessageRecorder recorder;
    CFormHead head;
    RectLTRB pos;
    head.pos = "0";
    EXPECT_FALSE(head.ReadPos(pos));
    EXPECT_TRUE(recorder.messages.isEmpty());
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5"}) {
        head.pos = bad;
        EXPECT_FALSE(head.ReadPos(pos)) << bad;
    }
    EXPECT_EQ(recorder.messages,
              QStringList(3, QStringLiteral("矩形数据格式错误")));
}

TEST(FormHead, CentresInTheScreenLeftOfTheMainWindow)
{
    struct Case { RectLTRB pos; QRect expected; };
    const QSize screen(1325, 800);
    const Case cases[] = {
        {{0, 0, 400, 300}, QRect(300, 250, 400, 300)},
        {{10, 20, 410, 320}, QRect(310, 270, 400, 300)},
        {{0, 0, 1200, 900}, QRect(0, -50, 1200, 900)}, // too wide: no horizontal offset
        {{0, 0, 0, 0}, QRect(500, 400, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentredFormRect(c.pos, screen), c.expected) << c.pos.right;
    const QRect huge = CentredFormRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, screen);
    EXPECT_GE(huge.width(), 0);
}
