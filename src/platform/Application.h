#pragma once

#include <QApplication>
#include <QObject>

#include <functional>

namespace pausewell::platform {

// Process set-up done before the application object exists: choose a Qt platform
// that can keep a window on top and place it, avoid a GL context the program has
// no use for, pick the media backend that works here, and turn Qt's fatal start-up
// errors into a clear message and exit code 1 instead of an abort.
void prepareProcess();

// The application object. An exception that escapes an event handler is shown in
// the error box instead of crossing the event loop.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Calls `onSignal` on the UI thread when SIGTERM, SIGINT or SIGHUP arrives
// (logoff, shutdown, kill, Ctrl+C), so the program can end cleanly.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    std::function<void()> m_onSignal;
};

} // namespace pausewell::platform
