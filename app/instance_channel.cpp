#include "app/instance_channel.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <cstdio>

namespace zw {

namespace {

// Written before each message, so that anything else that finds the socket is refused.
constexpr quint32 kMagic = 0x5A570001;  // "ZW", version 1
constexpr auto kStreamVersion = QDataStream::Qt_6_4;

// A message that a peer sends in pieces arrives in pieces; this reads it once whole.
template <typename Read>
bool readWhole(QLocalSocket& socket, Read read)
{
    QDataStream in(&socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    quint32 magic = 0;
    in >> magic;
    read(in);
    if (!in.commitTransaction())
        return false;
    if (magic != kMagic) {
        socket.abort();
        return false;
    }
    return true;
}

} // namespace

InstanceServer::InstanceServer(const QString& directory, Handler handler, QObject* parent)
    : QObject(parent), path_(socketPath(directory)), handler_(std::move(handler))
{
}

InstanceServer::~InstanceServer() = default;

QString InstanceServer::socketPath(const QString& directory)
{
    return QDir(directory).filePath(QStringLiteral("zeitwache.socket"));
}

bool InstanceServer::listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path_);
    if (!server_->listen(path_)) {
        std::fprintf(stderr, "Zeitwache: %s kann nicht angelegt werden; ein weiterer Aufruf erreicht das "
                             "laufende Programm nicht.\n",
                     qPrintable(QDir::toNativeSeparators(path_)));
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::serve);
    return true;
}

void InstanceServer::serve()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QStringList arguments;
            if (!readWhole(*socket, [&](QDataStream& in) { in >> arguments; }))
                return;
            const InstanceReply reply = handler_(arguments);
            QDataStream out(socket);
            out.setVersion(kStreamVersion);
            out << kMagic << qint32(reply.exitCode) << reply.text;
            socket->disconnectFromServer();  // after what was written has gone
        });
    }
}

std::optional<InstanceReply> sendToRunningInstance(const QString& directory, const QStringList& arguments,
                                                   int timeoutMs, bool* listening)
{
    const QDeadlineTimer deadline(timeoutMs);
    const auto remaining = [&] { return static_cast<int>(qMax<qint64>(1, deadline.remainingTime())); };
    if (listening != nullptr)
        *listening = false;
    QLocalSocket socket;
    socket.connectToServer(InstanceServer::socketPath(directory));
    if (!socket.waitForConnected(remaining()))
        return std::nullopt;
    if (listening != nullptr)
        *listening = true;
    {
        QDataStream out(&socket);
        out.setVersion(kStreamVersion);
        out << kMagic << arguments;
    }
    socket.flush();
    InstanceReply reply;
    qint32 code = 0;
    while (!deadline.hasExpired()) {
        if (readWhole(socket, [&](QDataStream& in) { in >> code >> reply.text; })) {
            reply.exitCode = code;
            return reply;
        }
        if (socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() == 0)
            break;
        socket.waitForReadyRead(remaining());
    }
    return std::nullopt;
}

} // namespace zw
