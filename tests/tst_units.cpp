// Rules that need no window: placement, error text, media names, labels, links, catalogue.
#include "Catalogue.h"
#include "ErrorBox.h"
#include "MediaPath.h"
#include "Placement.h"
#include "WebLink.h"
#include "Widgets.h"

#include <QtTest>

using namespace pausewell;

class TestUnits : public QObject {
    Q_OBJECT
private slots:
    void placement_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("1024x768") << QRect(0, 0, 1024, 768) << QPoint(555, 478);
        QTest::newRow("1920x1080") << QRect(0, 0, 1920, 1080) << QPoint(1451, 790);
        // A device pixel ratio of 2 halves the logical screen; the rule is the same.
        QTest::newRow("1024x768 at ratio 2") << QRect(0, 0, 512, 384) << QPoint(43, 94);
        QTest::newRow("primary screen not at origin")
            << QRect(1280, 0, 1024, 768) << QPoint(1835, 478);
    }
    void placement() {
        QFETCH(QRect, screen);
        QFETCH(QPoint, expected);
        QCOMPARE(cornerPosition(screen, QSize(449, 250)), expected);
    }

    void errorText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("letter") << "Cannot open x"
                                << "Cannot open x.";
        QTest::newRow("already a stop") << "Done."
                                        << "Done.";
        QTest::newRow("digit sorts after '.'") << "code 5"
                                               << "code 5.";
        QTest::newRow("bracket sorts before '.'") << "(see above)"
                                                  << "(see above)";
        QTest::newRow("comma sorts before '.'") << "a,"
                                                << "a,";
        QTest::newRow("slash sorts after '.'") << "in /tmp/"
                                               << "in /tmp/.";
        QTest::newRow("space sorts before '.'") << "trailing "
                                                << "trailing ";
        QTest::newRow("non-ASCII last")
            << QString::fromUtf8("caf\xc3\xa9") << QString::fromUtf8("caf\xc3\xa9.");
    }
    void errorText() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(platform::errorBoxText(message), shown);
    }

    void mediaName_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("full");
        QTest::newRow("chime") << "/opt/pw/"
                               << "\\Stretch\\tada.wav"
                               << "/opt/pw//Stretch/tada.wav";
        QTest::newRow("video") << "/home/a b/"
                               << "\\Stretch\\Stretch28.mpg"
                               << "/home/a b//Stretch/Stretch28.mpg";
    }
    void mediaName() {
        QFETCH(QString, root);
        QFETCH(QString, relative);
        QFETCH(QString, full);
        QCOMPARE(media::mediaFullName(root, relative), full);
    }

    void labelText_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Trunk Twist,"
                               << "Trunk Twist,";
        QTest::newRow("escaped ampersand") << "Elbow && Finger Extension,"
                                           << "Elbow & Finger Extension,";
        QTest::newRow("accelerator") << "&Start"
                                     << "Start";
        QTest::newRow("three") << "a&&&b"
                               << "a&b";
    }
    void labelText() {
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        QCOMPARE(labelDisplayText(caption), shown);
    }

    void webAddress_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("followed");
        QTest::newRow("https") << "https://pausewell.org/" << true;
        QTest::newRow("http with path") << "http://example.com/a?b=c" << true;
        QTest::newRow("upper-case scheme") << "HTTPS://example.com" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "   " << false;
        QTest::newRow("no scheme") << "www.example.com" << false;
        QTest::newRow("local path") << "/usr/bin/xterm" << false;
        QTest::newRow("file url") << "file:///etc/passwd" << false;
        QTest::newRow("other scheme") << "javascript:alert(1)" << false;
        QTest::newRow("no host") << "https://" << false;
        QTest::newRow("surrounding blanks") << " https://example.com" << false;
    }
    void webAddress() {
        QFETCH(QString, text);
        QFETCH(bool, followed);
        QCOMPARE(platform::isWebAddress(text), followed);
    }

    void catalogue() {
        QCOMPARE(int(pausewell::catalogue().size()), kExerciseCount);
        QCOMPARE(kExerciseCount, 17);
        QSet<QString> videos;
        for (const Exercise &e : pausewell::catalogue()) {
            QVERIFY(e.title.ends_with(','));
            QVERIFY(e.video.starts_with("\\Stretch\\Stretch") && e.video.ends_with(".mpg"));
            videos.insert(QString::fromUtf8(e.video.data(), qsizetype(e.video.size())));
        }
        QCOMPARE(videos.size(), kExerciseCount);
        QCOMPARE(exercise(12).title, std::string_view("Elbow && Finger Extension,"));
        QCOMPARE(exercise(16).video, std::string_view("\\Stretch\\Stretch28.mpg"));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, exercise(17));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, exercise(-1));
    }
};

QTEST_GUILESS_MAIN(TestUnits)
#include "tst_units.moc"
