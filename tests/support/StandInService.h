#pragma once
// A stand-in for a web service on a local port: answers each request with what the test's
// handler says, after an optional delay (a negative delay never answers).

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <vector>

namespace testsupport {

class StandInService : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        int delayMs = 0;
    };
    struct Request {
        QByteArray target, userAgent;
        qint64 atMs;
        qint64 closedAtMs = -1;  // when the player let the connection go
    };
    std::function<Answer(const QByteArray& target)> handler;
    std::vector<Request> requests;

    StandInService()
    {
        clock.start();
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    if (const auto at = asked.find(socket); at != asked.end()) requests[*at].closedAtMs = clock.elapsed();
                    asked.remove(socket);
                    socket->deleteLater();
                });
            }
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()); }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = pending[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) return;
        const QList<QByteArray> lines = buffer.split('\n');
        Request request{lines[0].split(' ').value(1), {}, clock.elapsed()};
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("user-agent:")) request.userAgent = line.mid(11).trimmed();
        requests.push_back(request);
        asked[socket] = requests.size() - 1;
        pending.remove(socket);
        const Answer answer = handler(request.target);
        if (answer.delayMs < 0) return;
        QTimer::singleShot(answer.delayMs, socket, [socket, answer] {
            socket->write("HTTP/1.1 " + QByteArray::number(answer.status) +
                          " X\r\nContent-Type: application/json\r\n"
                          "Content-Length: " +
                          QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n" + answer.body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer server;
    QElapsedTimer clock;
    QHash<QTcpSocket*, QByteArray> pending;
    QHash<QTcpSocket*, size_t> asked;
};

}  // namespace testsupport
