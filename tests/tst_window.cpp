// The window driven in-process on the test display: layout, show, Remind, Exit.
#include "MediaPlayer.h"
#include "PauseWellMain.h"
#include "Placement.h"
#include "VideoPanel.h"

#include "WindowTestBase.h"

#include <QtTest>

using namespace pausewell;

namespace {

QRect primaryScreen() { return QGuiApplication::primaryScreen()->geometry(); }

} // namespace

class TestWindow : public WindowTestBase {
    Q_OBJECT

private slots:
    void init() { beginTest(); }
    void cleanup() { endTest(); }

    void idleLayout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("text");
        QTest::newRow("suiPanel1") << "suiPanel1" << QRect(1, 1, 447, 248) << true << "";
        QTest::newRow("cxButton2") << "cxButton2" << QRect(313, 99, 56, 20) << true << "Play";
        QTest::newRow("Panel1") << "Panel1" << QRect(220, 40, 201, 193) << true << "";
        QTest::newRow("cxButton1") << "cxButton1" << QRect(81, 211, 46, 20) << true << "Remind";
        QTest::newRow("StaticText1") << "StaticText1" << QRect(400, 4, 36, 14) << true << "";
        QTest::newRow("cxButton3") << "cxButton3" << QRect(19, 211, 56, 20) << true << "Start";
        QTest::newRow("cxMemo1") << "cxMemo1" << QRect(12, 56, 413, 153) << true << "";
        QTest::newRow("cxButton4") << "cxButton4" << QRect(371, 211, 56, 20) << true << "Exit";
        QTest::newRow("cxHyperLinkEdit1")
            << "cxHyperLinkEdit1" << QRect(158, 218, 120, 22) << true << "";
    }
    void idleLayout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(bool, visible);
        QFETCH(QString, text);
        TPauseWELLMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *w = form.findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(w->isVisible(), visible);
        if (auto *button = qobject_cast<QPushButton *>(w))
            QCOMPARE(button->text(), text);
    }

    void idleWindowAndTexts() {
        TPauseWELLMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), QSize(449, 250));
        QCOMPARE(form.windowTitle(), QStringLiteral("Pause WELL"));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        // No tool-window or skip-taskbar flag: the window carries the task-bar entry.
        QCOMPARE(form.windowType(), Qt::Window);
        QCOMPARE(form.ui.cxLabel1->text(), QStringLiteral("PAUSE WELL"));
        QCOMPARE(form.ui.cxLabel1->pos(), QPoint(16, 33));
        QCOMPARE(form.ui.StaticText1->text(), QString());
        QCOMPARE(form.ui.cxLabel1->font().pixelSize(), 16);
        QCOMPARE(form.ui.cxMemo1->font().pixelSize(), 13);
        QCOMPARE(form.font().pixelSize(), 11);
        QVERIFY(form.ui.cxMemo1->isReadOnly());
        const QStringList lines = form.ui.cxMemo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8);
        QCOMPARE(
            lines.first(),
            QStringLiteral("Working in an office or at a computer for prolonged periods of time "));
        QCOMPARE(lines.last(), QStringLiteral("increasing muscle strength and flexibility."));
        for (int i = 0; i < 7; ++i)
            QVERIFY2(lines[i].endsWith(QLatin1Char(' ')) &&
                         !lines[i].endsWith(QStringLiteral("  ")),
                     qPrintable(lines[i]));
        QVERIFY(form.ui.cxHyperLinkEdit1->text().startsWith(QStringLiteral("http")));
        QVERIFY(!form.ui.cxHyperLinkEdit1->isReadOnly());
    }

    void playIsCoveredAndInert() {
        TPauseWELLMainForm form;
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(started.size(), 1);
        // Nothing of the Play button can be seen: the memo and the panel lie over it.
        QPushButton *play = form.ui.cxButton2;
        const QRect onPanel(play->mapTo(form.ui.suiPanel1, QPoint(0, 0)), play->size());
        for (QPoint p : {onPanel.topLeft(), onPanel.center(), onPanel.bottomRight()})
            QVERIFY(form.ui.suiPanel1->childAt(p) != play);
        // It holds the focus, and the keyboard gets nothing out of it.
        QCOMPARE(QApplication::focusWidget(), play);
        QSignalSpy clicked(play, &QPushButton::clicked);
        QTest::keyClick(form.windowHandle(), Qt::Key_Space);
        QTest::keyClick(form.windowHandle(), Qt::Key_Return);
        QCOMPARE(clicked.size(), 1); // Space clicks it ...
        QVERIFY(form.isVisible());   // ... and the click does nothing
        QCOMPARE(started.size(), 1);
        QVERIFY(form.ui.cxButton3->isVisible());
        QCOMPARE(form.ui.cxMemo1->width(), 413);
    }

    void showPlacesAndChimes() {
        TPauseWELLMainForm form;
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pos(), cornerPosition(primaryScreen(), QSize(449, 250)));
        QCOMPARE(started.size(), 1);
        QVERIFY(started.first().first().toString().endsWith(QStringLiteral("//Stretch/tada.wav")));
        QVERIFY(!form.MediaPlayer1->hasPicture());
    }

    void placementFollowsLogicalScreen() {
        TPauseWELLMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect screen = primaryScreen();
        QCOMPARE(form.size(), QSize(449, 250)); // logical pixels, whatever the ratio
        QCOMPARE(form.pos(), cornerPosition(screen, form.size()));
        if (qgetenv("QT_SCALE_FACTOR") == "2") {
            // 1024 x 768 device pixels at a ratio of 2: a 512 x 384 logical screen.
            QCOMPARE(form.devicePixelRatioF(), 2.0);
            QCOMPARE(screen.size(), QSize(512, 384));
            QCOMPARE(form.pos(), QPoint(43, 94));
        } else {
            QCOMPARE(screen.size(), QSize(1024, 768));
            QCOMPARE(form.pos(), QPoint(555, 478));
        }
    }

    void remindHidesAndShowPlacesAgain() {
        TPauseWELLMainForm form;
        QSignalSpy started(form.MediaPlayer1, &media::MediaPlayer::started);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(10, 10); // wherever it is, the next show puts it back in the corner

        QTest::mouseClick(form.ui.cxButton1, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QVERIFY(form.windowMinimised());
        QTRY_VERIFY(!form.windowHandle() || !form.windowHandle()->isVisible());

        // Shown again (as the hourly reminder does): back in normal state.
        form.showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pos(), cornerPosition(primaryScreen(), QSize(449, 250)));
        QCOMPARE(started.size(), 2);
        QVERIFY(!form.windowMinimised());
    }

    void exitCloses() {
        TPauseWELLMainForm form;
        QSignalSpy closed(&form, &TPauseWELLMainForm::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.ui.cxButton4, Qt::LeftButton);
        QCOMPARE(closed.size(), 1);
        QVERIFY(!form.isVisible());
    }

    void mediaFailuresReachTheErrorBox_data() {
        QTest::addColumn<QByteArray>("content"); // empty: the file is missing
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << QByteArray() << "does not exist";
        QTest::newRow("empty") << QByteArray("") << "empty";
        QTest::newRow("garbage") << QByteArray(4096, 'x') << "";
    }
    void mediaFailuresReachTheErrorBox() {
        QFETCH(QByteArray, content);
        QFETCH(QString, why);
        if (content.isNull())
            media.remove(QStringLiteral("tada.wav"));
        else
            media.write(QStringLiteral("tada.wav"), content);

        TPauseWELLMainForm form;
        bool mappedDuringBox = true;
        ErrorBoxWatcher &watcher = *boxes;
        watcher.setOnBox([&](const ErrorBoxWatcher::Box &) {
            mappedDuringBox = form.windowHandle() && form.windowHandle()->isVisible();
        });
        form.show();
        QTRY_COMPARE_WITH_TIMEOUT(watcher.boxes.size(), 1, 10000);
        const ErrorBoxWatcher::Box box = watcher.boxes.first();
        QCOMPARE(box.title, QStringLiteral("Pause WELL"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, 1);
        QVERIFY2(box.text.contains(media.path(QStringLiteral("tada.wav")).section('/', 0, -3)) &&
                     box.text.contains(QStringLiteral("//Stretch/tada.wav")),
                 qPrintable(box.text));
        QVERIFY2(box.text.contains(why), qPrintable(box.text));
        if (content.isNull() || content.isEmpty())
            QVERIFY(!mappedDuringBox); // reported at once, before the window is on screen
        // Once the box is closed the window comes up in the corner all the same.
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pos(), cornerPosition(primaryScreen(), QSize(449, 250)));
        QVERIFY(!form.MediaPlayer1->isOpen());
        QTest::qWait(300);
        QCOMPARE(watcher.boxes.size(), 1); // each failure is reported once
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
