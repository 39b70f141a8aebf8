#pragma once
// How a later start reaches the running program: a local socket beside the instance lock,
// reachable by the user alone. The later start sends its command line; the running
// program carries it out and answers with an exit code and a text to print.
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;

namespace zw {

struct InstanceReply {
    int exitCode = 0;
    QString text;  // for stdout when the exit code is 0, else for stderr
};

class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<InstanceReply(const QStringList& arguments)>;

    // directory: where the lock lies. The handler runs on the GUI thread.
    InstanceServer(const QString& directory, Handler handler, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Only the lock's holder may call it: a socket left by a killed instance is replaced.
    // False when it cannot listen; the program then runs on, unreachable for later starts.
    bool listen();

    static QString socketPath(const QString& directory);

private:
    void serve();

    QString path_;
    Handler handler_;
    QLocalServer* server_ = nullptr;
};

// Sends the command line to the running program and waits for its answer until the
// deadline. nullopt when no program listens (yet), or when it did not answer in time;
// `listening` then tells which.
std::optional<InstanceReply> sendToRunningInstance(const QString& directory, const QStringList& arguments,
                                                   int timeoutMs, bool* listening = nullptr);

} // namespace zw
