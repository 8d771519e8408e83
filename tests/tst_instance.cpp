// One copy per user: the lock across real processes, the activation channel.
#include "ActivationChannel.h"
#include "InstanceLock.h"

#include <QtTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace pausewell::platform;

namespace {

const QString kProgram = QStringLiteral(PAUSEWELL_BIN_DIR "/pausewell");

// Connects a raw client that sends `bytes` (possibly nothing) and stays open.
int rawClient(const QString &endpoint, const QByteArray &bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(endpoint);
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    if (!bytes.isEmpty()) [[maybe_unused]]
        auto n = ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    return fd;
}

} // namespace

class TestInstance : public QObject {
    Q_OBJECT
    QTemporaryDir runtime;
    QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");

    QProcess *launch() {
        auto *p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(kProgram, {});
        return p;
    }

    // The running copy is up once it listens for activation requests.
    bool waitUntilListening() {
        const QString endpoint = activationEndpoint(QStringLiteral("PauseWELL"));
        return QTest::qWaitFor([&] { return QFileInfo(endpoint).exists(); }, 20000);
    }

private slots:
    void initTestCase() {
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    void cleanupTestCase() { qputenv("XDG_RUNTIME_DIR", savedRuntime); }

    void endpointIgnoresCase() {
        QCOMPARE(activationEndpoint(QStringLiteral("PauseWELL")),
                 activationEndpoint(QStringLiteral("PauseWell")));
        QVERIFY(activationEndpoint(QStringLiteral("PauseWELL")).startsWith(runtime.path() + '/'));
    }

    void secondLaunchHandsOverAndKilledCopyFreesTheName() {
        QProcess *first = launch();
        QVERIFY(first->waitForStarted());
        QVERIFY(waitUntilListening());

        QProcess *second = launch();
        QVERIFY(second->waitForFinished(5000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);

        // However the first copy ends, the name is free for the next one.
        ::kill(pid_t(first->processId()), SIGKILL);
        QVERIFY(first->waitForFinished(5000));
        QProcess *third = launch();
        QVERIFY(third->waitForStarted());
        QVERIFY(!third->waitForFinished(1500)); // runs, does not hand over
        QVERIFY(waitUntilListening());          // and took over the stale socket

        // Termination by the session (logoff, kill) is a clean end with code 0.
        third->terminate();
        QVERIFY(third->waitForFinished(10000));
        QCOMPARE(third->exitStatus(), QProcess::NormalExit);
        QCOMPARE(third->exitCode(), 0);
    }

    void lockIsExclusiveWithinTheUser() {
        // Our own process takes the lock under a name of its own, a child cannot.
        QCOMPARE(acquireInstanceLock(QStringLiteral("lock-test")), LockResult::Acquired);
        QProcess child;
        child.start(QStringLiteral("flock"),
                    {QStringLiteral("-n"), runtime.path() + QStringLiteral("/lock-test.lock"),
                     QStringLiteral("true")});
        QVERIFY(child.waitForFinished(5000));
        QVERIFY(child.exitCode() != 0);
    }

    void listenerAcceptsOnlyWellFormedRequests() {
        ActivationListener listener;
        QVERIFY(listener.listen(QStringLiteral("PauseWell")));
        QSignalSpy requests(&listener, &ActivationListener::activationRequested);
        const QString endpoint = activationEndpoint(QStringLiteral("PauseWELL"));

        // Garbage, an oversized message, a silent client and a flood: all ignored.
        QList<int> fds;
        fds << rawClient(endpoint, QByteArray("\x00\xff garbage\n", 11));
        fds << rawClient(endpoint, QByteArray(1 << 16, 'a'));
        fds << rawClient(endpoint, QByteArray("activate")); // never finished
        fds << rawClient(endpoint, QByteArray());
        for (int i = 0; i < 40; ++i)
            fds << rawClient(endpoint, QByteArray());
        QTest::qWait(ActivationListener::kClientTimeoutMs + 500);
        QCOMPARE(requests.size(), 0);
        for (int fd : fds)
            if (fd >= 0)
                ::close(fd);

        // The event loop stayed free, and a real request still gets through.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(sendActivationRequest(QStringLiteral("PauseWELL")));
        QTRY_COMPARE(requests.size(), 1);
        QVERIFY(sendActivationRequest(QStringLiteral("PAUSEWELL")));
        QTRY_COMPARE(requests.size(), 2);

        listener.stop();
        QVERIFY(!sendActivationRequest(QStringLiteral("PauseWELL"))); // nobody listens: no hang
        QTest::qWait(100);
        QCOMPARE(requests.size(), 2);
    }

    void senderDoesNotWaitForABusyCopy() {
        // A listener whose thread never runs its event loop: the request still goes out at once.
        ActivationListener listener;
        QVERIFY(listener.listen(QStringLiteral("PauseWELL")));
        QVERIFY(sendActivationRequest(QStringLiteral("PauseWELL"), 800));
    }
};

QTEST_GUILESS_MAIN(TestInstance)
#include "tst_instance.moc"
