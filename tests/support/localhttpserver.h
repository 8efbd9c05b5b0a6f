#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

#include <QFile>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdlib>
#include <memory>

// A canned answer of the local server; a held one sends the second half of
// its body only after a pause.
struct CannedReply
{
    QByteArray head;
    QByteArray body;
    bool hold = false;
};
Q_DECLARE_METATYPE(CannedReply)

inline CannedReply httpReply(const QByteArray &status, const QByteArray &body)
{
    const QByteArray length = QByteArray::number(body.size());
    return {"HTTP/1.1 " + status + "\r\nConnection: close\r\nContent-Length: " + length + "\r\n", body};
}

// What a captive portal sends in place of any file.
const QByteArray htmlPage = "<!DOCTYPE html>\n<html><body>Please sign in to use this network.</body></html>\n";

// Serves the replies by path on 127.0.0.1 (a 404 page for any other path)
// while the server lives, and closes each connection after its reply.
inline std::unique_ptr<QTcpServer> serve(const QHash<QString, CannedReply> &replies)
{
    auto server = std::make_unique<QTcpServer>();
    server->listen(QHostAddress::LocalHost);
    QObject::connect(server.get(), &QTcpServer::newConnection, [listening = server.get(), replies]() {
        QTcpSocket *socket = listening->nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, [socket, replies]() {
            if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            const QString path = QString::fromLatin1(socket->readAll().split(' ').value(1));
            const CannedReply reply = replies.value(path, httpReply("404 Not Found", htmlPage));
            const qsizetype sent = reply.hold ? reply.body.size() / 2 : reply.body.size();
            socket->write(reply.head + "\r\n" + reply.body.left(sent));
            QTimer::singleShot(reply.hold ? 300 : 0, socket, [socket, rest = reply.body.mid(sent)]() {
                socket->write(rest);
                socket->disconnectFromHost();
            });
        });
    });
    return server;
}

// Started with this variable set, a test program stands in for the program
// an update starts: before any test runs, it creates the file the variable
// names and ends.
const char *const standInMark = "NIMBREL_TEST_STANDIN_MARK";
inline const bool standingIn = []() {
    if (qEnvironmentVariableIsSet(standInMark)) {
        QFile(qEnvironmentVariable(standInMark)).open(QIODevice::WriteOnly);
        std::exit(0);
    }
    return false;
}();

#endif
