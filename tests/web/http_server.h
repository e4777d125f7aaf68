#pragma once

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A tiny HTTP/1.0 server for the browser tests: fixed responses by path, one request
// per connection.
class HttpServer : public QObject {
    Q_OBJECT
public:
    struct Response {
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body;
        QByteArray extraHeaders; // each line ending in \r\n
    };

    HttpServer() {
        connect(&m_server, &QTcpServer::newConnection, this, &HttpServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    void route(const QString &path, Response response) { m_routes.insert(path, response); }
    QUrl url(const QString &path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    QStringList requests;

private:
    void accept() {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
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
        QByteArray reply;
        if (m_routes.contains(path)) {
            const Response &r = m_routes[path];
            reply = "HTTP/1.0 200 OK\r\nContent-Type: " + r.contentType +
                    "\r\nContent-Length: " + QByteArray::number(r.body.size()) + "\r\n" +
                    r.extraHeaders + "Connection: close\r\n\r\n" + r.body;
        } else {
            reply = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        socket->write(reply);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
