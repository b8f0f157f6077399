#include "app/play/move_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kestrel {
namespace {

TEST(MoveSound, ClickIsAShortMonoPcmWave) {
  const std::vector<uint8_t> wav = MakeMoveClickWav();
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  const uint32_t riffSize = wav[4] | wav[5] << 8 | wav[6] << 16 | wav[7] << 24;
  EXPECT_EQ(riffSize, wav.size() - 8);
  const auto pcm = ReadPcmWav(wav);
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->rate, 22050);
  EXPECT_EQ(pcm->channels, 1);
  EXPECT_EQ(pcm->bits, 16);
  const double ms = 1000.0 * pcm->samples.size() / pcm->rate;
  EXPECT_NEAR(ms, 60.0, 1.0);
  // Audible at the start, silent at the end, never clipped.
  int peakStart = 0, peakEnd = 0;
  for (std::size_t i = 0; i < pcm->samples.size(); ++i) {
    const int v = std::abs(pcm->samples[i]);
    if (i < pcm->samples.size() / 4) peakStart = std::max(peakStart, v);
    if (i > pcm->samples.size() * 3 / 4) peakEnd = std::max(peakEnd, v);
  }
  EXPECT_GT(peakStart, 5000);
  EXPECT_LT(peakEnd, peakStart / 10);
  EXPECT_LT(peakStart, 32767);
}

TEST(MoveSound, DamagedWavesAreRefused) {
  std::vector<uint8_t> wav = MakeMoveClickWav();
  EXPECT_FALSE(ReadPcmWav({}));
  EXPECT_FALSE(ReadPcmWav(std::vector<uint8_t>(wav.begin(), wav.begin() + 30)));
  std::vector<uint8_t> bigData = wav;
  bigData[40] = 0xFF;
  bigData[41] = 0xFF;
  bigData[42] = 0xFF;  // a data chunk larger than the file
  EXPECT_FALSE(ReadPcmWav(bigData));
  std::vector<uint8_t> notPcm = wav;
  notPcm[20] = 3;  // float samples
  EXPECT_FALSE(ReadPcmWav(notPcm));
  std::vector<uint8_t> eightBit = wav;
  eightBit[34] = 8;
  EXPECT_FALSE(ReadPcmWav(eightBit));
}

TEST(MoveSound, SystemPlayerNeverBlocksWithOrWithoutAnOutput) {
  // On a machine without audio the player stays silent; with one it plays.
  // Either way the calls return and the player goes away cleanly.
  const std::vector<uint8_t> wav = MakeMoveClickWav();
  for (int round = 0; round < 3; ++round) {
    auto player = CreateSystemSoundPlayer();
    ASSERT_TRUE(player);
    for (int i = 0; i < 20; ++i) player->Play(wav);
    player->Play({1, 2, 3});  // not a wave: ignored
  }
  TNullSoundPlayer silent;
  silent.Play(wav);
}

}  // namespace
}  // namespace kestrel
