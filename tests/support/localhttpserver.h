#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A canned answer of the local server.
struct CannedReply
{
    QByteArray status = "200 OK";
    QByteArray body;
    bool announceLength = true;
    // Body bytes sent before the connection is closed; -1 sends all.
    int dropAfter = -1;
    // Sends the first half of the body and the rest only on release().
    // (The client reports progress at most every 100 ms, and only when data
    // arrives: release a little more after a pause to see it.)
    bool hold = false;

    static CannedReply ok(const QByteArray &body) { return {"200 OK", body}; }
    static CannedReply notFound() { return {"404 Not Found", htmlPage()}; }
    static QByteArray htmlPage()
    {
        return "<!DOCTYPE html>\n<html><head><title>Sign in</title></head>"
               "<body>Please sign in to use this network.</body></html>\n";
    }
};

// An HTTP server on 127.0.0.1 that answers GET requests with canned replies
// (a 404 page for any path not published) and closes each connection.
class LocalHttpServer
{
public:
    LocalHttpServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this]() {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                socket->setParent(&server);
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket]() { readRequest(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QUrl base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort())); }

    void publish(const QString &path, const CannedReply &reply) { replies.insert(path, reply); }
    int requests(const QString &path) const { return counts.value(path); }

    // Sends the next bytes of every held reply, all the rest when negative,
    // and ends the replies that are complete.
    void release(int bytes = -1)
    {
        for (Held &held : heldReplies) {
            if (!held.socket)
                continue;
            const QByteArray next = bytes < 0 ? held.rest : held.rest.left(bytes);
            held.socket->write(next);
            held.rest.remove(0, next.size());
            if (held.rest.isEmpty())
                held.socket->disconnectFromHost();
        }
        heldReplies.removeIf([](const Held &held) { return !held.socket || held.rest.isEmpty(); });
    }

private:
    struct Held
    {
        QPointer<QTcpSocket> socket;
        QByteArray rest;
    };

    void readRequest(QTcpSocket *socket)
    {
        QByteArray &request = pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
        pending.remove(socket);
        const QString path = words.size() > 1 ? QString::fromLatin1(words.at(1)) : QString();
        ++counts[path];
        const CannedReply reply = replies.value(path, CannedReply::notFound());

        QByteArray head = "HTTP/1.1 " + reply.status + "\r\nConnection: close\r\n";
        if (reply.announceLength)
            head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
        head += "\r\n";
        QByteArray body = reply.body;
        if (reply.dropAfter >= 0)
            body.truncate(reply.dropAfter);
        if (reply.hold) {
            const int half = int(body.size() / 2);
            socket->write(head + body.left(half));
            heldReplies.append({socket, body.mid(half)});
            return;
        }
        socket->write(head + body);
        socket->disconnectFromHost();
    }

    QTcpServer server;
    QHash<QString, CannedReply> replies;
    QHash<QString, int> counts;
    QHash<QTcpSocket *, QByteArray> pending;
    QList<Held> heldReplies;
};

#endif
