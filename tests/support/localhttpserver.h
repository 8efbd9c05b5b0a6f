#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

#include <QFile>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <memory>

// A canned answer of the local server. A paused one sends the second half of
// its body only after a pause; a stalled one never sends it and keeps the
// connection open; an endless one repeats its body for ever; a dripping one
// sends it in thirty pieces, one every 100 ms, three seconds in all.
struct CannedReply
{
    enum Pace { AtOnce, Paused, Stalled, Endless, Dripping };
    QByteArray head;
    QByteArray body;
    Pace pace = AtOnce;
};
Q_DECLARE_METATYPE(CannedReply)

inline CannedReply httpReply(const QByteArray &status, const QByteArray &body)
{
    const QByteArray length = QByteArray::number(body.size());
    return {"HTTP/1.1 " + status + "\r\nConnection: close\r\nContent-Length: " + length + "\r\n", body};
}

// A reply that announces no length: the body ends where the connection does.
inline CannedReply unannounced(const QByteArray &body, CannedReply::Pace pace = CannedReply::AtOnce)
{
    return {"HTTP/1.1 200 OK\r\nConnection: close\r\n", body, pace};
}

// What a captive portal sends in place of any file.
const QByteArray htmlPage = "<!DOCTYPE html>\n<html><body>Please sign in to use this network.</body></html>\n";

inline QUrl updateFolderOf(const QTcpServer &server)
{
    return QUrl(QString("http://127.0.0.1:%1/update/").arg(server.serverPort()));
}

// Serves the replies by file name in the update folder (updateFolderOf) on
// 127.0.0.1, a 404 page for any other path, while the server lives, and
// closes each connection after its reply. Its property "requests" counts the
// requests it has had.
inline std::unique_ptr<QTcpServer> serve(const QHash<QString, CannedReply> &replies)
{
    auto server = std::make_unique<QTcpServer>();
    server->listen(QHostAddress::LocalHost);
    QObject::connect(server.get(), &QTcpServer::newConnection, [listening = server.get(), replies]() {
        QTcpSocket *socket = listening->nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [listening, socket, replies]() {
            if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            const QString path = QString::fromLatin1(socket->readAll().split(' ').value(1));
            listening->setProperty("requests", listening->property("requests").toInt() + 1);
            const QString name = path.startsWith("/update/") ? path.mid(8) : QString();
            const CannedReply reply = replies.value(name, httpReply("404 Not Found", htmlPage));
            const qsizetype sent = reply.pace == CannedReply::AtOnce ? reply.body.size()
                : reply.pace == CannedReply::Dripping                ? 0
                                                                     : reply.body.size() / 2;
            socket->write(reply.head + "\r\n" + reply.body.left(sent));
            if (reply.pace == CannedReply::Stalled)
                return;
            if (reply.pace == CannedReply::Endless) {
                auto *timer = new QTimer(socket);
                QObject::connect(timer, &QTimer::timeout, socket, [socket, body = reply.body]() {
                    if (socket->bytesToWrite() < (1 << 20))
                        socket->write(body);
                });
                timer->start(1);
                return;
            }
            if (reply.pace == CannedReply::Dripping) {
                auto *timer = new QTimer(socket);
                const qsizetype piece = reply.body.size() / 30 + 1;
                QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, piece, rest = reply.body]() mutable {
                    socket->write(rest.left(piece));
                    rest.remove(0, piece);
                    if (!rest.isEmpty())
                        return;
                    timer->stop();
                    socket->disconnectFromHost();
                });
                timer->start(100);
                return;
            }
            const int pause = reply.pace == CannedReply::Paused ? 300 : 0;
            QTimer::singleShot(pause, socket, [socket, rest = reply.body.mid(sent)]() {
                socket->write(rest);
                socket->disconnectFromHost();
            });
        });
    });
    return server;
}

#endif
