// The move sound: a short click made by the program as a RIFF WAVE in
// memory (PCM, mono, 16 bits, 22050 Hz, about 60 ms), and the players that
// play it without making anyone wait.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kestrel {

inline constexpr int MoveSoundRate = 22050;
inline constexpr int MoveSoundMilliseconds = 60;

std::vector<uint8_t> MakeMoveClickWav();

// The samples of a PCM WAVE held in memory; nullopt for anything else or a
// damaged header (sizes beyond the data are refused).
struct TPcmSound {
  int rate = 0;
  int channels = 0;
  int bits = 0;
  std::vector<int16_t> samples;  // 16-bit sounds only
};
std::optional<TPcmSound> ReadPcmWav(const std::vector<uint8_t>& wav);

class TSoundPlayer {
 public:
  virtual ~TSoundPlayer() = default;
  // Starts playing and returns at once; a sound still playing may be cut.
  virtual void Play(const std::vector<uint8_t>& wav) = 0;
};

// For machines without an audio output, and for tests.
class TNullSoundPlayer final : public TSoundPlayer {
 public:
  void Play(const std::vector<uint8_t>&) override {}
};

// The system's audio output when one can be found at run time, else a
// player that stays silent. Never blocks the caller.
std::unique_ptr<TSoundPlayer> CreateSystemSoundPlayer();

}  // namespace kestrel
