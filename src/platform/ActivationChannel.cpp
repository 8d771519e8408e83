#include "ActivationChannel.h"

#include "InstanceLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace pausewell::platform {
namespace {

constexpr char kRequest[] = "activate\n";
constexpr qsizetype kRequestSize = sizeof(kRequest) - 1;

// Waits for fd to become ready for `events`, never longer than what is left of the budget.
bool waitFor(int fd, short events, const QElapsedTimer &clock, int timeoutMs) {
    for (;;) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, left);
        if (r > 0)
            return (p.revents & events) != 0;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

QString activationEndpoint(const QString &messageName) {
    const QString dir = privateRuntimeDir();
    if (dir.isEmpty())
        return {};
    return dir + QLatin1Char('/') + messageName.toLower() + QLatin1String(".activation");
}

bool sendActivationRequest(const QString &messageName, int timeoutMs) {
    const QByteArray path = QFile::encodeName(activationEndpoint(messageName));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof(addr.sun_path))
        return false;
    std::memcpy(addr.sun_path, path.constData(), static_cast<std::size_t>(path.size()));

    // Plain non-blocking socket: the second launch needs no event loop and must
    // never hang on a busy or stuck running copy.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    bool sent = false;
    int r = ::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof(addr));
    if (r != 0 && (errno == EINPROGRESS || errno == EAGAIN)) {
        int err = 0;
        socklen_t len = sizeof(err);
        if (waitFor(fd, POLLOUT, clock, timeoutMs) &&
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0)
            r = 0;
    }
    if (r == 0) {
        qsizetype done = 0;
        while (done < kRequestSize) {
            const ssize_t n = ::send(fd, kRequest + done,
                                     static_cast<std::size_t>(kRequestSize - done), MSG_NOSIGNAL);
            if (n > 0) {
                done += n;
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                if (!waitFor(fd, POLLOUT, clock, timeoutMs))
                    break;
            } else {
                break;
            }
        }
        sent = done == kRequestSize;
    }
    ::close(fd);
    return sent;
}

ActivationListener::ActivationListener(QObject *parent) : QObject(parent) {}

ActivationListener::~ActivationListener() { stop(); }

bool ActivationListener::listen(const QString &messageName) {
    stop();
    const QString endpoint = activationEndpoint(messageName);
    if (endpoint.isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(kMaxClients);
    connect(m_server, &QLocalServer::newConnection, this, &ActivationListener::acceptClients);
    if (m_server->listen(endpoint))
        return true;
    // A socket left behind by a copy that died: we hold the instance lock, so it is stale.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(endpoint);
        if (m_server->listen(endpoint))
            return true;
    }
    delete m_server;
    m_server = nullptr;
    return false;
}

void ActivationListener::stop() {
    if (!m_server)
        return;
    // Disconnect first so nothing that arrives while we tear down is acted on.
    m_server->disconnect(this);
    for (QLocalSocket *client : m_server->findChildren<QLocalSocket *>())
        client->disconnect(this);
    m_server->close();
    delete m_server;
    m_server = nullptr;
    m_received.clear();
}

bool ActivationListener::isListening() const { return m_server && m_server->isListening(); }

void ActivationListener::acceptClients() {
    while (m_server && m_server->hasPendingConnections()) {
        QLocalSocket *client = m_server->nextPendingConnection();
        if (!client)
            break;
        if (m_received.size() >= kMaxClients) {
            // A flood of connections: refuse rather than queue work on the UI thread.
            client->abort();
            client->deleteLater();
            continue;
        }
        m_received.insert(client, {});
        client->setReadBufferSize(kRequestSize + 1);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readClient(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client] { dropClient(client); });
        // A client that connects and never writes is cut off.
        QTimer::singleShot(kClientTimeoutMs, client, [this, client] { dropClient(client); });
        readClient(client);
    }
}

void ActivationListener::readClient(QLocalSocket *client) {
    const auto it = m_received.find(client);
    if (it == m_received.end())
        return;
    QByteArray &got = it.value();
    got += client->read(kRequestSize + 1 - got.size());
    const QByteArray expected(kRequest, kRequestSize);
    if (got == expected) {
        dropClient(client);
        emit activationRequested();
    } else if (!expected.startsWith(got)) {
        dropClient(client); // garbage or oversized: ignore it
    }
}

void ActivationListener::dropClient(QLocalSocket *client) {
    if (!m_received.remove(client))
        return;
    client->disconnect(this);
    client->abort();
    client->deleteLater();
}

} // namespace pausewell::platform
