#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace pausewell::platform {

// Where the running copy listens: a socket in the user's private runtime folder,
// named after the message without regard to case ("PauseWELL" == "PauseWell").
QString activationEndpoint(const QString &messageName);

// The second launch's side: hand the running copy an activation request and
// return within about a second whatever the other side does. False when nothing
// could be delivered (no copy listening, timeout); the caller ends either way.
bool sendActivationRequest(const QString &messageName, int timeoutMs = 800);

// The running copy's side. Emits activationRequested() once per well-formed
// request; anything else on the socket is dropped without blocking.
class ActivationListener : public QObject {
    Q_OBJECT
public:
    explicit ActivationListener(QObject *parent = nullptr);
    ~ActivationListener() override;

    bool listen(const QString &messageName);
    void stop();
    bool isListening() const;

    static constexpr int kMaxClients = 8;
    static constexpr int kClientTimeoutMs = 1000;

signals:
    void activationRequested();

private:
    void acceptClients();
    void readClient(QLocalSocket *client);
    void dropClient(QLocalSocket *client);

    QLocalServer *m_server = nullptr;
    QHash<QLocalSocket *, QByteArray> m_received; // clients still being read
};

} // namespace pausewell::platform
