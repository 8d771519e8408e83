#include "ContactSheet.h"

#include "Exercises.h"
#include "Renderer.h"

#include "Catalogue.h"

#include <QFont>
#include <QImage>
#include <QPainter>

namespace mediagen {

namespace {
QString fileOf(std::string_view video) {
    const std::string_view name = mediagen::videoFile(video);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}
} // namespace

bool writeContactSheet(const QString &path, int framesPerClip) {
    const int gap = 4, titleH = 18, pad = 6;
    const int rowH = titleH + kHeight + gap * 2;
    const auto &cat = pausewell::catalogue();
    const int width = pad * 2 + framesPerClip * (kWidth + gap);
    const int height = pad * 2 + static_cast<int>(cat.size()) * rowH;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setPixelSize(13);
    p.setFont(font);
    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    int y = pad;
    for (const pausewell::Exercise &e : cat) {
        const QString file = fileOf(e.video);
        const Clip *clip = clipFor(file.toStdString());
        QString title = QString::fromUtf8(e.title.data(), static_cast<qsizetype>(e.title.size()));
        title.replace(QStringLiteral("&&"), QStringLiteral("&"));
        p.setPen(Qt::black);
        p.drawText(QPointF(pad, y + 13), QStringLiteral("%1  %2").arg(file, title));
        if (clip) {
            const Framing framing = frameClip(*clip);
            const int frames = frameCount(*clip);
            for (int i = 0; i < framesPerClip; ++i) {
                const int f = (frames - 1) * i / (framesPerClip - 1);
                renderFrame(frame, *clip, framing, f);
                p.drawImage(QPointF(pad + i * (kWidth + gap), y + titleH), frame);
                p.setPen(Qt::darkGray);
                p.drawText(QPointF(pad + i * (kWidth + gap) + 3, y + titleH + 12),
                           QStringLiteral("%1 s").arg(static_cast<double>(f) / kFps, 0, 'f', 1));
            }
        }
        y += rowH;
    }
    p.end();
    return sheet.save(path, "PNG");
}

} // namespace mediagen
