#include "UpdateServiceServer.h"

#include <QFile>
#include <QTcpSocket>
#include <QUrl>

namespace {

// Targets as QUrl sends them: unreserved characters decoded, hexadecimal
// digits upper case. Both forms mean the same to a web server.
QString Normalized(const QString& target)
{
    return QString::fromUtf8(QUrl::fromEncoded(target.toUtf8()).toEncoded());
}

} // namespace

UpdateServiceServer::UpdateServiceServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &UpdateServiceServer::OnNewConnection);
}

QString UpdateServiceServer::Host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
}

void UpdateServiceServer::Serve(const QString& target, const QByteArray& body)
{
    m_bodies[Normalized(target)] = body;
}

void UpdateServiceServer::ServeFile(const QString& target, const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    Serve(target, file.readAll());
}

void UpdateServiceServer::Forget(const QString& target)
{
    m_bodies.remove(Normalized(target));
}

void UpdateServiceServer::ServeAnyQuery(const QString& path, const QByteArray& body)
{
    m_pathBodies[path] = body;
}

void UpdateServiceServer::CutAfter(const QString& target, qsizetype bytes)
{
    m_cuts[Normalized(target)] = bytes;
}

void UpdateServiceServer::AnnounceNoLength(const QString& target)
{
    m_withoutLength.append(Normalized(target));
}

int UpdateServiceServer::CountOf(const QString& target) const
{
    return static_cast<int>(m_requests.count(Normalized(target)));
}

void UpdateServiceServer::OnNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void UpdateServiceServer::OnReadyRead(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (!buffer.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QString target = Normalized(QString::fromUtf8(requestLine.value(1)));
    m_requests.append(target);

    const QString path = target.left(target.indexOf(u'?'));
    QByteArray reply;
    if (!m_bodies.contains(target) && !m_pathBodies.contains(path)) {
        reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    } else {
        const QByteArray body = m_bodies.contains(target) ? m_bodies[target] : m_pathBodies[path];
        const QByteArray length = m_withoutLength.contains(target)
            ? QByteArray()
            : "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        reply = "HTTP/1.1 200 OK\r\n" + length + "Connection: close\r\n\r\n"
            + body.left(m_cuts.value(target, body.size()));
    }
    socket->write(reply);
    socket->disconnectFromHost();
}
