#include "web/tests/HttpTestServer.h"

#include <QTcpSocket>

namespace {

// The length of a complete request in the buffer, or -1 while it is partial.
qsizetype CompleteRequestLength(const QByteArray& buffer)
{
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return -1;
    qsizetype bodyLength = 0;
    for (const QByteArray& line : buffer.left(end).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.toLower().startsWith("content-length:"))
            bodyLength = trimmed.mid(15).trimmed().toLongLong();
    }
    const qsizetype total = end + 4 + bodyLength;
    return buffer.size() >= total ? total : -1;
}

QByteArray MakeReply(int status, const QByteArray& reason, const QByteArray& body,
                     const QByteArray& extraHeaders)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n" + extraHeaders
        + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
        + body;
}

// The path of a request line "VERB /path HTTP/1.1".
QByteArray RequestPath(const QByteArray& request)
{
    return request.left(request.indexOf("\r\n")).split(' ').value(1);
}

} // namespace

HttpTestServer::HttpTestServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &HttpTestServer::OnNewConnection);
    SetReply(200, "OK", "");
}

quint16 HttpTestServer::Port() const
{
    return m_server.serverPort();
}

QString HttpTestServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(path);
}

void HttpTestServer::SetRawReply(const QByteArray& bytes)
{
    m_reply = bytes;
}

void HttpTestServer::SetReply(int status, const QByteArray& reason, const QByteArray& body,
                              const QByteArray& extraHeaders)
{
    m_reply = MakeReply(status, reason, body, extraHeaders);
}

void HttpTestServer::SetReplyFor(const QByteArray& path, int status, const QByteArray& reason,
                                 const QByteArray& body, const QByteArray& extraHeaders)
{
    m_pathReplies.insert(path, MakeReply(status, reason, body, extraHeaders));
}

void HttpTestServer::SetHang(bool hang)
{
    m_hang = hang;
}

const QList<QByteArray>& HttpTestServer::Requests() const
{
    return m_requests;
}

quint16 HttpTestServer::UnusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when probe goes
}

void HttpTestServer::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HttpTestServer::OnReadyRead(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const bool looksLikeHttp = !buffer.isEmpty() && QChar::isLetter(uchar(buffer[0]));
    if (!looksLikeHttp) {
        // Not a plain request (a TLS hello, say): keep it and hang up.
        m_requests.append(buffer);
        socket->disconnectFromHost();
        return;
    }
    const qsizetype length = CompleteRequestLength(buffer);
    if (length < 0)
        return;
    m_requests.append(buffer.left(length));
    socket->setProperty("buffer", buffer.mid(length));
    if (m_hang)
        return;
    socket->write(m_pathReplies.value(RequestPath(m_requests.last()), m_reply));
    socket->disconnectFromHost();
}
