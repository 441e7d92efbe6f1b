#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <memory>

class HttpSession;
class QNetworkReply;
class QNetworkRequest;

// One synchronous request on a session: sent, then waited for in a local
// event loop that takes no user input, within the session's time-outs.

// Which certificate faults of a TLS server are let pass.
enum class CertificateChecks
{
    Full,
    IgnoreDateAndName,
    IgnoreDateNameAndAuthority,
};

enum class HttpOutcome
{
    Replied,        // the whole reply arrived; status holds its code
    HostNotFound,   // the server's name did not resolve
    ConnectFailed,  // no connection could be made in the connect attempts
    Failed,         // the exchange broke off (time-out, closed early, TLS)
};

struct HttpExchangeResult
{
    HttpOutcome m_outcome = HttpOutcome::Failed;
    int m_nStatus = 0;
    int m_nErrorCode = 0;                  // the network error number on failure
    std::unique_ptr<QNetworkReply> m_reply; // the finished reply, its body unread
};

// Splits a web address: it must hold "://", name the http or https scheme
// (in any case) and a server. The scheme comes back in lower case.
bool SplitHttpUrl(const QString& text, QUrl& url);

// A request that always goes to the server, is never cached and, unless the
// caller allows it, never redirected.
QNetworkRequest MakeHttpRequest(const QUrl& url);

HttpExchangeResult RunHttpExchange(HttpSession& session, const QNetworkRequest& request,
                                   const QByteArray& verb, const QByteArray& body,
                                   CertificateChecks checks);
