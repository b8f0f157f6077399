// The pattern evaluation of "Kestrel 4". The board is covered by small
// overlapping regions: diamonds of four squares (a square, its two forward
// neighbours and the square two rows ahead). Each region's contents (empty,
// a man of the side to move, a man of the other side; kings count as empty
// there and are scored as material) select one weight of that region, for
// the opening and for the endgame; the score blends the two by the number of
// pieces on the board. Seen from the side to move, whose men move towards
// higher bits, so one table serves both colours.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/bitboard.h"
#include "engine/evaluation.h"

namespace kestrel::gen2 {

constexpr int RegionSquares = 4;
constexpr int RegionStates = 81;  // 3^4
constexpr int MaxRegions = 64;

// The regions of a board layout, each as four bits in index order
// (digit i of the base-3 index is square i).
struct TRegionSet {
  std::vector<std::array<int8_t, RegionSquares>> regions;
  int startPieces = 24;  // both sides at the start of the variant
};

// The regions of the game type's bitboard form; empty for a type without one.
const TRegionSet& RegionsOf(int gametype);

// Index of region `r` in `pos`: sum of 3^i * state of square i, state 1 for a
// man of `w`, 2 for a man of `b`, 0 otherwise.
int RegionIndex(const TBitBoard64& pos, const std::array<int8_t, RegionSquares>& region);

// Scalar terms, each with an opening and an endgame weight.
enum TTerm : int { termMen = 0, termKings, termTempo, termCount };

// The weights of one variant, in hundredths of a man.
struct TPatternWeights {
  int gametype = 0;
  // [phase 0 opening, 1 endgame][region * RegionStates + index]
  std::array<std::vector<int16_t>, 2> region;
  std::array<std::array<int16_t, termCount>, 2> term{};

  // Zero weights of the right size for the variant, material 100 / 300.
  static TPatternWeights Plain(int gametype);
  bool operator==(const TPatternWeights&) const = default;
};

// The features of a position: what training and evaluation both read.
struct TFeatures {
  std::array<int, MaxRegions> index{};  // region r's state index
  int regions = 0;
  std::array<int, termCount> term{};    // side to move minus other side
  int pieces = 0;
};
void ExtractFeatures(const TBitBoard64& pos, int gametype, TFeatures& f);

// Score of `pos` for the side to move, in -1300..1300.
int PatternEvaluate(const TBitBoard64& pos, const TPatternWeights& w);

// The same score laid out for the search, which evaluates millions of
// positions a second: both phases of a region state side by side, region
// states read from the bitboards with shifts and one table, and the rows
// advanced summed a byte of the board at a time.
class TPatternEval {
 public:
  explicit TPatternEval(const TPatternWeights& w);
  int operator()(const TBitBoard64& pos) const;

 private:
  struct TPair {
    int16_t open, end;
  };
  std::vector<TPair> region_;  // [r * RegionStates + index]
  std::vector<uint8_t> base_;  // lowest bit of region r (the others are 5, 6 and 11 above)
  // [byte][value]: men in the byte (low 8 bits) and the sum of their rows.
  std::array<std::array<uint32_t, 256>, 8> rowsOfByte_{};
  std::array<TPair, termCount> term_{};
  int lastRow_ = 0;
  int start_ = 24;
  bool valid_ = false;
};

// The weights file "<Variant>.k4w": text lines "K4W 1", "variant N", then
// "term PHASE NAME VALUE" and "region PHASE R INDEX VALUE" for the weights
// that are not zero. Read checks every number against its range.
std::string WeightsText(const TPatternWeights& w);
bool ParseWeights(const std::string& text, TPatternWeights& w, std::string& error);
bool ReadWeights(const std::filesystem::path& path, TPatternWeights& w, std::string& error);

// Folder and file name of the shipped weights: programFolder/Patterns/<Variant>.k4w.
std::filesystem::path DefaultWeightsPath(const std::filesystem::path& programFolder, int gametype);

}  // namespace kestrel::gen2
