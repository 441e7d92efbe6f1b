#pragma once

#include <QString>
#include <memory>

class QNetworkAccessManager;

// A web session owned by its caller: the network access manager that keeps
// the connections open between requests, and the time-outs every exchange on
// it obeys. Created and used on one thread.
class HttpSession
{
public:
    HttpSession();
    ~HttpSession();
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // Connect and send both have to finish before the request is out; the
    // receive time-outs bound each wait for more of the reply. A connection
    // that cannot be made is tried connectRetries times in all.
    void SetTimeouts(int connectMs, int sendMs, int receiveMs,
                     int dataSendMs, int dataReceiveMs, int connectRetries);

    // Tests shorten every time-out by this divisor (1 restores them).
    void SetTimeoutDivisorForTests(int divisor);

    int SendPhaseTimeoutMs() const;
    int ReceivePhaseTimeoutMs() const;
    int ConnectAttempts() const;

    // Created on first use, on the calling thread.
    QNetworkAccessManager& Manager();

    // Drops the open connections; the next request connects anew.
    void CloseConnections();

private:
    std::unique_ptr<QNetworkAccessManager> m_manager;
    int m_connectTimeoutMs;
    int m_sendTimeoutMs;
    int m_receiveTimeoutMs;
    int m_dataSendTimeoutMs;
    int m_dataReceiveTimeoutMs;
    int m_connectRetries;
    int m_timeoutDivisor = 1;
};

// A connection of a session to one server and port; requests made through it
// go to that server whatever server their URL names, with the URL's path.
struct HttpConnection
{
    QString m_strServer;
    int m_nPort = 80;
};
