// The hourly reminder and the running copy's answer to a second launch.
#include "MediaPlayer.h"
#include "Placement.h"
#include "WindowFixture.h"

#include "WindowTestBase.h"

#include <QtTest>

using namespace pausewell;

namespace {

QPoint corner() {
    return cornerPosition(QGuiApplication::primaryScreen()->geometry(), QSize(449, 250));
}

bool mapped(QWidget &w) {
    return w.windowHandle() && w.windowHandle()->isVisible() && w.isVisible();
}

} // namespace

class TestReminder : public WindowTestBase {
    Q_OBJECT

private slots:
    void init() { beginTest(); }
    void cleanup() { endTest(); }

    void firstTickOnAnUntouchedWindowRunsARoutine() {
        TPauseWELLMainForm form(quickTimings(250, 400, 4000));
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        QSignalSpy shown(&form, &TPauseWELLMainForm::exerciseShown);
        QSignalSpy ended(&form, &TPauseWELLMainForm::routineEnded);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(started.size(), 1); // the show's chime

        QTRY_COMPARE_WITH_TIMEOUT(started.size(), 2, 10000); // the tick's chime
        QVERIFY(started.last().first().toString().endsWith(QStringLiteral("tada.wav")));
        QCOMPARE(shown.size(), 0); // the pause comes first
        QVERIFY(form.ui.cxButton3->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 10000);
        QVERIFY(form.ui.cxButton3->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
        QVERIFY(!form.isVisible());
        // The next tick brings it back, still in the routine layout.
        QTRY_VERIFY_WITH_TIMEOUT(form.isVisible(), 10000);
        QCOMPARE(form.ui.cxMemo1->width(), 189);
        QVERIFY(form.ui.cxButton4->isHidden());
        QVERIFY(boxes->boxes.isEmpty());
    }

    void tickOnAVisibleWindowChimesOnce() {
        TPauseWELLMainForm form(quickTimings(60000, 60000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(100, 100); // not placed again: the window was not hidden
        QTRY_COMPARE(form.pos(), QPoint(100, 100));
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        form.Timer2Timer();
        QCOMPARE(started.size(), 1);
        QCOMPARE(form.pos(), QPoint(100, 100));
        QVERIFY(form.isVisible());
    }

    void tickOnAHiddenWindowShowsAndChimesTwice() {
        TPauseWELLMainForm form(quickTimings(60000, 60000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.cxButton1Click();
        QTRY_VERIFY(!mapped(form));
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        form.Timer2Timer();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(started.size(), 2); // the show's, then the tick's from the beginning
        QCOMPARE(form.pos(), corner());
        QVERIFY(!form.windowMinimised());
    }

    void ticksKeepTheirSchedule() {
        constexpr int kPeriod = 1500;
        TPauseWELLMainForm form(quickTimings(100, 100, kPeriod));
        QElapsedTimer clock;
        clock.start();
        QList<qint64> ticks;
        connect(form.Timer2, &QTimer::timeout, &form, [&] { ticks << clock.elapsed(); });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Routines (started by the ticks and by Start) and Remind in between.
        QTRY_COMPARE_WITH_TIMEOUT(ticks.size(), 1, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!form.routineRunning() && ticks.size() >= 2, 10000);
        if (form.isVisible())
            form.cxButton1Click();
        QTRY_COMPARE_WITH_TIMEOUT(ticks.size(), 4, 20000);
        for (int i = 0; i < ticks.size(); ++i) {
            const qint64 due = qint64(i + 1) * kPeriod;
            // Late by a timer's slack and the handler's own work at most, but never
            // shifted by what happened before: lateness does not add up.
            QVERIFY2(ticks[i] > due - kPeriod / 10 && ticks[i] < due + kPeriod / 2,
                     qPrintable(QStringLiteral("tick %1 at %2 ms").arg(i).arg(ticks[i])));
        }
    }

    void missingChime_data() {
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("expectedBoxes");
        QTest::newRow("hidden window: two boxes") << true << 2;
        QTest::newRow("visible window: one box") << false << 1;
    }
    void missingChime() {
        QFETCH(bool, hidden);
        QFETCH(int, expectedBoxes);
        TPauseWELLMainForm form(quickTimings(300, 300));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (hidden) {
            form.cxButton1Click();
            QTRY_VERIFY(!mapped(form));
        }
        media.remove(QStringLiteral("tada.wav"));
        QSignalSpy shown(&form, &TPauseWELLMainForm::exerciseShown);
        form.Timer2Timer();
        QTRY_COMPARE(boxes->boxes.size(), expectedBoxes);
        for (const auto &box : boxes->boxes) {
            QCOMPARE(box.title, QStringLiteral("Pause WELL"));
            QVERIFY(box.text.contains(QStringLiteral("//Stretch/tada.wav")));
        }
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pos(), corner());
        QTest::qWait(1000);
        QCOMPARE(shown.size(), 0);               // no routine
        QVERIFY(form.ui.cxButton3->isVisible()); // its layout as it was
        QCOMPARE(boxes->boxes.size(), expectedBoxes);
    }

    void activation_data() {
        QTest::addColumn<QString>("state");
        QTest::newRow("iconified") << "iconified";
        QTest::newRow("hidden after Remind") << "hidden";
        QTest::newRow("visible") << "visible";
    }
    void activation() {
        QFETCH(QString, state);
        TPauseWELLMainForm form(quickTimings());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (state == QLatin1String("iconified")) {
            form.setWindowState(Qt::WindowMinimized); // as the task bar does
            QTRY_VERIFY(form.isMinimized());
            QVERIFY(form.isVisible());
        } else if (state == QLatin1String("hidden")) {
            form.cxButton1Click();
            QTRY_VERIFY(!mapped(form));
        } else {
            form.move(200, 200);
            QTRY_COMPARE(form.pos(), QPoint(200, 200));
        }
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);

        // A second launch's request, through the real channel.
        QVERIFY(platform::sendActivationRequest(QStringLiteral("PauseWELL")));

        if (state == QLatin1String("iconified")) {
            QTRY_VERIFY(!form.isMinimized());
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QTRY_COMPARE(started.size(), 1);
            QCOMPARE(form.pos(), corner());
            QTRY_VERIFY(form.isActiveWindow());
            QTest::qWait(300);
            QCOMPARE(started.size(), 1); // restored once: one placement, one chime
        } else if (state == QLatin1String("hidden")) {
            QTest::qWait(500);
            QVERIFY(!form.isVisible());
            QCOMPARE(started.size(), 0);
        } else {
            QTRY_VERIFY(form.isActiveWindow());
            QCOMPARE(form.pos(), QPoint(200, 200));
            QCOMPARE(started.size(), 0);
        }
    }

    void activationDuringARoutineActsAfterIt() {
        TPauseWELLMainForm form(quickTimings(400));
        QSignalSpy ended(&form, &TPauseWELLMainForm::routineEnded);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.cxButton3Click();
        form.setWindowState(Qt::WindowMinimized); // iconified mid-routine from the task bar
        QTRY_VERIFY(form.isMinimized());
        QVERIFY(platform::sendActivationRequest(QStringLiteral("PauseWELL")));
        QTest::qWait(300);
        QVERIFY(form.isMinimized()); // held while the routine runs
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
        // The routine hid the window, so the request, handled now, leaves it hidden.
        QTest::qWait(300);
        QVERIFY(!form.isVisible());
    }

    void destroyedWindowIgnoresRequests() {
        auto form = std::make_unique<TPauseWELLMainForm>(quickTimings());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form.reset();
        QVERIFY(!platform::sendActivationRequest(QStringLiteral("PauseWELL")));
    }
};

QTEST_MAIN(TestReminder)
#include "tst_reminder.moc"
