// The six-position routine, run in the real window with short durations.
#include "MediaPlayer.h"
#include "VideoPanel.h"
#include "Widgets.h"
#include "WindowFixture.h"

#include "WindowTestBase.h"

#include <QtTest>

#include <cmath>

using namespace pausewell;

class TestRoutine : public WindowTestBase {
    Q_OBJECT

    struct Shown {
        int position;
        int index;
        QString counter, heading, instructions;
        bool windowVisible;
    };

    static void record(TPauseWELLMainForm &form, QList<Shown> &log) {
        QObject::connect(&form, &TPauseWELLMainForm::exerciseShown, &form,
                         [&form, &log](int pos, int index) {
                             log << Shown{pos,
                                          index,
                                          form.ui.StaticText1->text(),
                                          form.ui.cxLabel1->text(),
                                          form.ui.cxMemo1->toPlainText(),
                                          form.isVisible()};
                         });
    }

    // Shows the window, seeds its draw and logs what each position puts on screen.
    static bool showSeeded(TPauseWELLMainForm &form, std::uint32_t seed, QList<Shown> &log) {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return false;
        form.draw().seed(seed);
        record(form, log);
        return true;
    }

private slots:
    void init() { beginTest(); }
    void cleanup() { endTest(); }

    void wholeRoutine() {
        // A routine in which one exercise comes up twice in a row.
        const std::uint32_t seed = findSeed([](const QList<int> &d) {
            for (int i = 1; i < d.size(); ++i)
                if (d[i] == d[i - 1])
                    return true;
            return false;
        });
        const QList<int> draws = drawsFor(seed);

        TPauseWELLMainForm form(quickTimings());
        QList<Shown> log;
        QVERIFY(showSeeded(form, seed, log));
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        QSignalSpy ended(&form, &TPauseWELLMainForm::routineEnded);

        QTest::mouseClick(form.ui.cxButton3, Qt::LeftButton);
        // The routine layout: commands gone, text narrowed, the video panel uncovered.
        for (QWidget *gone :
             {static_cast<QWidget *>(form.ui.cxButton4), static_cast<QWidget *>(form.ui.cxButton1),
              static_cast<QWidget *>(form.ui.cxButton3),
              static_cast<QWidget *>(form.ui.cxHyperLinkEdit1)})
            QVERIFY(!gone->isVisible());
        QCOMPARE(form.ui.cxMemo1->geometry(), QRect(12, 56, 189, 153));
        QCOMPARE(form.focusWidget(), form.ui.cxButton2);
        QVERIFY(form.routineRunning());

        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 30000);
        QCOMPARE(ended.first().first().toBool(), true);
        QCOMPARE(log.size(), kRoutinePositions);
        for (int i = 0; i < log.size(); ++i) {
            const Exercise &e = exercise(draws[i]);
            QCOMPARE(log[i].position, i + 1);
            QCOMPARE(log[i].index, draws[i]);
            QCOMPARE(log[i].counter, QStringLiteral("%1/6").arg(i + 1));
            QCOMPARE(log[i].heading, labelDisplayText(qs(e.title)));
            QCOMPARE(log[i].instructions, qs(e.instructions));
            QVERIFY(log[i].windowVisible);
        }
        // Every position opened its own video, the repeated one included.
        QCOMPARE(started.size(), kRoutinePositions);
        for (int i = 0; i < kRoutinePositions; ++i)
            QVERIFY(started[i].first().toString().endsWith(QStringLiteral("//Stretch/") +
                                                           videoFile(draws[i])));

        // Minimised and hidden, still in the routine layout with the last texts.
        QVERIFY(!form.isVisible());
        QVERIFY(form.windowMinimised());
        QCOMPARE(form.ui.StaticText1->text(), QStringLiteral("6/6"));
        QCOMPARE(form.ui.cxLabel1->text(), labelDisplayText(qs(exercise(draws.last()).title)));
        QCOMPARE(form.ui.cxMemo1->width(), 189);
        QVERIFY(form.ui.cxButton3->isHidden());
        QVERIFY(!form.routineRunning());
        QVERIFY(boxes->boxes.isEmpty());
    }

    void ampersandHeading() {
        const std::uint32_t seed = findSeed([](const QList<int> &d) { return d.first() == 12; });
        TPauseWELLMainForm form(quickTimings(60000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.draw().seed(seed);
        form.cxButton3Click();
        QCOMPARE(form.ui.cxLabel1->text(), QStringLiteral("Elbow & Finger Extension,"));
        // The label sized itself to the longer text.
        QVERIFY(form.ui.cxLabel1->width() > 106);
    }

    void drawIsUniform() {
        ExerciseDraw draw;
        draw.seed(12345);
        constexpr int kDraws = 17 * 2000;
        QList<int> counts(kExerciseCount, 0);
        for (int i = 0; i < kDraws; ++i) {
            const int k = draw.next();
            QVERIFY(k >= 0 && k < kExerciseCount);
            ++counts[k];
        }
        double chi2 = 0;
        const double expected = double(kDraws) / kExerciseCount;
        for (int c : counts) {
            QVERIFY(c > 0); // every entry, index 16 included, comes up
            chi2 += (c - expected) * (c - expected) / expected;
        }
        // 16 degrees of freedom: 39.25 is the 0.1% critical value.
        QVERIFY2(chi2 < 39.25, qPrintable(QString::number(chi2)));
    }

    void videoThatCannotOpenEndsTheRoutine_data() {
        QTest::addColumn<QByteArray>("content"); // null: missing
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("garbage") << QByteArray(64 * 1024, '\x5a');
    }
    void videoThatCannotOpenEndsTheRoutine() {
        QFETCH(QByteArray, content);
        // Position 3 draws an exercise that positions 1 and 2 did not.
        const std::uint32_t seed =
            findSeed([](const QList<int> &d) { return d[2] != d[0] && d[2] != d[1]; });
        const QList<int> draws = drawsFor(seed);
        const QString broken = videoFile(draws[2]);
        if (content.isNull())
            media.remove(broken);
        else
            media.write(broken, content);

        TPauseWELLMainForm form(quickTimings());
        QList<Shown> log;
        QVERIFY(showSeeded(form, seed, log));
        QSignalSpy ended(&form, &TPauseWELLMainForm::routineEnded);
        QString counterAtBox, headingAtBox, textAtBox;
        bool visibleAtBox = false, mediaOpenAtBox = true;
        ErrorBoxWatcher &watcher = *boxes;
        watcher.setOnBox([&](const ErrorBoxWatcher::Box &) {
            counterAtBox = form.ui.StaticText1->text();
            headingAtBox = form.ui.cxLabel1->text();
            textAtBox = form.ui.cxMemo1->toPlainText();
            visibleAtBox = form.isVisible();
            mediaOpenAtBox = form.MediaPlayer1->isOpen();
        });

        form.cxButton3Click();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
        QCOMPARE(ended.first().first().toBool(), false);
        QTRY_COMPARE(watcher.boxes.size(), 1);
        QCOMPARE(watcher.boxes.first().title, QStringLiteral("Pause WELL"));
        QVERIFY2(watcher.boxes.first().text.contains(QStringLiteral("//Stretch/") + broken),
                 qPrintable(watcher.boxes.first().text));
        QCOMPARE(counterAtBox, QStringLiteral("3/6"));
        QCOMPARE(headingAtBox, labelDisplayText(qs(exercise(draws[2]).title)));
        QCOMPARE(textAtBox, qs(exercise(draws[2]).instructions));
        QVERIFY(visibleAtBox);
        QVERIFY(!mediaOpenAtBox);

        // No further positions, no hide: the window stays up in the routine layout.
        QTest::qWait(form.timings().positionMs + 500);
        QCOMPARE(log.size(), 3);
        QVERIFY(form.isVisible());
        QVERIFY(!form.windowMinimised());
        QCOMPARE(form.ui.StaticText1->text(), QStringLiteral("3/6"));
        QVERIFY(form.ui.cxButton3->isHidden());
        QCOMPARE(watcher.boxes.size(), 1);
    }

    void truncatedVideoDoesNotStopTheRoutine() {
        const std::uint32_t seed = findSeed([](const QList<int> &d) { return d[1] != d[0]; });
        const QList<int> draws = drawsFor(seed);
        QFile whole(QStringLiteral(PAUSEWELL_MEDIA_DIR "/") + videoFile(draws[0]));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        media.write(videoFile(draws[0]), whole.read(whole.size() / 5));

        TPauseWELLMainForm form(quickTimings(1500));
        QList<Shown> log;
        QVERIFY(showSeeded(form, seed, log));
        form.cxButton3Click();
        // It plays what it can; the position's time still runs and the routine goes on.
        QTRY_COMPARE_WITH_TIMEOUT(log.size(), 2, 20000);
        QCOMPARE(log[1].counter, QStringLiteral("2/6"));
    }

    void framesReachThePanel() {
        TPauseWELLMainForm form(quickTimings(60000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.draw().seed(7);
        form.cxButton3Click();
        auto *panel = form.ui.Panel1;
        QTRY_VERIFY_WITH_TIMEOUT(panel->hasFrame(), 10000);
        QImage first;
        QTRY_VERIFY_WITH_TIMEOUT(colourCount(first = panel->grab().toImage()) >= 8, 10000);
        // Same position a moment later: the picture has moved on.
        QTRY_VERIFY_WITH_TIMEOUT(panel->grab().toImage() != first, 10000);
        QCOMPARE(form.ui.StaticText1->text(), QStringLiteral("1/6"));
        // What the window shows on screen is the same picture.
        const QImage onScreen =
            form.grab(QRect(panel->mapTo(&form, QPoint(0, 0)), panel->size())).toImage();
        QVERIFY(colourCount(onScreen) >= 8);
        QVERIFY(boxes->boxes.isEmpty());
    }

    void heldTickAndActivationRunAfterTheRoutine() {
        TPauseWELLMainForm form(quickTimings(600, 300));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QList<Shown> log;
        record(form, log);
        QSignalSpy ended(&form, &TPauseWELLMainForm::routineEnded);
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);

        QTest::mouseClick(form.ui.cxButton3, Qt::LeftButton);
        QTRY_COMPARE(log.size(), 2);
        // A tick and a second launch arrive while the routine runs: nothing happens yet.
        form.Timer2Timer();
        form.Timer2Timer(); // at most one tick is kept
        form.ActivationRequest();
        QCOMPARE(started.size(), 2);
        QTest::mouseClick(form.ui.cxButton3, Qt::LeftButton); // hidden; and cannot restart it
        form.cxButton3Click();
        QCOMPARE(log.size(), 2);

        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
        QCOMPARE(log.size(), 6);
        // Then the kept tick: the window, just hidden, comes back with the chime ...
        QTRY_VERIFY(form.isVisible());
        QVERIFY(!form.windowMinimised());
        QTRY_VERIFY(started.size() >= 8);
        QVERIFY(started[6].first().toString().endsWith(QStringLiteral("tada.wav"))); // show
        QVERIFY(
            started[7].first().toString().endsWith(QStringLiteral("tada.wav"))); // the tick's own
        // ... and a second routine starts after the pause, once.
        QTRY_COMPARE_WITH_TIMEOUT(log.size(), 7, 10000);
        QCOMPARE(log[6].counter, QStringLiteral("1/6"));
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 2, 20000);
        QTest::qWait(1000);
        QCOMPARE(log.size(), 12); // one kept tick, one extra routine
    }

    void closeDuringRoutineEndsAtOnce() {
        TPauseWELLMainForm form(quickTimings(60000));
        QSignalSpy closed(&form, &TPauseWELLMainForm::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.cxButton3Click();
        QVERIFY(form.routineRunning());
        form.close();
        QCOMPARE(closed.size(), 1);
    }
};

QTEST_MAIN(TestRoutine)
#include "tst_routine.moc"
