// The pattern features against a slow reference that reads the square
// board by ranks and files, and the weights file format.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "engine/gen2/gen2_patterns.h"
#include "rules/game_types.h"
#include "test_support/random_position.h"

namespace kestrel::gen2 {
namespace {

// The board seen from the side to move: its men move up the ranks. Square
// numbers count along rank 1 first; a 180-degree turn maps number n to
// count + 1 - n.
struct TSlowBoard {
  TBoardShape shape;
  std::vector<int> cell;  // [rank * files + file]: 0 empty, 1/2 own/other man, 3/4 own/other king

  TSlowBoard(const TBoard& board, TDColor side, int type) : shape(BoardShape(type)) {
    cell.assign(shape.ranks * shape.files, 0);
    const int count = GameTypes[type].SquareCount;
    for (int n = 1; n <= count; ++n) {
      const int piece = board.b[n];
      if (piece == Empty) continue;
      const bool white = piece == WhiteMan || piece == WhiteKing;
      const bool king = piece == WhiteKing || piece == BlackKing;
      const bool own = white == (side == TDColor::white);
      const int at = side == TDColor::white ? n - 1 : count - n;  // 0-based, seen from the mover
      const int rank = at / shape.squaresPerRank;
      const int file = 2 * (at % shape.squaresPerRank) + rank % 2;
      cell[rank * shape.files + file] = (own ? 1 : 2) + (king ? 2 : 0);
    }
  }
  int At(int rank, int file) const {
    if (rank < 0 || rank >= shape.ranks || file < 0 || file >= shape.files) return -1;
    return cell[rank * shape.files + file];
  }
};

int MenState(int cell) { return cell == 1 || cell == 2 ? cell : 0; }

// Diamonds in the order of their lowest square: rank by rank, file by file;
// then blocks of 4 x 4 cells every second rank and file, their squares
// numbered rank by rank, file by file.
TFeatures SlowFeatures(const TSlowBoard& b, int family = familyDiamonds) {
  TFeatures f;
  const bool diamonds = family != familyBlocks, blocks = family != familyDiamonds;
  for (int rank = 0; rank < b.shape.ranks && diamonds; ++rank) {
    for (int file = rank % 2; file < b.shape.files; file += 2) {
      const std::array<int, 4> sq{b.At(rank, file), b.At(rank + 1, file - 1), b.At(rank + 1, file + 1),
                                  b.At(rank + 2, file)};
      if (std::find(sq.begin(), sq.end(), -1) != sq.end()) continue;
      int index = 0;
      for (int i = 3; i >= 0; --i) index = 3 * index + MenState(sq[i]);
      f.index[f.regions++] = index;
    }
  }
  for (int rank = 0; rank + 3 < b.shape.ranks && blocks; rank += 2)
    for (int file = 0; file + 3 < b.shape.files; file += 2) {
      int index = 0, power = 1;
      for (int r = rank; r < rank + 4; ++r)
        for (int c = file; c < file + 4; ++c)
          if ((r + c) % 2 == 0) {
            index += power * MenState(b.At(r, c));
            power *= 3;
          }
      EXPECT_EQ(power, 6561);  // eight squares
      f.index[f.regions++] = index;
    }
  // A man runs away when no piece of the other side stands on a square it
  // could reach on its way to promotion, three rows or fewer away.
  const int last = b.shape.ranks - 1;
  const auto runs = [&](int rank, int file, int dir, int stoppers) {
    const int toGo = dir > 0 ? last - rank : rank;
    if (toGo > 3) return 0;
    for (int up = 1; up <= toGo; ++up)
      for (int across = -up; across <= up; ++across) {
        const int cell = b.At(rank + dir * up, file + across);
        if (cell == stoppers || cell == stoppers + 2) return 0;
      }
    return 1;
  };
  std::array<int, 2> kings{};
  for (int rank = 0; rank < b.shape.ranks; ++rank) {
    for (int file = 0; file < b.shape.files; ++file) {
      const int cell = b.At(rank, file);
      switch (cell) {
        case 1: ++f.term[termMen]; f.term[termTempo] += rank; f.term[termRunaways] += runs(rank, file, 1, 2); break;
        case 2: --f.term[termMen]; f.term[termTempo] -= last - rank; f.term[termRunaways] -= runs(rank, file, -1, 1); break;
        case 3: ++f.term[termKings]; f.term[termLongDiagonal] += rank == file; break;
        case 4: --f.term[termKings]; f.term[termLongDiagonal] -= rank == file; break;
        default: break;
      }
      if (cell >= 3) ++kings[cell - 3];
      f.pieces += cell > 0;
    }
  }
  f.term[termFirstKing] = (kings[0] > 0) - (kings[1] > 0);
  return f;
}

TEST(Kestrel4Patterns, FeaturesAgreeWithTheSlowReference) {
  std::mt19937 rng(11);
  for (int type = 1; type <= GameTypeCount; ++type) {
    if (RegionsOf(type).regions.empty()) continue;
    for (int i = 0; i < 300; ++i) {
      const int family = i % familyCount;
      const TBoard board = testing::RandomPosition(rng, type, 20 + i % 60);
      const TDColor side = i % 2 ? TDColor::black : TDColor::white;
      TBitBoard64 pos;
      BoardToBit64(board, pos, type);
      if (side == TDColor::black) FlipBitBoard(pos, type);
      TFeatures fast;
      ExtractFeatures(pos, type, fast, family);
      const TFeatures slow = SlowFeatures(TSlowBoard(board, side, type), family);
      ASSERT_EQ(fast.regions, slow.regions) << GameTypeNames[type] << ' ' << FamilyName(family);
      for (int r = 0; r < fast.regions; ++r)
        ASSERT_EQ(fast.index[r], slow.index[r]) << GameTypeNames[type] << " position " << i << " region " << r;
      EXPECT_EQ(fast.term, slow.term) << GameTypeNames[type] << " position " << i;
      EXPECT_EQ(fast.pieces, slow.pieces);
    }
  }
}

TEST(Kestrel4Patterns, EvaluationIsTheBlendOfItsWeights) {
  // One weight per region state and phase, drawn at random: the score must
  // be the piece-count blend of the summed weights, as the reference adds them.
  std::mt19937 rng(5);
  for (const int type : {gtRussian, gtInternational, gtSpantsiretti}) {
    TPatternWeights w = TPatternWeights::Plain(type);
    std::uniform_int_distribution<int> value(-40, 40);
    for (auto& phase : w.region)
      for (int16_t& v : phase) v = static_cast<int16_t>(value(rng));
    w.term[0][termTempo] = 3;
    w.term[1][termTempo] = 7;
    const int start = 2 * MenPerSide(type);
    for (int i = 0; i < 100; ++i) {
      const TBoard board = testing::RandomPosition(rng, type, 30);
      TBitBoard64 pos;
      BoardToBit64(board, pos, type);
      const TFeatures f = SlowFeatures(TSlowBoard(board, TDColor::white, type));
      int open = 0, end = 0;
      for (int r = 0; r < f.regions; ++r) {
        open += w.region[0][r * RegionStates + f.index[r]];
        end += w.region[1][r * RegionStates + f.index[r]];
      }
      for (int t = 0; t < termCount; ++t) {
        open += f.term[t] * w.term[0][t];
        end += f.term[t] * w.term[1][t];
      }
      const int pieces = std::min(f.pieces, start);
      const int expected = std::clamp((open * pieces + end * (start - pieces)) / start, -1300, 1300);
      EXPECT_EQ(PatternEvaluate(pos, w), expected) << GameTypeNames[type] << " position " << i;
    }
  }
}

TEST(Kestrel4Patterns, SearchLayoutScoresAsThePlainEvaluation) {
  // Random weights of the full range, so that every table entry and the
  // clamp are read; positions of every density, with kings.
  std::mt19937 rng(23);
  std::uniform_int_distribution<int> value(-2000, 2000), small(-60, 60);
  for (int type = 1; type <= GameTypeCount; ++type) {
    if (RegionsOf(type).regions.empty()) continue;
    for (int round = 0; round < 2 * familyCount; ++round) {
      const bool full = round < familyCount;
      TPatternWeights w = TPatternWeights::Plain(type, round % familyCount);
      for (auto& phase : w.region)
        for (int16_t& v : phase) v = static_cast<int16_t>(full ? value(rng) : small(rng));
      for (auto& phase : w.term)
        for (int16_t& v : phase) v = static_cast<int16_t>(full ? value(rng) : small(rng) * 5);
      const TPatternEval fast(w);
      for (int i = 0; i < 100; ++i) {
        const TBoard board = testing::RandomPosition(rng, type, 5 + i % 90);
        TBitBoard64 pos;
        BoardToBit64(board, pos, type);
        if (i % 2) FlipBitBoard(pos, type);
        ASSERT_EQ(fast(pos), PatternEvaluate(pos, w)) << GameTypeNames[type] << " round " << round << " position " << i;
      }
    }
  }
  // Weights of another size than the variant's: no score, as the plain one.
  TPatternWeights blocks = TPatternWeights::Plain(gtRussian, familyBlocks);
  blocks.family = familyDiamonds;
  EXPECT_EQ(TPatternEval(blocks)(TBitBoard64{0x1F, 0, 0}), 0);
  EXPECT_EQ(PatternEvaluate(TBitBoard64{0x1F, 0, 0}, blocks), 0);
  TPatternWeights cut = TPatternWeights::Plain(gtRussian);
  cut.region[1].pop_back();
  EXPECT_EQ(TPatternEval(cut)(TBitBoard64{0x1F, 0, 0}), 0);
}

TEST(Kestrel4Patterns, BitExtractionAgreesWithThePortableOne) {
  std::mt19937_64 rng(3);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t x = rng(), mask = i % 4 == 0 ? rng() : rng() & rng() & rng();
    uint64_t expected = 0;
    int to = 0;
    for (int bit = 0; bit < 64; ++bit)
      if ((mask >> bit) & 1) expected |= ((x >> bit) & 1) << to++;
    ASSERT_EQ(ExtractBitsPortable(x, mask), expected) << std::hex << x << ' ' << mask;
    ASSERT_EQ(ExtractBits(x, mask), expected) << std::hex << x << ' ' << mask;
  }
  EXPECT_EQ(ExtractBitsPortable(~0ull, ~0ull), ~0ull);
  RecordProperty("pext", ExtractsWithPext() ? "yes" : "no");
}

TEST(Kestrel4Patterns, AnotherFamilyKeepsTheRegionsBothHave) {
  // Diamond weights moved to blocks + diamonds (blocks zero) score every
  // position as before; moved to blocks alone, only the terms remain.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> value(-50, 50);
  for (const int type : {gtRussian, gtInternational}) {
    TPatternWeights w = TPatternWeights::Plain(type);
    for (auto& phase : w.region)
      for (int16_t& v : phase) v = static_cast<int16_t>(value(rng));
    w.term[1][termTempo] = 5;
    const TPatternWeights both = WithFamily(w, familyBlocksAndDiamonds);
    const TPatternWeights blocks = WithFamily(w, familyBlocks);
    TPatternWeights terms = TPatternWeights::Plain(type);
    terms.term = w.term;
    EXPECT_EQ(WithFamily(both, familyDiamonds), w);
    for (int i = 0; i < 200; ++i) {
      TBitBoard64 pos;
      BoardToBit64(testing::RandomPosition(rng, type, 10 + i % 80), pos, type);
      ASSERT_EQ(PatternEvaluate(pos, both), PatternEvaluate(pos, w)) << GameTypeNames[type] << ' ' << i;
      ASSERT_EQ(PatternEvaluate(pos, blocks), PatternEvaluate(pos, terms)) << GameTypeNames[type] << ' ' << i;
    }
  }
}

TEST(Kestrel4Patterns, WeightsFileRoundTripsAndRejectsDamage) {
  TPatternWeights w = TPatternWeights::Plain(gtInternational);
  w.region[1][5] = -17;
  w.region[0][RegionStates * 3 + 80] = 1999;
  w.term[1][termTempo] = 4;
  w.term[0][termRunaways] = 37;
  w.term[1][termFirstKing] = -5;
  TPatternWeights back;
  std::string error;
  ASSERT_TRUE(ParseWeights(WeightsText(w), back, error)) << error;
  EXPECT_EQ(back, w);

  // Blocks and diamonds: written as version 2, read back alike.
  TPatternWeights wide = TPatternWeights::Plain(gtInternational, familyBlocksAndDiamonds);
  const TRegion& lastBlock = RegionsOf(gtInternational, familyBlocksAndDiamonds).regions.back();
  wide.region[0][lastBlock.offset + 6560] = -2000;
  wide.region[1][3] = 12;
  const std::string wideText = WeightsText(wide);
  EXPECT_EQ(wideText.rfind("K4W 2\nvariant 6\nfamily blocks+diamonds\n", 0), 0u) << wideText.substr(0, 60);
  ASSERT_TRUE(ParseWeights(wideText, back, error)) << error;
  EXPECT_EQ(back, wide);
  // Weights on the engine file's evaluation name it, in any family.
  for (TPatternWeights on : {w, wide}) {
    on.onEngineFile = true;
    const std::string text = WeightsText(on);
    EXPECT_NE(text.find("\nbase engine-file\n"), std::string::npos) << text.substr(0, 60);
    ASSERT_TRUE(ParseWeights(text, back, error)) << error;
    EXPECT_EQ(back, on);
  }
  ASSERT_TRUE(ParseWeights(WeightsText(w), back, error)) << error;

  const std::string head = "K4W 1\nvariant 6\n";
  const std::string blocks = "K4W 2\nvariant 6\nfamily blocks\n";  // 16 blocks of 6561 states
  const struct {
    std::string text;
    std::string_view why;
  } bad[] = {
      {"", "no header"},
      {"K4W 3\nvariant 6\n", "unknown version"},
      {"K4W 2\nvariant 6\n", "version 2 without its family"},
      {"K4W 2\nvariant 6\nterm 0 men 100\n", "weights before the family"},
      {"K4W 2\nfamily blocks\nvariant 6\n", "family before the variant"},
      {"K4W 2\nvariant 6\nfamily squares\n", "unknown family"},
      {"K4W 2\nvariant 6\nfamily\n", "family without a name"},
      {blocks + "family blocks\n", "family twice"},
      {head + "family blocks\n", "a family in version 1"},
      {blocks + "region 0 16 0 5\n", "block out of range"},
      {blocks + "region 0 15 6561 5\n", "block state out of range"},
      {blocks + "region 0 3 -1 5\n", "negative state"},
      {"K4W 2\nvariant 6\nfamily blocks+diamonds\nregion 0 0 81 5\n", "diamond state out of range"},
      {blocks + "region 0 15 6560 5 7\n", "extra number"},
      {blocks + "region 1 15 99999999999999999999 5\n", "number too long"},
      {"K4W 1\nvariant 13\n", "no such variant"},
      {"K4W 1\nvariant 11\n", "a variant without a bitboard form"},
      {"K4W 1\nterm 0 men 100\n", "weights before the variant"},
      {head + "region 0 32 0 5\n", "region out of range"},
      {head + "region 0 0 81 5\n", "index out of range"},
      {head + "region 2 0 0 5\n", "phase out of range"},
      {head + "region 0 0 0 2001\n", "weight too large"},
      {head + "term 0 queens 5\n", "unknown term"},
      {head + "region 0 0 0 5x\n", "trailing characters"},
      {head + "variant 6\n", "variant twice"},
      {head + "base engine-file\n", "a base in version 1"},
      {blocks + "base engine-file\nbase engine-file\n", "base twice"},
      {blocks + "base\n", "base without a name"},
      {blocks + "base gen1\n", "unknown base"},
      {blocks + "term 0 men 5\nbase engine-file\n", "base after weights"},
      {"K4W 2\nvariant 6\nbase engine-file\nfamily blocks\n", "base before the family"},
  };
  for (const auto& b : bad) EXPECT_FALSE(ParseWeights(b.text, back, error)) << b.why;
  EXPECT_EQ(back, w);  // a failed parse leaves the weights alone
}

// The shipped files: each reads as the variant it is named for, says which
// command made it, is described in the folder's record, and keeps a king
// worth at least a man (fits that lost this played far worse); weights on
// the engine file's evaluation leave the material to it.
TEST(Kestrel4Patterns, EveryShippedWeightsFileIsItsVariantsAndSound) {
  const std::filesystem::path data = std::filesystem::path(KESTREL_SOURCE_DIR) / "data";
  std::stringstream record;
  record << std::ifstream(data / "Patterns" / "MADE_BY.md").rdbuf();
  int files = 0;
  for (int type = 1; type <= GameTypeCount; ++type) {
    const std::filesystem::path path = DefaultWeightsPath(data, type);
    if (!std::filesystem::exists(path)) continue;
    ++files;
    const std::string name(GameTypeNames[type]);
    TPatternWeights w;
    std::string error;
    ASSERT_TRUE(ReadWeights(path, w, error)) << path << ": " << error;
    EXPECT_EQ(w.gametype, type) << name;
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_TRUE(first.starts_with("# made by: kestrel-cli tune --generation 2 --variant " + name + " ")) << first;
    EXPECT_NE(record.str().find("## " + name + ".k4w"), std::string::npos) << name;
    for (const auto& phase : w.term) {
      if (w.onEngineFile) EXPECT_LE(std::abs(phase[termMen]) + std::abs(phase[termKings]), 50) << name;
      else EXPECT_GE(phase[termKings], phase[termMen]) << name;
    }
  }
  EXPECT_GT(files, 0) << "no weights files in " << data / "Patterns";
}

}  // namespace
}  // namespace kestrel::gen2
