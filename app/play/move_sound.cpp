#include "app/play/move_sound.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace kestrel {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
uint32_t Get32(const std::vector<uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Get16(const std::vector<uint8_t>& b, std::size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

}  // namespace

std::vector<uint8_t> MakeMoveClickWav() {
  const int count = MoveSoundRate * MoveSoundMilliseconds / 1000;
  std::vector<int16_t> samples(count);
  // A wooden knock: two damped tones with a sharp attack.
  constexpr double pi = 3.14159265358979323846;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / MoveSoundRate;
    const double attack = std::min(1.0, i / 20.0);
    const double v = attack * std::exp(-t * 90.0) * (0.7 * std::sin(2 * pi * 1150 * t) + 0.3 * std::sin(2 * pi * 2900 * t));
    samples[i] = static_cast<int16_t>(std::lround(v * 20000));
  }
  const uint32_t dataBytes = static_cast<uint32_t>(count * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  Put32(out, 36 + dataBytes);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, MoveSoundRate);
  Put32(out, MoveSoundRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, dataBytes);
  for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
  return out;
}

std::optional<TPcmSound> ReadPcmWav(const std::vector<uint8_t>& b) {
  if (b.size() < 12 || std::string_view(reinterpret_cast<const char*>(b.data()), 4) != "RIFF" ||
      std::string_view(reinterpret_cast<const char*>(b.data()) + 8, 4) != "WAVE")
    return std::nullopt;
  TPcmSound sound;
  bool haveFormat = false;
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::string_view id(reinterpret_cast<const char*>(b.data()) + at, 4);
    const uint32_t size = Get32(b, at + 4);
    at += 8;
    if (size > b.size() - at) return std::nullopt;
    if (id == "fmt ") {
      if (size < 16 || Get16(b, at) != 1) return std::nullopt;
      sound.channels = Get16(b, at + 2);
      sound.rate = static_cast<int>(Get32(b, at + 4));
      sound.bits = Get16(b, at + 14);
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat || sound.bits != 16 || sound.channels < 1) return std::nullopt;
      sound.samples.resize(size / 2);
      for (std::size_t i = 0; i < sound.samples.size(); ++i)
        sound.samples[i] = static_cast<int16_t>(Get16(b, at + 2 * i));
      return sound;
    }
    at += size + (size & 1);
  }
  return std::nullopt;
}

}  // namespace kestrel
