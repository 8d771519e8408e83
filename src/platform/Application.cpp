#include "Application.h"

#include "ErrorBox.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pausewell::platform {
namespace {

bool g_eventLoopEntered = false;
QByteArray g_platformWarning; // Qt names the real cause (no display) just before its fatal error
int g_signalPipe[2] = {-1, -1};

void fatalToExit(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    const QByteArray text = message.toLocal8Bit();
    if (type != QtFatalMsg) {
        if (!g_eventLoopEntered && g_platformWarning.isEmpty() && context.category &&
            qstrncmp(context.category, "qt.qpa", 6) == 0)
            g_platformWarning = text;
        std::fprintf(stderr, "%s\n", text.constData());
        return;
    }
    // Qt would abort (and dump core) on a fatal error such as "no display".
    const QByteArray cause = g_platformWarning.isEmpty() ? text : g_platformWarning;
    std::fprintf(stderr, "pausewell: cannot %s: %s\n", g_eventLoopEntered ? "continue" : "start",
                 cause.constData());
    std::fflush(stderr);
    ::_exit(1);
}

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

void prepareProcess() {
    qInstallMessageHandler(fatalToExit);
    // A Wayland client can neither stay on top nor place itself: prefer XWayland
    // unless the user picked a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Video frames are converted on the CPU; a GL context would cost ~80 MB and CPU.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // Qt 6.4's GStreamer backend is the one that plays without an audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("pausewell"));
    setApplicationDisplayName(QString::fromLatin1(kApplicationTitle));
    // The window decides when the program ends (an error box closing while the
    // window is hidden must not end it).
    setQuitOnLastWindowClosed(false);
    g_eventLoopEntered = true;
}

bool Application::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showErrorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("Unknown error"));
    }
    return false;
}

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char buf[16];
        while (::read(g_signalPipe[0], buf, sizeof buf) > 0) {
        }
        if (m_onSignal)
            m_onSignal();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

TerminationSignals::~TerminationSignals() {
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
    for (int &fd : g_signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace pausewell::platform
