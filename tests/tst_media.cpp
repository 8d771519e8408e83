// Our generated media, played through the program's own media layer.
#include "Catalogue.h"
#include "MediaFolder.h"
#include "MediaPlayer.h"
#include "VideoPanel.h"
#include "WindowFixture.h"

#include <QMediaPlayer>
#include <QtTest>

#include <cmath>

using namespace pausewell;

class TestMedia : public QObject {
    Q_OBJECT
    MediaFolder media;

private slots:
    void videosPlayInThePanel_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kExerciseCount; ++i)
            QTest::newRow(qPrintable(videoFile(i))) << i;
    }
    void videosPlayInThePanel() {
        QFETCH(int, index);
        media::VideoPanel panel;
        panel.resize(201, 193);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        media::MediaPlayer player;
        player.setDisplay(&panel);
        QSignalSpy failed(&player, &media::MediaPlayer::failed);

        QCOMPARE(player.playFile(qs(exercise(index).video)), QString());
        QTRY_VERIFY_WITH_TIMEOUT(panel.hasFrame(), 10000);
        QVERIFY(player.hasPicture());
        auto *backend = player.findChild<QMediaPlayer *>();
        QTRY_VERIFY_WITH_TIMEOUT(backend->duration() > 0, 10000);
        QVERIFY2(backend->duration() >= 20000 && backend->duration() <= 28000,
                 qPrintable(QString::number(backend->duration())));

        // A picture, and one that moves.
        QImage first;
        QTRY_VERIFY_WITH_TIMEOUT(colourCount(first = panel.grab().toImage()) >= 4, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(panel.grab().toImage() != first, 10000);
        QVERIFY2(failed.isEmpty(),
                 failed.isEmpty() ? "" : qPrintable(failed.first().first().toString()));
    }

    void chimeIsHeardAndNeverClips() {
        if (QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty() ||
            qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            QSKIP("needs the test session's null audio sink");
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("heard.wav"));
        QProcess rec;
        rec.start(QStringLiteral("parec"),
                  {QStringLiteral("--device=nullsink.monitor"), QStringLiteral("--file-format=wav"),
                   QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                   QStringLiteral("--channels=1"), wav});
        QVERIFY(rec.waitForStarted());
        QTest::qWait(300);

        media::MediaPlayer player;
        QSignalSpy failed(&player, &media::MediaPlayer::failed);
        QCOMPARE(player.playFile(QString::fromLatin1(kChime)), QString());
        QVERIFY(!player.hasPicture());
        QMediaPlayer *backend = nullptr;
        QTRY_VERIFY((backend = player.findChild<QMediaPlayer *>()));
        QSignalSpy status(backend, &QMediaPlayer::mediaStatusChanged);
        QTRY_VERIFY_WITH_TIMEOUT(
            status.contains(QVariantList{QVariant::fromValue(QMediaPlayer::EndOfMedia)}), 10000);
        QTest::qWait(300);
        rec.terminate();
        QVERIFY(rec.waitForFinished(5000));
        QCOMPARE(failed.size(), 0);

        QFile f(wav);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.size() > 44 + 44100); // at least half a second of sound
        const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData() + 44);
        const qsizetype n = (bytes.size() - 44) / 2;
        double sum = 0;
        int peak = 0;
        for (qsizetype i = 0; i < n; ++i) {
            sum += double(samples[i]) * samples[i];
            peak = qMax(peak, qAbs(int(samples[i])));
        }
        const double rms = std::sqrt(sum / double(n)) / 32768.0;
        QVERIFY2(rms > 0.01, qPrintable(QStringLiteral("rms %1").arg(rms))); // silence is ~0
        QVERIFY2(peak < 32767, qPrintable(QStringLiteral("peak %1").arg(peak)));
    }
};

QTEST_MAIN(TestMedia)
#include "tst_media.moc"
