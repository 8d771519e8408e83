#include "Chime.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace mediagen {
namespace {

// Rising C major arpeggio; each note is a small bell of inharmonic partials.
struct Note {
    double start; // seconds
    double freq;  // Hz
    double gain;
};
constexpr std::array<Note, 4> kNotes{{
    {0.00, 523.25, 0.80},
    {0.11, 659.25, 0.75},
    {0.22, 783.99, 0.75},
    {0.36, 1046.50, 0.90},
}};

struct Partial {
    double ratio;
    double gain;
    double decay; // seconds for the partial to fall by 1/e
};
constexpr std::array<Partial, 5> kPartials{{
    {1.00, 1.00, 0.55},
    {2.00, 0.35, 0.30},
    {2.76, 0.18, 0.18},
    {4.07, 0.08, 0.10},
    {5.40, 0.04, 0.07},
}};

constexpr double kLength = 1.6;     // seconds
constexpr double kAttack = 0.006;   // soft strike, no click
constexpr double kEdgeFade = 0.004; // both ends reach exact silence
constexpr double kPeak = 0.70795;   // -3 dBFS

void putLe(QByteArray &out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

} // namespace

std::vector<std::int16_t> synthesiseChime() {
    const int n = static_cast<int>(kLength * kSampleRate);
    std::vector<double> mix(static_cast<std::size_t>(n), 0.0);
    const double twoPi = 2 * std::numbers::pi;
    for (const Note &note : kNotes) {
        const int first = static_cast<int>(note.start * kSampleRate);
        for (int i = first; i < n; ++i) {
            const double t = static_cast<double>(i - first) / kSampleRate;
            const double attack = std::min(1.0, t / kAttack);
            double v = 0;
            for (const Partial &p : kPartials)
                v += p.gain * std::exp(-t / p.decay) * std::sin(twoPi * note.freq * p.ratio * t);
            mix[static_cast<std::size_t>(i)] += note.gain * attack * attack * v;
        }
    }
    // Tail fade so the last notes die away smoothly instead of being cut.
    const double tail = 0.35;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double g = 1.0;
        if (t > kLength - tail)
            g = 0.5 + 0.5 * std::cos(std::numbers::pi * (t - (kLength - tail)) / tail);
        if (t < kEdgeFade)
            g *= t / kEdgeFade;
        mix[static_cast<std::size_t>(i)] *= g;
    }
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double k = peak > 0 ? kPeak * 32767.0 / peak : 0.0;
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lround(mix[i] * k));
    return out;
}

bool writeWav(const QString &path, const std::vector<std::int16_t> &samples, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray out;
    out.reserve(static_cast<qsizetype>(44 + dataBytes));
    out.append("RIFF");
    putLe(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    putLe(out, 16, 4);                                         // fmt chunk size
    putLe(out, 1, 2);                                          // PCM
    putLe(out, 1, 2);                                          // mono
    putLe(out, static_cast<std::uint32_t>(sampleRate), 4);     // sample rate
    putLe(out, static_cast<std::uint32_t>(sampleRate) * 2, 4); // byte rate
    putLe(out, 2, 2);                                          // block align
    putLe(out, 16, 2);                                         // bits per sample
    out.append("data");
    putLe(out, dataBytes, 4);
    for (std::int16_t s : samples)
        putLe(out, static_cast<std::uint16_t>(s), 2);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(out);
    return file.commit();
}

} // namespace mediagen
