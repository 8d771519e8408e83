// The files the build ships: a clean chime, seventeen well-formed videos, and the same bytes
// every time the generator runs.

#include "Catalogue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

QString fileOf(std::string_view video) {
    const auto slash = video.rfind('\\');
    const std::string_view name = video.substr(slash == std::string_view::npos ? 0 : slash + 1);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QStringList expectedFiles() {
    QStringList files{QStringLiteral("tada.wav")};
    for (const pausewell::Exercise &e : pausewell::catalogue())
        files << fileOf(e.video);
    return files;
}

std::uint32_t le(const QByteArray &b, qsizetype at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

QByteArray sha256(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
}

} // namespace

class OutputTest : public QObject {
    Q_OBJECT

private slots:
    void generationIsDeterministic();
    void chimeIsCleanPcm();
    void videoIsMpeg1ProgramStream_data();
    void videoIsMpeg1ProgramStream();
};

void OutputTest::generationIsDeterministic() {
    QTemporaryDir first, second;
    QVERIFY(first.isValid() && second.isValid());
    for (const QTemporaryDir *dir : {&first, &second}) {
        QProcess gen;
        gen.start(QStringLiteral(MEDIAGEN_EXE),
                  {"--out", dir->path(), "--ffmpeg", QStringLiteral(FFMPEG_EXE), "--jobs", "2"});
        QVERIFY(gen.waitForFinished(300000));
        QCOMPARE(gen.exitCode(), 0);
    }
    QStringList expected = expectedFiles();
    expected.sort();
    QCOMPARE(QDir(first.path()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString &name : expected) {
        const QByteArray a = sha256(first.filePath(name));
        QVERIFY2(!a.isEmpty(), qPrintable(name));
        QVERIFY2(a == sha256(second.filePath(name)), qPrintable(name + " differs between runs"));
        // The build's own copy came from yet another run.
        QVERIFY2(a == sha256(QDir(QStringLiteral(MEDIA_DIR)).filePath(name)),
                 qPrintable(name + " differs from the built media"));
    }
}

void OutputTest::chimeIsCleanPcm() {
    QFile f(QDir(QStringLiteral(MEDIA_DIR)).filePath(QStringLiteral("tada.wav")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray wav = f.readAll();
    QVERIFY(wav.size() > 44);
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(le(wav, 4, 4), static_cast<std::uint32_t>(wav.size() - 8));
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(le(wav, 20, 2), 1u); // PCM
    const std::uint32_t channels = le(wav, 22, 2);
    QVERIFY(channels == 1 || channels == 2);
    QCOMPARE(le(wav, 24, 4), 44100u);
    QCOMPARE(le(wav, 34, 2), 16u);
    QCOMPARE(le(wav, 28, 4), 44100u * channels * 2); // byte rate agrees with the rest
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    const std::uint32_t dataBytes = le(wav, 40, 4);
    QCOMPARE(static_cast<qsizetype>(dataBytes), wav.size() - 44);

    std::vector<std::int16_t> pcm(dataBytes / 2);
    std::memcpy(pcm.data(), wav.constData() + 44, pcm.size() * 2);
    const double seconds = static_cast<double>(pcm.size() / channels) / 44100.0;
    QVERIFY2(seconds >= 1.0 && seconds <= 2.0, qPrintable(QString::number(seconds)));

    int peak = 0;
    for (std::int16_t s : pcm)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    const double dbfs = 20 * std::log10(peak / 32768.0);
    QVERIFY2(dbfs > -6.0 && dbfs < -1.0, qPrintable(QStringLiteral("peak %1 dBFS").arg(dbfs)));
    QVERIFY(peak < 32767);

    // No click: silent at the very ends and only a gentle rise over the first and last 2 ms.
    const std::size_t edge = 88 * channels;
    for (std::size_t i = 0; i < channels; ++i) {
        QVERIFY(std::abs(pcm[i]) <= 16);
        QVERIFY(std::abs(pcm[pcm.size() - 1 - i]) <= 16);
    }
    for (std::size_t i = 0; i < edge; ++i) {
        QVERIFY2(std::abs(pcm[i]) < peak / 4, qPrintable(QStringLiteral("start %1").arg(i)));
        QVERIFY2(std::abs(pcm[pcm.size() - 1 - i]) < peak / 4,
                 qPrintable(QStringLiteral("end %1").arg(i)));
    }
}

void OutputTest::videoIsMpeg1ProgramStream_data() {
    QTest::addColumn<QString>("file");
    for (const pausewell::Exercise &e : pausewell::catalogue()) {
        const QString name = fileOf(e.video);
        QTest::newRow(qPrintable(name)) << name;
    }
}

void OutputTest::videoIsMpeg1ProgramStream() {
    QFETCH(QString, file);
    const QString path = QDir(QStringLiteral(MEDIA_DIR)).filePath(file);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QProcess probe;
    probe.start(QStringLiteral(FFPROBE_EXE),
                {"-v", "error", "-count_packets", "-show_entries",
                 "format=format_name:stream=codec_type,codec_name,width,height,r_frame_rate,"
                 "nb_read_packets",
                 "-of", "json", path});
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitCode(), 0);
    const QJsonObject info = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    QCOMPARE(info["format"].toObject()["format_name"].toString(), QStringLiteral("mpeg"));
    const QJsonArray streams = info["streams"].toArray();
    QCOMPARE(streams.size(), 1); // video only, no audio track
    const QJsonObject v = streams[0].toObject();
    QCOMPARE(v["codec_type"].toString(), QStringLiteral("video"));
    QCOMPARE(v["codec_name"].toString(), QStringLiteral("mpeg1video"));
    QCOMPARE(v["width"].toInt(), 200);
    QCOMPARE(v["height"].toInt(), 192);
    QCOMPARE(v["r_frame_rate"].toString(), QStringLiteral("25/1"));
    const double seconds = v["nb_read_packets"].toString().toDouble() / 25.0;
    QVERIFY2(seconds >= 20.0 && seconds <= 28.0, qPrintable(QString::number(seconds)));
}

QTEST_GUILESS_MAIN(OutputTest)
#include "tst_output.moc"
