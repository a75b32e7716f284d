#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace paysum {

// How a second start of the windows reaches the copy already running on the same data folder: a
// local socket named for the folder, in the user's private runtime folder, on which the running
// copy answers a request to come forward.
class RunningCopy : public QObject {
    Q_OBJECT

public:
    explicit RunningCopy(QObject* parent = nullptr);

    // The socket's path for a data folder, or nothing when there is no runtime folder private to
    // the user.
    static QString SocketPath(const QString& folder);

    // Listens on the folder's socket, calling `raise` for every request. Call only while holding
    // the folder's single-instance lock: a socket left by a copy that was killed is removed. False
    // when it cannot listen.
    bool Listen(const QString& folder, std::function<void()> raise);

    // Asks the copy running on the folder to come forward and waits at most `timeoutMs` for its
    // answer, serving events meanwhile. True when it answered.
    static bool AskToRaise(const QString& folder, int timeoutMs = 3000);

private:
    QLocalServer* server_ = nullptr;
    std::function<void()> raise_;
};

}  // namespace paysum
