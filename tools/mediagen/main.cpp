// pausewell-mediagen: draws and synthesises every media file the program ships, so the build
// needs nothing but this source and Debian's ffmpeg.

#include "Catalogue.h"
#include "Chime.h"
#include "ContactSheet.h"
#include "Encoder.h"
#include "Exercises.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

QString fileOf(std::string_view video) {
    const std::string_view name = mediagen::videoFile(video);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

void fail(const QString &message) {
    std::fprintf(stderr, "pausewell-mediagen: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv) {
    // Runs inside the build, where there may be no display; it never shows a window, and the
    // contact sheet's fonts work offscreen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pausewell-mediagen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the chime and exercise videos."));
    parser.addHelpOption();
    const QCommandLineOption outOpt({"o", "out"}, "Folder to write the media into.", "dir");
    const QCommandLineOption ffmpegOpt("ffmpeg", "ffmpeg executable.", "path", "ffmpeg");
    const QCommandLineOption jobsOpt("jobs", "Videos encoded at once.", "n", "2");
    const QCommandLineOption onlyOpt("only", "Write just this file (may repeat).", "file");
    const QCommandLineOption sheetOpt("contact-sheet", "Write a review sheet PNG instead.", "png");
    parser.addOptions({outOpt, ffmpegOpt, jobsOpt, onlyOpt, sheetOpt});
    parser.process(app);

    if (parser.isSet(sheetOpt)) {
        if (!mediagen::writeContactSheet(parser.value(sheetOpt))) {
            fail(QStringLiteral("cannot write %1").arg(parser.value(sheetOpt)));
            return 1;
        }
        return 0;
    }
    if (!parser.isSet(outOpt)) {
        fail(QStringLiteral("--out is required"));
        return 2;
    }
    const QDir out(parser.value(outOpt));
    if (!QDir().mkpath(out.path())) {
        fail(QStringLiteral("cannot create %1").arg(out.path()));
        return 1;
    }
    const QStringList only = parser.values(onlyOpt);
    const auto wanted = [&](const QString &file) { return only.isEmpty() || only.contains(file); };

    if (wanted(QStringLiteral("tada.wav")) &&
        !mediagen::writeWav(out.filePath(QStringLiteral("tada.wav")), mediagen::synthesiseChime(),
                            mediagen::kSampleRate)) {
        fail(QStringLiteral("cannot write tada.wav"));
        return 1;
    }

    struct Job {
        QString file;
        const mediagen::Clip *clip;
    };
    std::vector<Job> jobs;
    for (const pausewell::Exercise &e : pausewell::catalogue()) {
        const QString file = fileOf(e.video);
        const mediagen::Clip *clip = mediagen::clipFor(file.toStdString());
        if (!clip) {
            fail(QStringLiteral("no animation for %1").arg(file));
            return 1;
        }
        if (wanted(file))
            jobs.push_back({file, clip});
    }

    const QString ffmpeg = parser.value(ffmpegOpt);
    const int workers = std::max(1, std::min(parser.value(jobsOpt).toInt(), 8));
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex errLock;
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size() && !failed; i = next++) {
            const QString error =
                mediagen::encodeClip(ffmpeg, *jobs[i].clip, out.filePath(jobs[i].file));
            if (!error.isEmpty()) {
                const std::lock_guard lock(errLock);
                fail(error);
                failed = true;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i)
        threads.emplace_back(work);
    for (std::thread &t : threads)
        t.join();
    return failed ? 1 : 0;
}
