#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// The update service as a local HTTP server on 127.0.0.1 for the tests: it
// answers each request target ("/service/v.aspx?..." with its query) with
// the bytes given for it, read from a real file or given as text, and 404
// otherwise. A target can be set to break off after a number of body bytes,
// as a dropped connection does. It serves while the client waits in its local
// event loop on the same thread.
class UpdateServiceServer : public QObject
{
public:
    UpdateServiceServer();

    // "127.0.0.1:port", the service host as the lookup gives it.
    QString Host() const;

    void Serve(const QString& target, const QByteArray& body);
    void ServeFile(const QString& target, const QString& path);
    void Forget(const QString& target);
    // Answers every request of `path`, whatever its query, unless its whole
    // target is served.
    void ServeAnyQuery(const QString& path, const QByteArray& body);
    // The body of `target` is cut after `bytes` bytes, its length announced whole.
    void CutAfter(const QString& target, qsizetype bytes);
    // The reply of `target` announces no length: its body ends where the
    // connection closes, so a cut cannot be told from the end.
    void AnnounceNoLength(const QString& target);

    // The request targets in the order they came in, as the client sent them.
    const QStringList& Requests() const { return m_requests; }
    int CountOf(const QString& target) const;

private:
    void OnNewConnection();
    void OnReadyRead(QTcpSocket* socket);

    QTcpServer m_server;
    QMap<QString, QByteArray> m_bodies;
    QMap<QString, QByteArray> m_pathBodies;
    QMap<QString, qsizetype> m_cuts;
    QStringList m_withoutLength;
    QStringList m_requests;
};
