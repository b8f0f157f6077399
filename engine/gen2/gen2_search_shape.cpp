#include "engine/gen2/gen2_search_shape.h"

#include <array>
#include <charconv>
#include <set>

namespace kestrel::gen2 {
namespace {

struct TKey {
  const char* name;
  int TSearchShape::*field;
  int min;
  int max;
  const char* what;
};

constexpr std::array<TKey, 17> Keys{{
    {"lmr", &TSearchShape::lmr, 0, 1, "late-move reductions: 0 one or two plies, 1 logarithmic"},
    {"lmrbase", &TSearchShape::lmrBase, -200, 400, "logarithmic reductions: constant part, hundredths of a ply"},
    {"lmrdiv", &TSearchShape::lmrDivisor, 50, 1000, "logarithmic reductions: divisor of ln(depth) ln(move), hundredths"},
    {"hist", &TSearchShape::history, 0, 1, "history: 0 rewards cutoffs only, 1 also punishes quiet moves that failed"},
    {"lmp", &TSearchShape::lmpDepth, 0, 20, "late-move pruning up to this depth"},
    {"lmpscale", &TSearchShape::lmpScale, 25, 400, "late-move pruning: moves searched before pruning, percent"},
    {"fut", &TSearchShape::futilityMargin, 0, 1000, "reverse futility margin per ply, hundredths of a man"},
    {"futdepth", &TSearchShape::futilityDepth, 0, 20, "reverse futility up to this depth"},
    {"razor", &TSearchShape::razorMargin, 0, 1000, "razoring margin at depth 1-2 (0 off)"},
    {"sing", &TSearchShape::singular, 0, 1, "singular extension of the table move"},
    {"singdepth", &TSearchShape::singularDepth, 2, 40, "singular extension from this depth"},
    {"iir", &TSearchShape::iirDepth, 0, 40, "a node without a table move loses a ply from this depth (0 off)"},
    {"qthreat", &TSearchShape::quietThreats, 0, 8, "capture search: quiet moves against a threatened capture, times along a line"},
    {"probcut", &TSearchShape::probCutMargin, 0, 1000, "ProbCut: margin over beta of the shallower search, hundredths of a man (0 off)"},
    {"pcdepth", &TSearchShape::probCutDepth, 3, 40, "ProbCut from this depth"},
    {"pcred", &TSearchShape::probCutReduction, 2, 10, "ProbCut: plies the shallower search leaves out"},
    {"sel", nullptr, 0, 1, "0 turns reductions, pruning and extensions off"},
}};

}  // namespace

bool ParseSearchShape(std::string_view text, TSearchShape& shape, std::string& error) {
  TSearchShape result = shape;
  std::set<std::string_view> seen;
  // An empty item (",," or a trailing comma) is a mistake, not nothing.
  for (bool more = !text.empty(); more;) {
    const size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    more = comma != std::string_view::npos;
    text = more ? text.substr(comma + 1) : std::string_view{};
    const size_t eq = item.find('=');
    if (eq == std::string_view::npos) {
      error = "search setting \"" + std::string(item) + "\" needs =VALUE";
      return false;
    }
    const std::string_view name = item.substr(0, eq);
    const std::string_view value = item.substr(eq + 1);
    const TKey* key = nullptr;
    for (const TKey& k : Keys)
      if (name == k.name) key = &k;
    if (!key) {
      error = "unknown search setting \"" + std::string(name) + "\"";
      return false;
    }
    if (!seen.insert(name).second) {
      error = "search setting " + std::string(name) + " given twice";
      return false;
    }
    int v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (value.empty() || ec != std::errc{} || end != value.data() + value.size()) {
      error = "search setting " + std::string(name) + ": \"" + std::string(value) + "\" is not a whole number";
      return false;
    }
    if (v < key->min || v > key->max) {
      error = "search setting " + std::string(name) + " must be " + std::to_string(key->min) + ".." +
              std::to_string(key->max);
      return false;
    }
    if (key->field) result.*(key->field) = v;
    else result.reductions = result.pruning = result.extensions = v != 0;
  }
  shape = result;
  return true;
}

std::string SearchShapeKeys() {
  const TSearchShape defaults;
  std::string text;
  for (const TKey& k : Keys) {
    const int d = k.field ? defaults.*(k.field) : 1;
    text += std::string("  ") + k.name + " (default " + std::to_string(d) + ", " + std::to_string(k.min) + ".." +
            std::to_string(k.max) + "): " + k.what + "\n";
  }
  return text;
}

}  // namespace kestrel::gen2
