#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace mediagen {

inline constexpr int kSampleRate = 44100;

// The "tada" chime: mono 16-bit samples, peak at -3 dBFS, silent at both ends.
std::vector<std::int16_t> synthesiseChime();

// Writes a canonical 44-byte-header PCM WAV file.
bool writeWav(const QString &path, const std::vector<std::int16_t> &samples, int sampleRate);

} // namespace mediagen
