#include <algorithm>
#include <bit>
#include <limits>

#include "engine/bitboard.h"
#include "engine/evaluation.h"

namespace kestrel {
namespace {

// Values are kept in 16 bits; anything wider saturates instead of wrapping
// round to the opposite sign.
int16_t Saturate16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

void BuildByteTable(const std::array<int16_t, 64>& fields, int add,
                    std::array<std::array<int16_t, 256>, 8>& table) {
  for (int p = 0; p < 8; ++p) {
    for (int v = 0; v < 256; ++v) {
      int64_t sum = 0;
      for (int j = 0; j < 8; ++j)
        if (v & (1 << j)) sum += int64_t{fields[8 * p + j]} + add;
      table[p][v] = Saturate16(sum);
    }
  }
}

}  // namespace

void CompileEvalFunc(TEvalFuncNew& func) {
  func.WhiteFields = {};
  func.BlackFields = {};
  func.ClearFields = {};
  func.RealPatt.clear();
  for (const TPattern& pat : func.Patt) {
    const int squares = std::popcount(pat.B.w) + std::popcount(pat.B.b) + std::popcount(pat.B.k);
    if (squares == 1) {
      const uint64_t any = pat.B.w | pat.B.b | pat.B.k;
      const int bit = std::countr_zero(any);
      TStageSquares& fields = pat.B.w ? func.WhiteFields : pat.B.b ? func.BlackFields : func.ClearFields;
      for (int s = 0; s < EvalStages; ++s) fields[s][bit] = Saturate16(pat.value[s]);
    } else if (std::any_of(pat.value.begin(), pat.value.end(), [](int32_t v) { return v != 0; })) {
      func.RealPatt.push_back(pat);
    }
  }
  for (int s = 0; s < EvalStages; ++s) {
    const int man = func.P(s, prManValue);
    BuildByteTable(func.WhiteFields[s], man, func.w[s]);
    BuildByteTable(func.BlackFields[s], -man, func.b[s]);
    BuildByteTable(func.ClearFields[s], 0, func.c[s]);
  }
}

int StageOfCount(int pieces, const TEvalFuncNew& func) {
  if (pieces >= func.P(0, prStageMinCount)) return 0;
  if (pieces >= func.P(1, prStageMinCount)) return 1;
  if (pieces < func.P(2, prStageMinCount)) return 3;
  return 2;
}

int StageOf(const TBitBoard64& pos, const TEvalFuncNew& func) {
  return StageOfCount(std::popcount(pos.w | pos.b), func);
}

}  // namespace kestrel
