#include "web/HttpExchange.h"

#include "web/HttpSession.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>

namespace {

bool IsPassableCertificateError(QSslError::SslError error, CertificateChecks checks)
{
    switch (error) {
    case QSslError::CertificateExpired:
    case QSslError::CertificateNotYetValid:
    case QSslError::HostNameMismatch:
        return checks != CertificateChecks::Full;
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return checks == CertificateChecks::IgnoreDateNameAndAuthority;
    default:
        return false;
    }
}

// Errors Qt raises for a reply that did arrive whole but carries a status
// outside 2xx; the status decides those, not the error.
bool IsStatusError(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

struct Attempt
{
    std::unique_ptr<QNetworkReply> reply;
    bool timedOut = false;
};

Attempt SendOnce(HttpSession& session, const QNetworkRequest& request, const QByteArray& verb,
                 const QByteArray& body, CertificateChecks checks)
{
    Attempt attempt;
    attempt.reply.reset(session.Manager().sendCustomRequest(request, verb, body));
    QNetworkReply* reply = attempt.reply.get();

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    const int receiveMs = session.ReceivePhaseTimeoutMs();
    // Until the request is out the connect and send time-outs run; after that
    // each wait for more of the reply has the receive time-out.
    const auto progressed = [&timer, receiveMs] { timer.start(receiveMs); };
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::requestSent, &timer, progressed);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &timer, progressed);
    QObject::connect(reply, &QNetworkReply::readyRead, &timer, progressed);
    QObject::connect(&timer, &QTimer::timeout, reply, [&] {
        attempt.timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply, checks](const QList<QSslError>& errors) {
        for (const QSslError& error : errors) {
            if (!IsPassableCertificateError(error.error(), checks))
                return;
        }
        reply->ignoreSslErrors(errors);
    });
    timer.start(session.SendPhaseTimeoutMs());
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();
    return attempt;
}

} // namespace

bool SplitHttpUrl(const QString& text, QUrl& url)
{
    if (!text.contains(QLatin1String("://")))
        return false;
    url = QUrl(text, QUrl::TolerantMode);
    const QString scheme = url.scheme(); // QUrl keeps schemes in lower case
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}

QNetworkRequest MakeHttpRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    return request;
}

HttpExchangeResult RunHttpExchange(HttpSession& session, const QNetworkRequest& request,
                                   const QByteArray& verb, const QByteArray& body,
                                   CertificateChecks checks)
{
    HttpExchangeResult result;
    for (int attemptNo = 1;; ++attemptNo) {
        Attempt attempt = SendOnce(session, request, verb, body, checks);
        const QNetworkReply::NetworkError error = attempt.reply->error();
        // Qt does not tell when a connection is up, so a time-out counts as
        // a broken exchange and only a refused connection is tried again.
        const bool notConnected = error == QNetworkReply::ConnectionRefusedError;
        if (notConnected && attemptNo < session.ConnectAttempts())
            continue;

        const QVariant status = attempt.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        result.m_nStatus = status.isValid() ? status.toInt() : 0;
        result.m_nErrorCode = attempt.timedOut ? QNetworkReply::TimeoutError : error;
        if (error == QNetworkReply::HostNotFoundError)
            result.m_outcome = HttpOutcome::HostNotFound;
        else if (notConnected)
            result.m_outcome = HttpOutcome::ConnectFailed;
        else if (!attempt.timedOut && result.m_nStatus > 0
                 && (error == QNetworkReply::NoError || IsStatusError(error)))
            result.m_outcome = HttpOutcome::Replied;
        else
            result.m_outcome = HttpOutcome::Failed;
        result.m_reply = std::move(attempt.reply);
        return result;
    }
}
