#include "Encoder.h"

#include "Renderer.h"

#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cmath>

namespace mediagen {
namespace {

// BT.601 studio range, done here so ffmpeg does no colour conversion of its own.
void toYuv420(const QImage &img, QByteArray &out) {
    const int w = img.width(), h = img.height();
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    out.resize(static_cast<qsizetype>(w) * h + 2 * static_cast<qsizetype>(cw) * ch);
    auto *y = reinterpret_cast<unsigned char *>(out.data());
    unsigned char *u = y + static_cast<qsizetype>(w) * h;
    unsigned char *v = u + static_cast<qsizetype>(cw) * ch;
    const auto clamp8 = [](int x) { return static_cast<unsigned char>(std::clamp(x, 0, 255)); };
    for (int row = 0; row < h; ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(row));
        for (int col = 0; col < w; ++col) {
            const QRgb c = line[col];
            y[row * w + col] =
                clamp8((66 * qRed(c) + 129 * qGreen(c) + 25 * qBlue(c) + 128 + 4096) >> 8);
        }
    }
    for (int row = 0; row < ch; ++row) {
        for (int col = 0; col < cw; ++col) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int yy = std::min(h - 1, row * 2 + dy);
                    const int xx = std::min(w - 1, col * 2 + dx);
                    const QRgb c = reinterpret_cast<const QRgb *>(img.constScanLine(yy))[xx];
                    r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
                }
            r /= n, g /= n, b /= n;
            u[row * cw + col] = clamp8((-38 * r - 74 * g + 112 * b + 128 + 32768) >> 8);
            v[row * cw + col] = clamp8((112 * r - 94 * g - 18 * b + 128 + 32768) >> 8);
        }
    }
}

} // namespace

QString encodeClip(const QString &ffmpeg, const Clip &clip, const QString &outPath) {
    const QString partial = outPath + QStringLiteral(".part");
    QFile::remove(partial);
    // Everything that could vary between runs is pinned: single thread, bit-exact DCT/IDCT,
    // fixed quantiser and GOP, no metadata.
    const QStringList args{"-hide_banner",
                           "-nostdin",
                           "-loglevel",
                           "error",
                           "-y",
                           "-f",
                           "rawvideo",
                           "-pix_fmt",
                           "yuv420p",
                           "-s",
                           QStringLiteral("%1x%2").arg(kWidth).arg(kHeight),
                           "-r",
                           QString::number(kFps),
                           "-i",
                           "pipe:0",
                           "-an",
                           "-map_metadata",
                           "-1",
                           "-c:v",
                           "mpeg1video",
                           "-q:v",
                           "4",
                           "-g",
                           "25",
                           "-bf",
                           "2",
                           "-dct",
                           "int",
                           "-idct",
                           "simple",
                           "-threads",
                           "1",
                           "-flags",
                           "+bitexact",
                           "-fflags",
                           "+bitexact",
                           "-f",
                           "mpeg",
                           partial};
    QProcess proc;
    proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc.setStandardOutputFile(QProcess::nullDevice());
    proc.start(ffmpeg, args);
    if (!proc.waitForStarted())
        return QStringLiteral("cannot start %1").arg(ffmpeg);

    const Framing framing = frameClip(clip);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QByteArray yuv;
    const int frames = frameCount(clip);
    for (int i = 0; i < frames; ++i) {
        renderFrame(image, clip, framing, i);
        toYuv420(image, yuv);
        proc.write(yuv);
        // Keep the pipe's backlog small; ffmpeg encodes while the next frame is drawn.
        while (proc.bytesToWrite() > 4 * yuv.size())
            if (!proc.waitForBytesWritten(30000))
                return QStringLiteral("ffmpeg stopped reading for %1").arg(outPath);
    }
    proc.closeWriteChannel();
    if (!proc.waitForFinished(120000) || proc.exitStatus() != QProcess::NormalExit ||
        proc.exitCode() != 0)
        return QStringLiteral("ffmpeg failed for %1").arg(outPath);
    QFile::remove(outPath);
    if (!QFile::rename(partial, outPath))
        return QStringLiteral("cannot move %1 into place").arg(outPath);
    return {};
}

} // namespace mediagen
