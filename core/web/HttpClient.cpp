#include "web/HttpClient.h"

#include "web/HttpExchange.h"
#include "web/HttpSession.h"
#include "web/UrlCoding.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

namespace {

// Added to every form-data request, in this order.
const char* const kFormHeaderLines[] = {
    "Content-Type: application/x-www-form-urlencoded",
    "Accept: */*",
    "Accept-Language: zh-CN",
    "User-Agent:Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)",
};

const QString kMsgDone = QStringLiteral("提交成功完成！");
const QString kMsgInvalidUrlSuffix = QStringLiteral("不是有效有网络地址！");
const QString kMsgNoConnection = QStringLiteral("对不起，连接服务器失败！");
const QString kMsgAddressNotFound = QStringLiteral("找不到网络地址");
const QString kMsgServerError = QStringLiteral("网站服务器错误");
const char* const kMsgPostFailed = "向服务器post失败！错误号：%1";
const char* const kMsgGetFailed = "向服务器get失败！错误号：%1";
const QString kMsgStatus = QStringLiteral("服务器返回状态 %1");
const QString kMsgFileNotWritten = QStringLiteral("文件未能写入：%1");

const QString kCharsetGb2312 = QStringLiteral("GB2312");

// The interactive time-outs of the caller's session.
constexpr int kExConnectMs = 5000;
constexpr int kExSendMs = 2000;
constexpr int kExReceiveMs = 7000;
constexpr int kExDataSendMs = 2000;
constexpr int kExDataReceiveMs = 7000;
constexpr int kExConnectRetries = 2;

constexpr qint64 kReadChunk = 1024;

// Opening a URL directly follows this many redirects.
constexpr int kMaxRedirects = 5;

QNetworkRequest MakeFormRequest(const QUrl& url)
{
    QNetworkRequest request = MakeHttpRequest(url);
    for (const char* line : kFormHeaderLines) {
        const QByteArray text(line);
        const qsizetype colon = text.indexOf(':');
        const QByteArray name = text.left(colon);
        if (!request.hasRawHeader(name))
            request.setRawHeader(name, text.mid(colon + 1).trimmed());
    }
    return request;
}

// Why an exchange brought no reply; empty when it did.
QString ExchangeFailure(const QString& url, const HttpExchangeResult& result, bool post)
{
    switch (result.m_outcome) {
    case HttpOutcome::HostNotFound:
        return kMsgAddressNotFound + url;
    case HttpOutcome::ConnectFailed:
        return kMsgNoConnection;
    case HttpOutcome::Failed:
        return QString::fromUtf8(post ? kMsgPostFailed : kMsgGetFailed).arg(result.m_nErrorCode);
    case HttpOutcome::Replied:
        break;
    }
    return QString();
}

// The exchange both form-data requests share; the reply is read by the
// charset's reader.
bool FormExchange(HttpSession& session, const HttpConnection* connection, const QString& url,
                  const QString& data, QString& reply, QString& message, bool gb2312, bool post)
{
    message = kMsgDone;
    QUrl target;
    if (!SplitHttpUrl(url, target)) {
        message = url + kMsgInvalidUrlSuffix;
        return false;
    }
    if (connection) {
        target.setHost(connection->m_strServer);
        target.setPort(connection->m_nPort);
    }
    const HttpExchangeResult result = RunHttpExchange(
        session, MakeFormRequest(target), post ? "POST" : "GET", WideToUtf8(data),
        CertificateChecks::IgnoreDateNameAndAuthority);
    if (result.m_outcome != HttpOutcome::Replied) {
        message = ExchangeFailure(url, result, post);
        return false;
    }
    if (result.m_nStatus < 200 || result.m_nStatus > 299) {
        message = kMsgServerError + url;
        return false;
    }
    return gb2312 ? ReadResponseGb2312(*result.m_reply, reply) : ReadResponseUtf8(*result.m_reply, reply);
}

// The whole body of a plain fetch that answered 200 in the end, in a session
// of its own. When it fails, failure says why.
template<typename Reader>
bool FetchWith200(const QString& url, CertificateChecks checks, Reader read, QString& failure)
{
    QUrl target;
    if (!SplitHttpUrl(url, target)) {
        failure = url + kMsgInvalidUrlSuffix;
        return false;
    }
    // As the system's URL opening does, redirects are followed as long as
    // they keep the scheme or go from http to https.
    QNetworkRequest request = MakeHttpRequest(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    HttpSession session;
    const HttpExchangeResult result = RunHttpExchange(session, request, "GET", QByteArray(), checks);
    if (result.m_outcome != HttpOutcome::Replied) {
        failure = ExchangeFailure(url, result, false);
        return false;
    }
    if (result.m_nStatus != 200) {
        failure = kMsgStatus.arg(result.m_nStatus);
        return false;
    }
    return read(*result.m_reply, failure);
}

QByteArray ReadWholeResponse(QIODevice& response)
{
    QByteArray bytes;
    char buffer[kReadChunk];
    qint64 count;
    while ((count = response.read(buffer, kReadChunk)) > 0)
        bytes.append(buffer, count);
    return bytes;
}

} // namespace

bool HttpRequest(const QString& url, const QString& data, QString& reply, QString& message,
                 bool post)
{
    HttpSession session;
    return FormExchange(session, nullptr, url, data, reply, message, false, post);
}

bool HttpRequestEx(HttpSession& session, const HttpConnection* connection, const QString& url,
                   const QString& data, QString& reply, QString& message,
                   const QString& charset, bool post, bool keepConnection)
{
    session.SetTimeouts(kExConnectMs, kExSendMs, kExReceiveMs, kExDataSendMs, kExDataReceiveMs,
                        kExConnectRetries);
    const bool ok = FormExchange(session, connection, url, data, reply, message,
                                 charset == kCharsetGb2312, post);
    // A connection opened here is never handed back, so only the caller's
    // own connection may stay open.
    if (!keepConnection || !connection)
        session.CloseConnections();
    return ok;
}

QString HttpGetString(const QString& url)
{
    QString text;
    QString unused;
    FetchWith200(
        url, CertificateChecks::IgnoreDateAndName,
        [&text](QIODevice& response, QString&) { return ReadResponseUtf8(response, text); }, unused);
    return text;
}

bool DownloadToFile(const QString& url, const QString& path, QString* failure)
{
    QString why;
    const bool done = FetchWith200(
        url, CertificateChecks::Full,
        [&path](QIODevice& response, QString& problem) {
            if (WriteResponseToFile(response, path))
                return true;
            problem = kMsgFileNotWritten.arg(path);
            return false;
        },
        why);
    if (!done && failure)
        *failure = why;
    return done;
}

bool WriteResponseToFile(QIODevice& response, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    char buffer[64 * 1024];
    qint64 count;
    while ((count = response.read(buffer, sizeof buffer)) > 0) {
        if (file.write(buffer, count) != count)
            return false; // the save file is dropped, the old file stays
    }
    return file.commit();
}

bool ReadResponseUtf8(QIODevice& response, QString& text)
{
    text += Utf8ToString(ReadWholeResponse(response));
    return true;
}

bool ReadResponseGb2312(QIODevice& response, QString& text)
{
    QString converted;
    Gb2312ToString(ReadWholeResponse(response), converted);
    text += converted;
    return true;
}
