#include "text/Cp936.h"
#include "web/HttpClient.h"
#include "web/HttpSession.h"
#include "web/tests/HttpTestServer.h"
#include "TempFolder.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString kDone = QStringLiteral("提交成功完成！");

QString HeaderValue(const QByteArray& request, const QByteArray& name)
{
    for (const QByteArray& line : request.left(request.indexOf("\r\n\r\n")).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return QString::fromLatin1(line.mid(colon + 1).trimmed());
    }
    return QStringLiteral("<missing>");
}

QByteArray Body(const QByteArray& request)
{
    return request.mid(request.indexOf("\r\n\r\n") + 4);
}

class HttpClientTest : public ::testing::Test
{
protected:
    HttpTestServer m_server;
};

struct StatusCase
{
    int status;
    bool ok;
    QByteArray body;
};

TEST_F(HttpClientTest, RequestSucceedsOnlyFor2xxStatus)
{
    const StatusCase cases[] = {
        {200, true, "答复"}, {201, true, "made"}, {204, true, ""},
        {302, false, ""}, {404, false, "missing"}, {500, false, "oops"},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.status);
        m_server.SetReply(c.status, "X", c.status == 204 ? QByteArray() : c.body,
                          c.status == 302 ? "Location: /elsewhere\r\n" : "");
        QString reply = QStringLiteral("前:");
        QString message;
        const QString url = m_server.Url("/form");
        EXPECT_EQ(HttpRequest(url, "a=1", reply, message, true), c.ok);
        if (c.ok) {
            EXPECT_EQ(message, kDone);
            EXPECT_EQ(reply, QStringLiteral("前:") + QString::fromUtf8(c.body));
        } else {
            EXPECT_EQ(message, QStringLiteral("网站服务器错误") + url);
            EXPECT_EQ(reply, QStringLiteral("前:"));
        }
    }
    EXPECT_EQ(m_server.Requests().size(), 6); // the 302 was not followed
}

TEST_F(HttpClientTest, FormRequestCarriesTheFourHeadersAndTheBody)
{
    QString reply, message;
    ASSERT_TRUE(HttpRequest(m_server.Url("/p?x=1"), QStringLiteral("name=张"), reply, message, true));
    ASSERT_EQ(m_server.Requests().size(), 1);
    const QByteArray request = m_server.Requests()[0];
    EXPECT_TRUE(request.startsWith("POST /p?x=1 HTTP/1.1\r\n")) << request.constData();
    EXPECT_EQ(HeaderValue(request, "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(HeaderValue(request, "Accept"), "*/*");
    EXPECT_EQ(HeaderValue(request, "Accept-Language"), "zh-CN");
    EXPECT_EQ(HeaderValue(request, "User-Agent"),
              "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)");
    EXPECT_EQ(Body(request), QStringLiteral("name=张").toUtf8());
}

TEST_F(HttpClientTest, GetSendsNonEmptyDataAsBodyAndEmptyDataAsNone)
{
    QString reply, message;
    ASSERT_TRUE(HttpRequest(m_server.Url("/g"), "q=1", reply, message, false));
    ASSERT_TRUE(HttpRequest(m_server.Url("/g"), "", reply, message, false));
    ASSERT_EQ(m_server.Requests().size(), 2);
    EXPECT_TRUE(m_server.Requests()[0].startsWith("GET /g "));
    EXPECT_EQ(Body(m_server.Requests()[0]), "q=1");
    EXPECT_TRUE(Body(m_server.Requests()[1]).isEmpty());
}

TEST_F(HttpClientTest, FailureMessages)
{
    QString reply, message;
    EXPECT_FALSE(HttpRequest("127.0.0.1/x", "", reply, message, true));
    EXPECT_EQ(message, QStringLiteral("127.0.0.1/x不是有效有网络地址！"));
    EXPECT_FALSE(HttpRequest("ftp://127.0.0.1/x", "", reply, message, true));
    EXPECT_EQ(message, QStringLiteral("ftp://127.0.0.1/x不是有效有网络地址！"));
    EXPECT_TRUE(m_server.Requests().isEmpty());

    const QString closed = QStringLiteral("http://127.0.0.1:%1/").arg(HttpTestServer::UnusedPort());
    EXPECT_FALSE(HttpRequest(closed, "", reply, message, false));
    EXPECT_EQ(message, QStringLiteral("对不起，连接服务器失败！"));

    // The server hangs up in the middle of the body.
    m_server.SetRawReply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhalf");
    EXPECT_FALSE(HttpRequest(m_server.Url("/"), "", reply, message, true));
    EXPECT_TRUE(message.startsWith(QStringLiteral("向服务器post失败！错误号："))) << message.toStdString();
    EXPECT_FALSE(HttpRequest(m_server.Url("/"), "", reply, message, false));
    EXPECT_TRUE(message.startsWith(QStringLiteral("向服务器get失败！错误号："))) << message.toStdString();
    EXPECT_TRUE(reply.isEmpty());
}

TEST_F(HttpClientTest, CapitalHttpsSchemeIsNeverSentInClear)
{
    HttpSession session;
    session.SetTimeoutDivisorForTests(20);
    QString reply, message;
    const QString url = QStringLiteral("HTTPS://127.0.0.1:%1/secret").arg(m_server.Port());
    EXPECT_FALSE(HttpRequestEx(session, nullptr, url, "pw=1", reply, message, "UTF-8", true, false));
    for (const QByteArray& request : m_server.Requests())
        EXPECT_FALSE(request.contains("pw=1") || request.contains("/secret"));

    // The plain scheme in capitals is plain HTTP.
    EXPECT_TRUE(HttpRequest(QStringLiteral("HTTP://127.0.0.1:%1/").arg(m_server.Port()), "", reply,
                            message, false));
}

TEST_F(HttpClientTest, RequestExReadsTheReplyInTheNamedCharset)
{
    const QString text = QStringLiteral("中文回复");
    m_server.SetReply(200, "OK", ToCp936(text));
    HttpSession session;
    QString reply, message;
    ASSERT_TRUE(HttpRequestEx(session, nullptr, m_server.Url("/"), "", reply, message, "GB2312", false, true));
    EXPECT_EQ(reply, text);

    reply.clear();
    ASSERT_TRUE(HttpRequestEx(session, nullptr, m_server.Url("/"), "", reply, message, "gb2312", false, false));
    EXPECT_NE(reply, text); // anything but "GB2312" is read as UTF-8

    m_server.SetReply(200, "OK", text.toUtf8());
    reply.clear();
    ASSERT_TRUE(HttpRequestEx(session, nullptr, m_server.Url("/"), "", reply, message, "UTF-8", true, false));
    EXPECT_EQ(reply, text);
    EXPECT_EQ(message, kDone);
}

TEST_F(HttpClientTest, RequestExGoesToTheGivenConnectionsServer)
{
    HttpSession session;
    HttpConnection connection{QStringLiteral("127.0.0.1"), m_server.Port()};
    QString reply, message;
    ASSERT_TRUE(HttpRequestEx(session, &connection, "http://elsewhere.invalid/api?id=3", "k=v",
                              reply, message, "UTF-8", true, true));
    ASSERT_EQ(m_server.Requests().size(), 1);
    EXPECT_TRUE(m_server.Requests()[0].startsWith("POST /api?id=3 "));
}

TEST_F(HttpClientTest, RequestExGivesUpWhenTheServerDoesNotAnswer)
{
    m_server.SetHang(true);
    HttpSession session;
    session.SetTimeoutDivisorForTests(50);
    QString reply, message;
    EXPECT_FALSE(HttpRequestEx(session, nullptr, m_server.Url("/slow"), "", reply, message, "UTF-8",
                               false, false));
    EXPECT_TRUE(message.startsWith(QStringLiteral("向服务器get失败！错误号："))) << message.toStdString();
    EXPECT_EQ(m_server.Requests().size(), 1); // sent once; only connecting is retried
}

TEST_F(HttpClientTest, GetStringGivesTheBodyOnlyFor200)
{
    m_server.SetReply(200, "OK", QStringLiteral("Server=db1;").toUtf8());
    EXPECT_EQ(HttpGetString(m_server.Url("/cs/")), QStringLiteral("Server=db1;"));
    EXPECT_TRUE(m_server.Requests()[0].startsWith("GET /cs/ "));
    for (int status : {201, 204, 404}) {
        m_server.SetReply(status, "X", status == 204 ? "" : "body");
        EXPECT_TRUE(HttpGetString(m_server.Url("/")).isEmpty()) << status;
    }
    EXPECT_TRUE(HttpGetString("no-scheme").isEmpty());
    EXPECT_TRUE(HttpGetString(QStringLiteral("http://127.0.0.1:%1/").arg(HttpTestServer::UnusedPort())).isEmpty());
}

TEST_F(HttpClientTest, GetStringAndDownloadFollowUpToFiveRedirects)
{
    // /r1 → /r2 → … → /r6 → /end, by every redirect status, one Location absolute.
    const int statuses[] = {301, 302, 303, 307, 308, 302};
    for (int i = 1; i <= 6; ++i) {
        const QByteArray next = i == 6 ? "/end" : "/r" + QByteArray::number(i + 1);
        const QByteArray location = i == 3 ? m_server.Url(QString::fromLatin1(next)).toLatin1() : next;
        m_server.SetReplyFor("/r" + QByteArray::number(i), statuses[i - 1], "Moved", "moved",
                             "Location: " + location + "\r\n");
    }
    m_server.SetReplyFor("/end", 200, "OK", "Server=db2;");
    const QByteArray secure = "https://127.0.0.1:" + QByteArray::number(m_server.Port()) + "/end";
    m_server.SetReplyFor("/tls", 302, "Found", "", "Location: " + secure + "\r\n");
    m_server.SetReplyFor("/ftp", 302, "Found", "", "Location: ftp://127.0.0.1/end\r\n");

    // What reached the server, by path; a request that is not plain HTTP (a
    // TLS hello) as "tls". The client may send a request again on a fresh
    // connection, so paths are compared as a set.
    const auto pathsSince = [this](qsizetype first) {
        QSet<QByteArray> paths;
        for (qsizetype i = first; i < m_server.Requests().size(); ++i) {
            const QByteArray& request = m_server.Requests()[i];
            const bool http = !request.isEmpty() && QChar::isLetter(uchar(request[0]));
            paths.insert(http ? request.left(request.indexOf("\r\n")).split(' ').value(1) : "tls");
        }
        return paths;
    };
    const struct
    {
        const char* path;
        QString text;
        QSet<QByteArray> paths;
    } cases[] = {
        {"/r2", QStringLiteral("Server=db2;"), {"/r2", "/r3", "/r4", "/r5", "/r6", "/end"}}, // five redirects
        {"/r1", QString(), {"/r1", "/r2", "/r3", "/r4", "/r5", "/r6"}}, // the sixth is not followed
        {"/tls", QString(), {"/tls", "tls"}},                            // followed to https (no TLS here)
        {"/ftp", QString(), {"/ftp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const qsizetype before = m_server.Requests().size();
        EXPECT_EQ(HttpGetString(m_server.Url(c.path)), c.text);
        EXPECT_EQ(pathsSince(before), c.paths);
    }

    TempFolder folder;
    folder.writeBytes("up", "old");
    EXPECT_FALSE(DownloadToFile(m_server.Url("/r1"), folder.file("up")));
    EXPECT_EQ(folder.readBytes("up"), "old");
    EXPECT_TRUE(DownloadToFile(m_server.Url("/r2"), folder.file("up")));
    EXPECT_EQ(folder.readBytes("up"), "Server=db2;");
}

TEST_F(HttpClientTest, DownloadReplacesTheFileOnlyWhenComplete)
{
    TempFolder folder;
    const QString path = folder.file("up");
    folder.writeBytes("up", "old contents");

    m_server.SetRawReply("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(400, 'n'));
    EXPECT_FALSE(DownloadToFile(m_server.Url("/dl"), path));
    EXPECT_EQ(folder.readBytes("up"), "old contents");

    // Each failure says why, for the caller's log.
    QString failure;
    m_server.SetReply(404, "Not Found", "nothing here");
    EXPECT_FALSE(DownloadToFile(m_server.Url("/dl"), path, &failure));
    EXPECT_EQ(failure, "服务器返回状态 404");
    EXPECT_FALSE(DownloadToFile(QStringLiteral("http://127.0.0.1:%1/").arg(HttpTestServer::UnusedPort()), path,
                                &failure));
    EXPECT_EQ(failure, "对不起，连接服务器失败！");
    EXPECT_EQ(folder.readBytes("up"), "old contents");
    m_server.SetReply(200, "OK", "new");
    EXPECT_FALSE(DownloadToFile(m_server.Url("/dl"), folder.file("no such folder/up"), &failure));
    EXPECT_EQ(failure, "文件未能写入：" + folder.file("no such folder/up"));

    QByteArray binary(200000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7);
    m_server.SetReply(200, "OK", binary);
    EXPECT_TRUE(DownloadToFile(m_server.Url("/dl"), path));
    EXPECT_EQ(folder.readBytes("up"), binary);

    m_server.SetReply(200, "OK", "");
    EXPECT_TRUE(DownloadToFile(m_server.Url("/dl"), path));
    EXPECT_TRUE(folder.readBytes("up").isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1); // no temporary file left over
}

} // namespace
