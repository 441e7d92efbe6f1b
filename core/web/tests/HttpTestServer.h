#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

// A scripted HTTP server on 127.0.0.1 for the client tests. It runs on the
// test's thread and serves while the client waits in its local event loop.
// Every request is answered with the same raw bytes, or those set for its
// path, after which the connection is closed; in hang mode requests are read
// and never answered.
class HttpTestServer : public QObject
{
public:
    HttpTestServer();

    quint16 Port() const;
    QString Url(const QString& path) const;

    void SetRawReply(const QByteArray& bytes);
    void SetReply(int status, const QByteArray& reason, const QByteArray& body,
                  const QByteArray& extraHeaders = QByteArray());
    // The reply to requests for one path (with its query), before the common one.
    void SetReplyFor(const QByteArray& path, int status, const QByteArray& reason,
                     const QByteArray& body, const QByteArray& extraHeaders = QByteArray());
    void SetHang(bool hang);

    // Raw bytes of each request received, headers and body.
    const QList<QByteArray>& Requests() const;

    // A port of this host on which nothing listens.
    static quint16 UnusedPort();

private:
    void OnNewConnection();
    void OnReadyRead(QTcpSocket* socket);

    QTcpServer m_server;
    QByteArray m_reply;
    QHash<QByteArray, QByteArray> m_pathReplies;
    bool m_hang = false;
    QList<QByteArray> m_requests;
};
