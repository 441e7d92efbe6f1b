// Web, text conversion and command actions on a real form, against a local
// HTTP server and the shell.
#include "ActionFormTest.h"
#include "Dialog_CommandBusy.h"
#include "web/tests/HttpTestServer.h"
#include "text/MoneyWords.h"
#include "web/ShellOpen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace {

class WebActionsTest : public ActionFormTest
{
protected:
    void SetUp() override
    {
        ActionFormTest::SetUp();
        SetShellOpenerForTests([this](const QUrl& url) {
            m_opened << url.toString();
            return true;
        });
    }

    void TearDown() override
    {
        SetShellOpenerForTests({});
        ActionFormTest::TearDown();
    }

    // A form with an input box 1, a data box 2, a result box 3, a marker box
    // 4 that a second action of the list fills ("%72", the coding of box
    // 5), and button 9 running the given action before that second action.
    void OpenWith(const QString& action)
    {
        Open("<textbox id='1' pos='0,0,300,20' value=''/><textbox id='2' pos='0,30,300,50' value=''/>"
             "<textbox id='3' pos='0,60,300,80' value=''/><textbox id='4' pos='0,90,300,110' value=''/>"
             "<textbox id='5' pos='0,150,300,170' value='r'/>"
             "<button id='9' pos='0,120,60,140' value='go'><ACTION><CLICK>"
             + action
             + "<UrlEncode><para_info num_id='5' result_id='4'/></UrlEncode></CLICK></ACTION></button>");
        m_messages.clear();
    }

    QString Text(int id) { return GetControlTextOf(id); }
    QString GetControlTextOf(int id);
    void SetText(int id, const QString& text) { CFormActions::SetControlValue(Control(id), text); }

    QStringList m_opened;
};

QString WebActionsTest::GetControlTextOf(int id)
{
    return CFormActions::GetWindowValue(Control(id));
}

TEST_P(WebActionsTest, ConversionsWriteIntoTheResultControl)
{
    const struct {
        QString keyword;
        QString input;
        QString expected;
    } cases[] = {
        // Thousands separators are part of the amount.
        {"get_daxie", "1,234.00", FormatMoneyChinese(1234.0)},
        {"get_daxie", "1234.5", FormatMoneyChinese(1234.5)},
        {"get_daxie", "0", FormatMoneyChinese(0)},
        {"get_daxie", "abc", FormatMoneyChinese(0)},
        {"get_daxie", "12345678901234567", "出错!"},
        {"UrlEncode", "a b", "%61%20%62"},
        {"UrlEncode", "中", "%e4%b8%ad"},
        {"UrlDecode", "%E4%B8%AD%zz+%4", "中%zz+%4"},
    };
    EXPECT_NE(FormatMoneyChinese(1234.0), FormatMoneyChinese(1.0));
    for (const auto& c : cases) {
        OpenWith("<" + c.keyword + "><para_info num_id='1' result_id='3'/></" + c.keyword + ">");
        SetText(1, c.input);
        Fire(9);
        EXPECT_EQ(Text(3), c.expected) << c.keyword.toStdString() << " " << c.input.toStdString();
        EXPECT_EQ(Text(4), "%72");
    }
    // No result control; no value control; an empty value stops silently.
    OpenWith("<get_daxie><para_info num_id='1'/></get_daxie>");
    SetText(1, "5");
    Fire(9);
    EXPECT_EQ(m_messages, QStringList{"请指定控件编号result_id！"});
    OpenWith("<UrlEncode><para_info result_id='3'/></UrlEncode>");
    Fire(9);
    EXPECT_EQ(m_messages, QStringList{"请选择记录或者录入关联索引的指定控件编号num_id！"});
    OpenWith("<UrlDecode><para_info num_id='1' result_id='3'/></UrlDecode>");
    Fire(9);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Text(4), "");
}

TEST_P(WebActionsTest, OpenUrlHandsTheLinkToTheShell)
{
    OpenWith("<open_url><para_info url_id='1'/></open_url>");
    SetText(1, "https://example.invalid/a?b=1");
    Fire(9);
    EXPECT_EQ(m_opened, QStringList{"https://example.invalid/a?b=1"});
    EXPECT_EQ(Text(4), "%72");
    SetShellOpenerForTests([](const QUrl&) { return false; });
    Fire(9);
    EXPECT_EQ(m_messages.last(), "打开链接(https://example.invalid/a?b=1)出错！\n链接格式是否正确？ 网络是否正常？");
}

TEST_P(WebActionsTest, PagesAreFetchedAndPostedIntoTheResult)
{
    HttpTestServer server;
    server.SetReply(200, "OK", "<p>你好</p>", "Content-Type: text/html; charset=utf-8\r\n");
    OpenWith("<get_html><para_info url_id='1' result_id='3'/></get_html>");
    SetText(1, server.Url("/page"));
    Fire(9);
    EXPECT_EQ(Text(3), "<p>你好</p>");
    ASSERT_EQ(server.Requests().size(), 1);
    EXPECT_TRUE(server.Requests()[0].startsWith("GET /page"));

    OpenWith("<post_html><para_info url_id='1' value_id='2' result_id='3'/></post_html>");
    SetText(1, server.Url("/form"));
    SetText(2, "a=1&b=2");
    Fire(9);
    EXPECT_EQ(Text(3), "<p>你好</p>");
    ASSERT_EQ(server.Requests().size(), 2);
    EXPECT_TRUE(server.Requests()[1].startsWith("POST /form"));
    EXPECT_TRUE(server.Requests()[1].endsWith("a=1&b=2"));

    OpenWith("<post2_html><para_info url_id='1' value_id='2' result_id='3' is_post='1'/></post2_html>");
    SetText(1, server.Url("/two"));
    SetText(2, "c=3");
    Fire(9);
    EXPECT_EQ(Text(3), "<p>你好</p>");
    EXPECT_EQ(Text(4), "%72");
}

// A server that is not there: get_html shows the failure and goes on,
// post2_html shows it and stops the list.
TEST_P(WebActionsTest, UnreachableServers)
{
    const QString url = QString("http://127.0.0.1:%1/x").arg(HttpTestServer::UnusedPort());
    OpenWith("<get_html><para_info url_id='1' result_id='3'/></get_html>");
    SetText(1, url);
    Fire(9);
    EXPECT_FALSE(Text(3).isEmpty());
    EXPECT_EQ(Text(4), "%72");

    OpenWith("<post2_html><para_info url_id='1' result_id='3'/></post2_html>");
    SetText(1, url);
    Fire(9);
    EXPECT_FALSE(Text(3).isEmpty());
    EXPECT_EQ(Text(4), "");
}

TEST_P(WebActionsTest, CommandsTakeFormValuesAsOneArgumentEach)
{
    OpenWith("<cmd target_ids='3' values=\"printf '[%s]' {{p1}}{{p2}}\"><para_info_where>"
             "<p value='1' where='{{self}}'/><p value='2' where=' --x={{self}}'/></para_info_where></cmd>");
    const QString hostile = "it's \"q\"; echo pwned $(id) `id`";
    SetText(1, hostile);
    Fire(9);
    EXPECT_EQ(Text(3), "[" + hostile + "]");
    EXPECT_EQ(Text(4), "%72");
    // The second fragment appears while its box holds a value.
    SetText(2, "a b");
    Fire(9);
    EXPECT_EQ(Text(3), "[" + hostile + "][--x=a b]");
    // Inside the author's own quotes too.
    OpenWith("<cmd target_ids='3' values=\"echo &quot;v={{p1}}&quot; 'w={{p1}}'\"><para_info_where>"
             "<p value='1' where='{{self}}'/></para_info_where></cmd>");
    SetText(1, hostile);
    Fire(9);
    EXPECT_EQ(Text(3), "v=" + hostile + " w=" + hostile + "\n");
    // So are the form-wide values (a global slot a query filled).
    theApp().m_strGlobal[0] = hostile;
    OpenWith("<cmd target_ids='3' values=\"printf '[%s]' {{A0}}\"/>");
    Fire(9);
    EXPECT_EQ(Text(3), "[" + hostile + "]");
}

TEST_P(WebActionsTest, ExitStatusesAreAnswers)
{
    // Whatever status a command ends with, its output goes to the target
    // and the list goes on.
    const struct {
        QString command;
        QString output; // what the target shows; empty: anything
    } answers[] = {
        {"echo broken; exit 4", "broken\n"},
        {"printf 'a\\n' | grep b", ""},
        {"no_such_program_tembra_29", ""},
    };
    for (const auto& c : answers) {
        SCOPED_TRACE(c.command.toStdString());
        OpenWith("<cmd target_ids='3' values=\"" + c.command + "\"/>");
        SetText(3, "前");
        Fire(9);
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join("|").toStdString();
        EXPECT_NE(Text(3), "前");
        if (!c.output.isEmpty()) {
            EXPECT_EQ(Text(3), c.output);
        }
        EXPECT_EQ(Text(4), "%72");
    }
    EXPECT_TRUE(Text(3).contains("no_such_program_tembra_29")) << "the shell's complaint is the output";

    // Without a target the output goes nowhere and the list goes on.
    OpenWith("<cmd values='echo quiet'/>");
    Fire(9);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Text(4), "%72");
}

// However long a command runs, the event waits for it: past the busy
// window's delay the window comes up, and goes when the command ends by
// itself; its output arrives, the list goes on and the event commits.
TEST_P(WebActionsTest, LongCommandsAreWaitedFor)
{
    Exec("CREATE TABLE ran (n INTEGER)");
    OpenWith("<run_sql><para_info run_sql='INSERT INTO ran VALUES (1)'/></run_sql>"
             "<cmd target_ids='3' values='sleep 2.6; echo done'/>");
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&] { shown = shown || qobject_cast<Dialog_CommandBusy*>(QApplication::activeModalWidget()); });
    watch.start(100);
    Fire(9);
    EXPECT_TRUE(shown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join("|").toStdString();
    EXPECT_EQ(Text(3), "done\n");
    EXPECT_EQ(Text(4), "%72");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ran"), "1");
}

// 取消 in the busy window ends the command: the event fails with the reason,
// naming the command with its values as typed, what it wrote to the database
// is rolled back and the list stops.
TEST_P(WebActionsTest, ACancelledCommandFailsTheEvent)
{
    Exec("CREATE TABLE ran (n INTEGER)");
    OpenWith("<run_sql><para_info run_sql='INSERT INTO ran VALUES (1)'/></run_sql>"
             "<cmd target_ids='3' values='echo started {{p1}}; sleep 60'>"
             "<para_info_where><p value='1' where='{{self}}'/></para_info_where></cmd>");
    SetText(1, "it's");
    SetText(3, "前");
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [] {
        if (auto* busy = qobject_cast<Dialog_CommandBusy*>(QApplication::activeModalWidget()))
            busy->findChild<QPushButton*>()->click();
    });
    cancel.start(100);
    QElapsedTimer timer;
    timer.start();
    Fire(9);
    EXPECT_LT(timer.elapsed(), 30000);
    EXPECT_EQ(m_messages, QStringList{"命令已取消，本次操作未完成，已撤销它对数据的更改：\necho started it's; sleep 60"});
    EXPECT_EQ(Text(3), "前");
    EXPECT_EQ(Text(4), "");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM ran"), "0");
}

TEMBRA_ACTION_KINDS(WebActionsTest);

} // namespace
