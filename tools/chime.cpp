#include "chime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace chime {

namespace {

constexpr int kRate = 22050;
constexpr double kLength = 1.1;     // seconds
constexpr double kAttack = 0.005;   // a soft start keeps each strike from clicking
constexpr double kFadeOut = 0.03;   // and the end of the file from popping
constexpr double kDecay = 0.28;     // seconds for a strike to fall to 1/e
constexpr double kLoudness = 0.45;  // of full scale, leaving room for the overlap

struct Strike {
  double start;      // seconds
  double frequency;  // Hz
};
// A high tone and a lower one a major third beneath it, a "ding-dong".
constexpr Strike kStrikes[] = {{0.0, 1318.51}, {0.38, 1046.50}};

// A struck bar: the fundamental with two weaker overtones that die faster.
double Strike(double t, double f) {
  if (t < 0) return 0;
  const double attack = std::min(1.0, t / kAttack);
  const double w = 2 * std::numbers::pi * f * t;
  const double tone = std::sin(w) + 0.35 * std::sin(2 * w) * std::exp(-t / 0.08) +
                      0.15 * std::sin(3 * w) * std::exp(-t / 0.05);
  return attack * std::exp(-t / kDecay) * tone / 1.5;
}

void PutLE(QByteArray& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

QByteArray AlarmWav() {
  const int frames = int(kLength * kRate);
  QByteArray samples;
  samples.reserve(frames * 2);
  for (int i = 0; i < frames; ++i) {
    const double t = double(i) / kRate;
    double v = 0;
    for (const auto& s : kStrikes) v += Strike(t - s.start, s.frequency);
    const double left = kLength - t;
    if (left < kFadeOut) v *= left / kFadeOut;
    const double scaled = std::clamp(v * kLoudness, -1.0, 1.0) * 32767.0;
    PutLE(samples, std::uint32_t(std::int16_t(std::lround(scaled))) & 0xFFFF, 2);
  }

  QByteArray wav;
  wav.append("RIFF");
  PutLE(wav, std::uint32_t(36 + samples.size()), 4);
  wav.append("WAVE");
  wav.append("fmt ");
  PutLE(wav, 16, 4);          // size of this chunk
  PutLE(wav, 1, 2);           // PCM
  PutLE(wav, 1, 2);           // mono
  PutLE(wav, kRate, 4);
  PutLE(wav, kRate * 2, 4);   // bytes per second
  PutLE(wav, 2, 2);           // bytes per frame
  PutLE(wav, 16, 2);          // bits per sample
  wav.append("data");
  PutLE(wav, std::uint32_t(samples.size()), 4);
  wav.append(samples);
  return wav;
}

}  // namespace chime
