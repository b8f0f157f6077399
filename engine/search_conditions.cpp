#include "engine/search_conditions.h"

#include <cstdlib>

namespace kestrel {
namespace {

// Codes 2..16 compare the ply with a fraction of the depth: 0 <, 1 <=, 2 =, 3 >, 4 >=.
bool Compare(int kind, int ply, int bound) {
  switch (kind) {
    case 0: return ply < bound;
    case 1: return ply <= bound;
    case 2: return ply == bound;
    case 3: return ply > bound;
    default: return ply >= bound;
  }
}

}  // namespace

bool ConditionHolds(int code, int ply, int depth) {
  const int c = std::abs(code) % ConditionCodeCount;
  if (c == 0) return false;
  if (c == 1) return true;
  if (c <= 6) return Compare(c - 2, ply, depth / 2);
  if (c <= 11) return Compare(c - 7, ply, depth / 3);
  if (c <= 16) return Compare(c - 12, ply, 2 * (depth / 3));
  if (c <= 21) return depth - ply > c - 16;
  if (c <= 26) return depth - ply < c - 21;
  return ply > c - 26;
}

}  // namespace kestrel
