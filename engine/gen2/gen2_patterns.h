// The pattern evaluation of "Kestrel 4". The board is covered by small
// overlapping regions of a family: diamonds of four squares (a square, its
// two forward neighbours and the square two rows ahead), blocks of four rows
// by four files (eight squares) overlapping their neighbours by two rows and
// two files, or both. Each region's contents (empty, a man of the side to
// move, a man of the other side; kings count as empty there and are scored
// by the terms) select one weight of that region, for the opening and for the
// endgame; the score blends the two by the number of pieces on the board.
// Seen from the side to move, whose men move towards higher bits, so one
// table serves both colours.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bitboard.h"
#include "engine/evaluation.h"

namespace kestrel::gen2 {

constexpr int RegionSquares = 4;   // of a diamond
constexpr int RegionStates = 81;   // 3^4, of a diamond
constexpr int MaxRegionSquares = 8;
constexpr int MaxRegionStates = 6561;  // 3^8
constexpr int MaxRegions = 64;

// Which regions cover the board. Diamonds alone are the family of the first
// weights files ("K4W 1"); the others are named in the file.
enum TRegionFamily : int { familyDiamonds = 0, familyBlocks, familyBlocksAndDiamonds, familyCount };
// "diamonds", "blocks", "blocks+diamonds"; -1 for another text.
std::string_view FamilyName(int family);
int FamilyOfName(std::string_view name);

// A region: its squares as bits (digit i of the base-3 index is the i-th
// lowest of them) and where its weights start.
struct TRegion {
  uint64_t mask = 0;
  int squares = 0;
  int states = 0;  // 3^squares
  int offset = 0;  // of state 0 in the family's weights
};

struct TRegionSet {
  std::vector<TRegion> regions;  // a family with diamonds lists them first
  int weights = 0;               // states of all regions
  int startPieces = 24;          // both sides at the start of the variant
};

// The regions of the game type's bitboard form; empty for a type without
// one or an unknown family.
const TRegionSet& RegionsOf(int gametype, int family = familyDiamonds);

// Index of `region` in `pos`: sum of 3^i * state of square i, state 1 for a
// man of `w`, 2 for a man of `b`, 0 otherwise.
int RegionIndex(const TBitBoard64& pos, const TRegion& region);

// The bits of `x` under `mask`, packed towards bit 0 (what BMI2's PEXT does);
// the build picks the instruction where the machine has it.
uint64_t ExtractBits(uint64_t x, uint64_t mask);
// The same by plain shifts, on every machine.
uint64_t ExtractBitsPortable(uint64_t x, uint64_t mask);
bool ExtractsWithPext();

// Scalar terms, each with an opening and an endgame weight, each side to move
// minus other side: men, kings, rows advanced by the men, kings on the long
// diagonal, having a king at all, and men near promotion with no piece of the
// other side ahead of them.
enum TTerm : int { termMen = 0, termKings, termTempo, termLongDiagonal, termFirstKing, termRunaways, termCount };

// The weights of one variant, in hundredths of a man.
struct TPatternWeights {
  int gametype = 0;
  int family = familyDiamonds;
  // [phase 0 opening, 1 endgame][region offset + index]
  std::array<std::vector<int16_t>, 2> region;
  std::array<std::array<int16_t, termCount>, 2> term{};
  // The weights score what the engine file's evaluation misses: the search
  // adds the two (and the terms hold no material of their own). They are
  // fitted on the variant's shipped engine file; another file shifts the sum.
  bool onEngineFile = false;

  // Zero weights of the right size for the variant, material 100 / 300.
  static TPatternWeights Plain(int gametype, int family = familyDiamonds);
  bool operator==(const TPatternWeights&) const = default;
};

// The features of a position: what training and evaluation both read.
struct TFeatures {
  std::array<int, MaxRegions> index{};  // region r's state index
  int regions = 0;
  std::array<int, termCount> term{};    // side to move minus other side
  int pieces = 0;
};
void ExtractFeatures(const TBitBoard64& pos, int gametype, TFeatures& f, int family = familyDiamonds);

// `w` over the regions of `family`: the weights of the regions both
// families have (diamonds, blocks) and the terms are kept, the rest is zero.
TPatternWeights WithFamily(const TPatternWeights& w, int family);

// Score of `pos` for the side to move, in -1300..1300.
int PatternEvaluate(const TBitBoard64& pos, const TPatternWeights& w);

// The same score laid out for the search, which evaluates millions of
// positions a second: both phases of a region state side by side, each
// region's men read from the bitboards with one bit extraction per side and
// turned into its index with one small table, and the rows advanced summed a
// byte of the board at a time.
class TPatternEval {
 public:
  explicit TPatternEval(const TPatternWeights& w);
  int operator()(const TBitBoard64& pos) const;

 private:
  struct TPair {
    int16_t open, end;
  };
  struct TRegionAt {
    uint64_t mask;
    uint32_t offset;
  };
  std::vector<TPair> region_;  // [region offset + index]
  std::vector<TRegionAt> regions_;
  // [byte][value]: men in the byte (low 8 bits) and the sum of their rows.
  std::array<std::array<uint32_t, 256>, 8> rowsOfByte_{};
  std::array<TPair, termCount> term_{};
  int lastRow_ = 0;
  int start_ = 24;
  uint64_t longDiagonal_ = 0, nearUp_ = 0, nearDown_ = 0;
  std::array<uint64_t, 64> aheadUp_{}, aheadDown_{};
  bool countRunaways_ = false;  // the only term that costs a loop
  bool valid_ = false;
};

// The weights file "<Variant>.k4w": text lines "K4W 1", "variant N", then
// "term PHASE NAME VALUE" and "region PHASE R INDEX VALUE" for the weights
// that are not zero. Other families than the diamonds are written as "K4W 2",
// with "family NAME" after the variant, and so are weights on the engine
// file's evaluation, which say "base engine-file" after the family. Read
// checks every number against its range.
std::string WeightsText(const TPatternWeights& w);
bool ParseWeights(const std::string& text, TPatternWeights& w, std::string& error);
bool ReadWeights(const std::filesystem::path& path, TPatternWeights& w, std::string& error);

// Folder and file name of the shipped weights: programFolder/Patterns/<Variant>.k4w.
std::filesystem::path DefaultWeightsPath(const std::filesystem::path& programFolder, int gametype);

}  // namespace kestrel::gen2
