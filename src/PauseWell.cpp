// Pause WELL: the entry. One copy per user; a second launch asks the running copy
// to come forward and ends.
#include "ActivationChannel.h"
#include "Application.h"
#include "InstanceLock.h"
#include "PauseWellMain.h"

#include <cstdio>
#include <memory>

#ifndef PAUSEWELL_TIME_DIVISOR
#define PAUSEWELL_TIME_DIVISOR 1
#endif

namespace {

constexpr char kInstanceName[] = "PauseWELL";

pausewell::Timings programTimings() {
    // The test build of this file divides the durations; the product's divisor is 1.
    constexpr int divisor = PAUSEWELL_TIME_DIVISOR;
    const pausewell::Timings standard;
    return {standard.positionMs / divisor, standard.reminderPauseMs / divisor,
            standard.reminderPeriodMs / divisor};
}

} // namespace

int main(int argc, char **argv) {
    using namespace pausewell;

    const platform::LockResult lock =
        platform::acquireInstanceLock(QString::fromLatin1(kInstanceName));
    if (lock == platform::LockResult::HeldByOther) {
        platform::sendActivationRequest(QString::fromLatin1(kInstanceName));
        return 0;
    }

    platform::prepareProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "pausewell: cannot start: no display to show the window on "
                             "(DISPLAY is not set)\n");
        return 1;
    }

    // The program takes no command line; Qt sees only the program name.
    int qtArgc = argc > 0 ? 1 : 0;
    platform::Application app(qtArgc, argv);

    auto form = std::make_unique<TPauseWELLMainForm>(programTimings());
    QObject::connect(form.get(), &TPauseWELLMainForm::closed, &app, &QCoreApplication::quit);
    platform::TerminationSignals terminationSignals([&form] { form->close(); });

    form->show();
    const int code = app.exec();
    form.reset(); // destroyed on the way out: listener removed, media closed
    return code;
}
