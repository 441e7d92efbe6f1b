#include "web/HttpSession.h"

#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <algorithm>

namespace {

// The platform's defaults for a session nobody configured.
constexpr int kDefaultConnectMs = 60000;
constexpr int kDefaultTransferMs = 30000;

// The system's proxy configuration (on Linux the proxy variables of the
// environment), asked per request like the original's pre-configured session.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override
    {
        return systemProxyForQuery(query);
    }
};

} // namespace

HttpSession::HttpSession()
    : m_connectTimeoutMs(kDefaultConnectMs)
    , m_sendTimeoutMs(kDefaultTransferMs)
    , m_receiveTimeoutMs(kDefaultTransferMs)
    , m_dataSendTimeoutMs(kDefaultTransferMs)
    , m_dataReceiveTimeoutMs(kDefaultTransferMs)
    , m_connectRetries(1)
{
}

HttpSession::~HttpSession() = default;

void HttpSession::SetTimeouts(int connectMs, int sendMs, int receiveMs,
                              int dataSendMs, int dataReceiveMs, int connectRetries)
{
    m_connectTimeoutMs = connectMs;
    m_sendTimeoutMs = sendMs;
    m_receiveTimeoutMs = receiveMs;
    m_dataSendTimeoutMs = dataSendMs;
    m_dataReceiveTimeoutMs = dataReceiveMs;
    m_connectRetries = connectRetries;
}

void HttpSession::SetTimeoutDivisorForTests(int divisor)
{
    m_timeoutDivisor = std::max(1, divisor);
}

int HttpSession::SendPhaseTimeoutMs() const
{
    return std::max(1, (m_connectTimeoutMs + std::max(m_sendTimeoutMs, m_dataSendTimeoutMs))
                           / m_timeoutDivisor);
}

int HttpSession::ReceivePhaseTimeoutMs() const
{
    return std::max(1, std::max(m_receiveTimeoutMs, m_dataReceiveTimeoutMs) / m_timeoutDivisor);
}

int HttpSession::ConnectAttempts() const
{
    return std::max(1, m_connectRetries);
}

QNetworkAccessManager& HttpSession::Manager()
{
    if (!m_manager) {
        m_manager = std::make_unique<QNetworkAccessManager>();
        m_manager->setProxyFactory(new SystemProxyFactory);
        m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    return *m_manager;
}

void HttpSession::CloseConnections()
{
    if (m_manager)
        m_manager->clearConnectionCache();
}
