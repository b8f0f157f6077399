#include "engine/gen2/gen2_patterns.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <mutex>
#include <sstream>

#include "engine/bitboard_movegen.h"
#include "rules/game_types.h"

namespace kestrel::gen2 {
namespace {

constexpr std::array<int, RegionSquares> Power3{1, 3, 9, 27};
constexpr std::array<std::string_view, termCount> TermNames{"men", "kings", "tempo"};
constexpr int MaxWeight = 2000;

TRegionSet MakeRegions(int gametype) {
  TRegionSet set;
  const uint64_t mask = BitBoardMask(gametype);
  if (mask == 0) return set;
  set.startPieces = 2 * MenPerSide(gametype);
  for (int x = 0; x + 11 < 64; ++x) {
    const std::array<int8_t, RegionSquares> r{static_cast<int8_t>(x), static_cast<int8_t>(x + 5),
                                              static_cast<int8_t>(x + 6), static_cast<int8_t>(x + 11)};
    if (std::all_of(r.begin(), r.end(), [&](int b) { return (mask >> b) & 1; })) set.regions.push_back(r);
  }
  return set;
}

// Row of each bit counted from the side to move's first row.
std::array<int8_t, 64> RowsOf(int gametype) {
  std::array<int8_t, 64> rows{};
  const uint64_t mask = BitBoardMask(gametype);
  if (mask == 0) return rows;
  const int perRow = BoardShape(gametype).squaresPerRank;
  int rank = 0;
  for (int b = 0; b < 64; ++b)
    if ((mask >> b) & 1) rows[b] = static_cast<int8_t>(rank++ / perRow);
  return rows;
}

struct TLayout {
  TRegionSet set;
  std::array<int8_t, 64> rows{};
  int lastRow = 0;
};

const TLayout& LayoutOf(int gametype) {
  static std::array<TLayout, GameTypeCount + 1> layouts;
  static std::once_flag once;
  std::call_once(once, [] {
    for (int t = 1; t <= GameTypeCount; ++t) {
      layouts[t].set = MakeRegions(t);
      layouts[t].rows = RowsOf(t);
      layouts[t].lastRow = *std::max_element(layouts[t].rows.begin(), layouts[t].rows.end());
    }
  });
  static const TLayout none;
  return IsValidGameType(gametype) ? layouts[gametype] : none;
}

int Tempo(uint64_t men, const std::array<int8_t, 64>& rows) {
  int sum = 0;
  for (; men != 0; men &= men - 1) sum += rows[__builtin_ctzll(men)];
  return sum;
}

bool ParseInt(std::string_view s, int lo, int hi, int& v) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= lo && v <= hi;
}

}  // namespace

const TRegionSet& RegionsOf(int gametype) { return LayoutOf(gametype).set; }

int RegionIndex(const TBitBoard64& pos, const std::array<int8_t, RegionSquares>& region) {
  const uint64_t own = pos.w & ~pos.k, other = pos.b & ~pos.k;
  int index = 0;
  for (int i = 0; i < RegionSquares; ++i)
    index += Power3[i] * static_cast<int>(((own >> region[i]) & 1) + 2 * ((other >> region[i]) & 1));
  return index;
}

namespace {

std::array<int, termCount> Terms(const TBitBoard64& pos, const TLayout& layout) {
  const uint64_t own = pos.w & ~pos.k, other = pos.b & ~pos.k;
  std::array<int, termCount> t{};
  t[termMen] = PopCount64(own) - PopCount64(other);
  t[termKings] = PopCount64(pos.w & pos.k) - PopCount64(pos.b & pos.k);
  // Rows advanced; the other side counts from its own first row, the far one.
  t[termTempo] = Tempo(own, layout.rows) - (PopCount64(other) * layout.lastRow - Tempo(other, layout.rows));
  return t;
}

}  // namespace

void ExtractFeatures(const TBitBoard64& pos, int gametype, TFeatures& f) {
  const TLayout& layout = LayoutOf(gametype);
  f.regions = static_cast<int>(std::min<size_t>(layout.set.regions.size(), MaxRegions));
  for (int r = 0; r < f.regions; ++r) f.index[r] = RegionIndex(pos, layout.set.regions[r]);
  f.pieces = PopCount64(pos.w | pos.b);
  f.term = Terms(pos, layout);
}

TPatternWeights TPatternWeights::Plain(int gametype) {
  TPatternWeights w;
  w.gametype = gametype;
  const size_t n = RegionsOf(gametype).regions.size() * RegionStates;
  w.region[0].assign(n, 0);
  w.region[1].assign(n, 0);
  for (int p = 0; p < 2; ++p) {
    w.term[p][termMen] = 100;
    w.term[p][termKings] = 300;
  }
  return w;
}

int PatternEvaluate(const TBitBoard64& pos, const TPatternWeights& w) {
  const TLayout& layout = LayoutOf(w.gametype);
  const auto& regions = layout.set.regions;
  if (w.region[0].size() != regions.size() * RegionStates || w.region[1].size() != w.region[0].size()) return 0;
  int open = 0, end = 0;
  for (size_t r = 0; r < regions.size(); ++r) {
    const int i = static_cast<int>(r) * RegionStates + RegionIndex(pos, regions[r]);
    open += w.region[0][i];
    end += w.region[1][i];
  }
  const std::array<int, termCount> terms = Terms(pos, layout);
  for (int t = 0; t < termCount; ++t) {
    open += terms[t] * w.term[0][t];
    end += terms[t] * w.term[1][t];
  }
  const int start = layout.set.startPieces;
  const int pieces = std::min(PopCount64(pos.w | pos.b), start);
  const int score = (open * pieces + end * (start - pieces)) / start;
  return std::clamp(score, -EvalMaxScore, EvalMaxScore);
}

namespace {

// State index of a region from the four bits of each side's men, own in the
// low nibble: sum of 3^i * (1 own, 2 other) over the region's squares i.
const std::array<uint8_t, 256>& NibbleStates() {
  static const std::array<uint8_t, 256> table = [] {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
      for (int i = 0; i < RegionSquares; ++i) t[c] += Power3[i] * (((c >> i) & 1) + 2 * ((c >> (i + 4)) & 1));
    return t;
  }();
  return table;
}

// Bits 0..3 of the result: bits x, x+5, x+6, x+11 of `m`, given m4 = m >> 4 and m8 = m >> 8.
inline unsigned Nibble(uint64_t m, uint64_t m4, uint64_t m8, int x) {
  return static_cast<unsigned>(((m >> x) & 1) | ((m4 >> x) & 6) | ((m8 >> x) & 8));
}

inline int CountBits(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

}  // namespace

TPatternEval::TPatternEval(const TPatternWeights& w) {
  const TLayout& layout = LayoutOf(w.gametype);
  const auto& regions = layout.set.regions;
  valid_ = !regions.empty() && w.region[0].size() == regions.size() * RegionStates &&
           w.region[1].size() == w.region[0].size();
  if (!valid_) return;
  for (const auto& r : regions) {
    // The nibble extraction relies on the diamond's shape.
    if (r[1] != r[0] + 5 || r[2] != r[0] + 6 || r[3] != r[0] + 11) {
      valid_ = false;
      return;
    }
    base_.push_back(static_cast<uint8_t>(r[0]));
  }
  region_.resize(w.region[0].size());
  for (size_t i = 0; i < region_.size(); ++i) region_[i] = {w.region[0][i], w.region[1][i]};
  for (int t = 0; t < termCount; ++t) term_[t] = {w.term[0][t], w.term[1][t]};
  for (int byte = 0; byte < 8; ++byte)
    for (int v = 0; v < 256; ++v) {
      int men = 0, rows = 0;
      for (int bit = 0; bit < 8; ++bit)
        if ((v >> bit) & 1) {
          ++men;
          rows += layout.rows[8 * byte + bit];
        }
      rowsOfByte_[byte][v] = static_cast<uint32_t>(men | rows << 8);
    }
  lastRow_ = layout.lastRow;
  start_ = layout.set.startPieces;
}

int TPatternEval::operator()(const TBitBoard64& pos) const {
  if (!valid_) return 0;
  const uint64_t own = pos.w & ~pos.k, other = pos.b & ~pos.k;
  const uint64_t own4 = own >> 4, own8 = own >> 8, other4 = other >> 4, other8 = other >> 8;
  const std::array<uint8_t, 256>& states = NibbleStates();
  int open = 0, end = 0;
  const TPair* weights = region_.data();
  for (const uint8_t x : base_) {
    const unsigned c = Nibble(own, own4, own8, x) | Nibble(other, other4, other8, x) << 4;
    const TPair p = weights[states[c]];
    open += p.open;
    end += p.end;
    weights += RegionStates;
  }
  uint32_t ownSum = 0, otherSum = 0;
  for (int byte = 0; byte < 8; ++byte) {
    ownSum += rowsOfByte_[byte][(own >> (8 * byte)) & 255];
    otherSum += rowsOfByte_[byte][(other >> (8 * byte)) & 255];
  }
  const int ownMen = static_cast<int>(ownSum & 255), otherMen = static_cast<int>(otherSum & 255);
  const int kings = pos.k == 0 ? 0 : CountBits(pos.w & pos.k) - CountBits(pos.b & pos.k);
  const std::array<int, termCount> terms{
      ownMen - otherMen, kings,
      static_cast<int>(ownSum >> 8) - (otherMen * lastRow_ - static_cast<int>(otherSum >> 8))};
  for (int t = 0; t < termCount; ++t) {
    open += terms[t] * term_[t].open;
    end += terms[t] * term_[t].end;
  }
  const int pieces = std::min(CountBits(pos.w | pos.b), start_);
  const int score = (open * pieces + end * (start_ - pieces)) / start_;
  return std::clamp(score, -EvalMaxScore, EvalMaxScore);
}

std::string WeightsText(const TPatternWeights& w) {
  std::ostringstream out;
  out << "K4W 1\nvariant " << w.gametype << "\n";
  for (int p = 0; p < 2; ++p)
    for (int t = 0; t < termCount; ++t) out << "term " << p << ' ' << TermNames[t] << ' ' << w.term[p][t] << '\n';
  for (int p = 0; p < 2; ++p)
    for (size_t i = 0; i < w.region[p].size(); ++i)
      if (w.region[p][i] != 0)
        out << "region " << p << ' ' << i / RegionStates << ' ' << i % RegionStates << ' ' << w.region[p][i] << '\n';
  return out.str();
}

bool ParseWeights(const std::string& text, TPatternWeights& result, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  TPatternWeights w;
  bool header = false, variant = false;
  const auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(number) + ": " + what;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> f;
    for (std::string word; words >> word;) f.push_back(word);
    if (f.empty() || f[0][0] == '#') continue;
    if (!header) {
      if (f.size() != 2 || f[0] != "K4W" || f[1] != "1") return fail("not a Kestrel 4 weights file");
      header = true;
      continue;
    }
    int a = 0, b = 0, c = 0, v = 0;
    if (f[0] == "variant") {
      if (variant || f.size() != 2 || !ParseInt(f[1], 1, GameTypeCount, a) || RegionsOf(a).regions.empty())
        return fail("bad variant");
      w = TPatternWeights::Plain(a);
      w.term = {};
      variant = true;
    } else if (!variant) {
      return fail("weights before the variant");
    } else if (f[0] == "term") {
      const auto name = f.size() == 4 ? std::find(TermNames.begin(), TermNames.end(), f[2]) : TermNames.end();
      if (name == TermNames.end() || !ParseInt(f[1], 0, 1, a) || !ParseInt(f[3], -MaxWeight, MaxWeight, v))
        return fail("bad term");
      w.term[a][name - TermNames.begin()] = static_cast<int16_t>(v);
    } else if (f[0] == "region") {
      const int regions = static_cast<int>(RegionsOf(w.gametype).regions.size());
      if (f.size() != 5 || !ParseInt(f[1], 0, 1, a) || !ParseInt(f[2], 0, regions - 1, b) ||
          !ParseInt(f[3], 0, RegionStates - 1, c) || !ParseInt(f[4], -MaxWeight, MaxWeight, v))
        return fail("bad region weight");
      w.region[a][b * RegionStates + c] = static_cast<int16_t>(v);
    } else {
      return fail("unknown line " + f[0]);
    }
  }
  if (!variant) return fail("no variant");
  result = std::move(w);
  return true;
}

bool ReadWeights(const std::filesystem::path& path, TPatternWeights& w, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return false;
  }
  // Far more than any variant's weights need: a damaged file is not read whole.
  constexpr size_t MaxBytes = 4 << 20;
  std::string text;
  std::array<char, 1 << 16> chunk;
  while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
    text.append(chunk.data(), static_cast<size_t>(in.gcount()));
    if (text.size() > MaxBytes) {
      error = path.string() + " is too large";
      return false;
    }
  }
  if (!ParseWeights(text, w, error)) {
    error = path.string() + ": " + error;
    return false;
  }
  return true;
}

std::filesystem::path DefaultWeightsPath(const std::filesystem::path& programFolder, int gametype) {
  if (!IsValidGameType(gametype)) return {};
  return programFolder / "Patterns" / (std::string(GameTypeNames[gametype]) + ".k4w");
}

}  // namespace kestrel::gen2
