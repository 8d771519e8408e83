#pragma once

#include "Catalogue.h"
#include "ExerciseDraw.h"
#include "PauseWellMain.h"

#include <QImage>
#include <QList>
#include <QString>

// Short durations for driving the real window; the code path is the product's.
inline pausewell::Timings quickTimings(int positionMs = 1200, int pauseMs = 300,
                                       int periodMs = 10 * 60 * 1000) {
    return {positionMs, pauseMs, periodMs};
}

// The first `count` draws a generator seeded with `seed` will make.
inline QList<int> drawsFor(std::uint32_t seed, int count = pausewell::kRoutinePositions) {
    pausewell::ExerciseDraw draw;
    draw.seed(seed);
    QList<int> out;
    for (int i = 0; i < count; ++i)
        out << draw.next();
    return out;
}

// A seed whose first routine has the property `wanted`.
template <typename Pred> std::uint32_t findSeed(Pred wanted) {
    for (std::uint32_t seed = 1;; ++seed)
        if (wanted(drawsFor(seed)))
            return seed;
}

inline QString videoFile(int index) {
    const std::string_view v = pausewell::exercise(index).video;
    return QString::fromUtf8(v.data(), qsizetype(v.size())).section(QLatin1Char('\\'), -1);
}

inline QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// Distinct colours in a picture (stops counting at `enough`).
inline int colourCount(const QImage &image, int enough = 16) {
    QList<QRgb> seen;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            if (!seen.contains(c)) {
                seen << c;
                if (seen.size() >= enough)
                    return int(seen.size());
            }
        }
    return int(seen.size());
}
