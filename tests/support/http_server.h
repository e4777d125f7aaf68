#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace kalmo::testing {

// A tiny HTTP server on the loopback for tests: canned responses by path (or one for every
// path), one request per connection, or silence that keeps the connection open.
class HttpServer : public QObject {
    Q_OBJECT
public:
    struct Response {
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body;
        QByteArray extraHeaders; // each line ending in \r\n
        int status = 200;
    };

    HttpServer() {
        connect(&m_server, &QTcpServer::newConnection, this, &HttpServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    // The answer for one path; other paths get the fallback (404 unless set).
    void route(const QString &path, Response response) { m_routes.insert(path, response); }
    void respond(int status, const QByteArray &body, const QByteArray &contentType = "text/xml") {
        m_silent = false;
        m_fallback = Response{contentType, body, {}, status};
    }
    // Reads requests and never answers.
    void beSilent() { m_silent = true; }

    QString base() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    QUrl url(const QString &path) const { return QUrl(base() + path); }

    QStringList requests; // paths, in order

signals:
    void clientGone();

private:
    void accept() {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, this, &HttpServer::clientGone);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void serve(QTcpSocket *socket) {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        m_buffers.remove(socket);
        const QString path =
            requestLine.size() > 1 ? QUrl(QString::fromLatin1(requestLine[1])).path() : QString();
        requests << path;
        if (m_silent)
            return;
        const Response &r = m_routes.contains(path) ? m_routes[path] : m_fallback;
        socket->write("HTTP/1.0 " + QByteArray::number(r.status) + " Whatever\r\nContent-Type: " +
                      r.contentType + "\r\nContent-Length: " + QByteArray::number(r.body.size()) +
                      "\r\n" + r.extraHeaders + "Connection: close\r\n\r\n" + r.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    Response m_fallback{"text/plain", {}, {}, 404};
    bool m_silent = false;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

} // namespace kalmo::testing
