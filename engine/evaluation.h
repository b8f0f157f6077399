// The evaluation function of the current engine: a table-driven score of a
// bitboard position, seen by the side to move, in hundredths of a man. The
// same record carries the search parameters, by game stage.
//
// A TEvalFuncNew is a plain value. The engine copies the variant's function
// at the start of a search and its threads only read that copy, so sharing
// it between threads needs no lock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bitboard.h"
#include "rules/board.h"

namespace kestrel {

constexpr int EvalStages = 4;        // 0 opening (many pieces) .. 3 endgame
constexpr int EvalParamCount = 64;   // parameters per stage
constexpr int EvalMaxScore = 1300;   // Evaluate never leaves -1300..1300
constexpr int NoPiecesScore = -2001; // plus ply: the side to move has nothing left

// Parameter indices: P(s, i) is Param[s * EvalParamCount + i].
enum TEvalParam : int {
  prManValue = 0,
  prKingValue = 1,           // in hundredths of a man value
  prExtensionSelf = 2,       // condition code: extend a single-move node, odd plies
  prReductionAlpha = 3,      // condition code: reduced search against alpha
  prReductionBeta = 4,       // condition code: reduced search against beta
  prRangeAlphaSelf = 5,      // margin below alpha, odd plies
  prRangeAlphaOpponent = 6,  // margin below alpha, even plies
  prRangeBetaSelf = 7,       // margin above beta, odd plies
  prRangeBetaOpponent = 8,   // margin above beta, even plies
  prStageMinCount = 9,       // lowest piece count of stages 0, 1, 2
  prExtensionOpponent = 10,  // condition code: extend a single-move node, even plies
  prSideBalance = 11,
  prSideBalanceWide = 12,    // International only
  prCompress = 13,           // cut the score down to a multiple of this (0 = off)
  prSqueeze = 14,            // non-zero: scale the score by the average piece value
  prKingMainRoad = 15,
  prKingDoubleRoad = 16,
  prKingTripleRoad = 17,
  prEndgameMinDraw = 18,     // 18..21 are stored and edited only
  prEndgameMaxDraw = 19,
  prEndgameUseMaxDraughts = 20,
  prUseLearning = 21,
  prNamedCount = 22,         // indices from here on have no name and no use
};

// Names as they appear in engine files; empty from prNamedCount on.
extern const std::array<std::string_view, EvalParamCount> EvalParamNames;

// A pattern applies when all its `B.w` squares hold men of the side to move,
// all its `B.b` squares men of the other side and all its `B.k` squares are
// empty (a king never satisfies a man square).
struct TPattern {
  TBitBoard64 B;
  std::array<int32_t, EvalStages> value{};

  // Patterns are identified by their three masks.
  bool SameMasks(const TPattern& other) const { return B == other.B; }
  bool Applies(uint64_t menToMove, uint64_t otherMen, uint64_t empty) const {
    return (B.w & ~menToMove) == 0 && (B.b & ~otherMen) == 0 && (B.k & ~empty) == 0;
  }
  bool operator==(const TPattern&) const = default;
};

// A lower and an upper bound of a score.
struct TEval {
  int16_t min = 0;
  int16_t max = 0;
};

// [stage][bit]
using TStageSquares = std::array<std::array<int16_t, 64>, EvalStages>;
// [stage][byte position p: bits 8p..8p+7][byte value]
using TStageByteTable = std::array<std::array<std::array<int16_t, 256>, 8>, EvalStages>;

struct TEvalFuncNew {
  TStageSquares WhiteFields{};  // a man of the side to move on the bit
  TStageSquares BlackFields{};  // a man of the other side (negative = good for it)
  TStageSquares ClearFields{};  // an empty playable square
  // Compiled from the fields and the man value by CompileEvalFunc.
  TStageByteTable w{};
  TStageByteTable b{};
  TStageByteTable c{};
  std::vector<TPattern> Patt;      // every pattern, in file order
  std::vector<TPattern> RealPatt;  // compiled: the patterns of two or more squares with a value
  std::array<int16_t, EvalStages * EvalParamCount> Param{};  // stage-major
  std::string Name;

  uint32_t Size() const { return static_cast<uint32_t>(Patt.size()); }
  uint32_t RealSize() const { return static_cast<uint32_t>(RealPatt.size()); }

  int16_t P(int stage, int index) const { return Param[stage * EvalParamCount + index]; }
  int16_t& P(int stage, int index) { return Param[stage * EvalParamCount + index]; }
  // Sets parameter `index` of all four stages.
  void SetParam(int index, int16_t value) {
    for (int s = 0; s < EvalStages; ++s) P(s, index) = value;
  }
};

// The sum over a set of squares of one stage's byte table: one lookup per
// byte of the set.
inline int64_t ByteTableSum(const std::array<std::array<int16_t, 256>, 8>& table, uint64_t set) {
  int64_t sum = 0;
  for (int p = 0; p < 8; ++p) sum += table[p][(set >> (8 * p)) & 0xFF];
  return sum;
}

// Rebuilds the three field arrays, RealPatt and the three byte tables from
// Patt and Param. Call it after Patt or Param change.
void CompileEvalFunc(TEvalFuncNew& func);

// Stage 0..3 of a position with `pieces` pieces (both sides, men and kings).
int StageOfCount(int pieces, const TEvalFuncNew& func);
int StageOf(const TBitBoard64& pos, const TEvalFuncNew& func);

// Score of `pos` for the side to move (`w`), in -1300..1300, or ply - 2001
// when the side to move has no pieces. `stage` is 0..3 (as StageOf gives; a
// value outside is taken to the nearest stage). Reads only its arguments, so
// any number of threads may evaluate with one function at once; counting
// evaluated nodes is the caller's business.
int16_t Evaluate(const TBitBoard64& pos, int ply, int stage, const TEvalFuncNew& func, int gametype);

// The older engine's fixed material-and-advance evaluation on the mailbox
// board, for `side` to move. Does not count either.
int16_t EvaluateOld(const TNewBoard& board, TDColor side, int gametype);

}  // namespace kestrel
