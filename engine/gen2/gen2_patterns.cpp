#include "engine/gen2/gen2_patterns.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <mutex>
#include <sstream>

#if defined(__BMI2__)
#include <immintrin.h>
#endif

#include "engine/bitboard_movegen.h"
#include "rules/game_types.h"

namespace kestrel::gen2 {
namespace {

constexpr std::array<std::string_view, termCount> TermNames{"men",         "kings",      "tempo",
                                                            "long-diagonal", "first-king", "runaways"};
constexpr std::array<std::string_view, familyCount> FamilyNames{"diamonds", "blocks", "blocks+diamonds"};
constexpr int MaxWeight = 2000;

bool HasDiamonds(int family) { return family == familyDiamonds || family == familyBlocksAndDiamonds; }
bool HasBlocks(int family) { return family == familyBlocks || family == familyBlocksAndDiamonds; }

int Power3(int n) {
  int p = 1;
  while (n-- > 0) p *= 3;
  return p;
}

void AddRegion(TRegionSet& set, uint64_t mask) {
  TRegion r;
  r.mask = mask;
  r.squares = PopCount64(mask);
  r.states = Power3(r.squares);
  r.offset = set.weights;
  set.weights += r.states;
  set.regions.push_back(r);
}

// The board's squares: the squares in order are the board's bits in order;
// rank and file of the k-th as the board numbers them.
struct TCell {
  uint64_t bit;
  int rank, file;
};
std::vector<TCell> CellsOf(int gametype) {
  std::vector<TCell> cells;
  const int perRank = BoardShape(gametype).squaresPerRank;
  int k = 0;
  for (uint64_t m = BitBoardMask(gametype); m != 0; m &= m - 1, ++k) {
    const int rank = k / perRank;
    cells.push_back({m & (~m + 1), rank, 2 * (k % perRank) + rank % 2});
  }
  return cells;
}

TRegionSet MakeRegions(int gametype, int family) {
  TRegionSet set;
  const uint64_t mask = BitBoardMask(gametype);
  if (mask == 0) return set;
  set.startPieces = 2 * MenPerSide(gametype);
  if (HasDiamonds(family))
    for (int x = 0; x + 11 < 64; ++x) {
      const uint64_t diamond = (1ull << x) | (1ull << (x + 5)) | (1ull << (x + 6)) | (1ull << (x + 11));
      if ((diamond & mask) == diamond) AddRegion(set, diamond);
    }
  if (HasBlocks(family)) {
    const TBoardShape shape = BoardShape(gametype);
    std::vector<uint64_t> at(static_cast<size_t>(shape.ranks * shape.files), 0);
    for (const TCell& c : CellsOf(gametype)) at[static_cast<size_t>(c.rank * shape.files + c.file)] = c.bit;
    for (int rank = 0; rank + 3 < shape.ranks; rank += 2)
      for (int file = 0; file + 3 < shape.files; file += 2) {
        uint64_t block = 0;
        for (int r = rank; r < rank + 4; ++r)
          for (int f = file; f < file + 4; ++f) block |= at[static_cast<size_t>(r * shape.files + f)];
        AddRegion(set, block);
      }
  }
  return set;
}

// Row of each bit counted from the side to move's first row.
std::array<int8_t, 64> RowsOf(int gametype) {
  std::array<int8_t, 64> rows{};
  for (const TCell& c : CellsOf(gametype)) rows[__builtin_ctzll(c.bit)] = static_cast<int8_t>(c.rank);
  return rows;
}

// Men this many rows or fewer from promotion may run away.
constexpr int RunawayRows = 3;

struct TLayout {
  std::array<TRegionSet, familyCount> sets;
  std::array<int8_t, 64> rows{};
  int lastRow = 0;
  uint64_t longDiagonal = 0;  // rank == file: corner to corner on a square board
  // A man's squares ahead up to its promotion row, widening by a file each
  // row: where a piece of the other side could stop it. Up for the side to
  // move, down for the other.
  std::array<uint64_t, 64> aheadUp{}, aheadDown{};
  uint64_t nearUp = 0, nearDown = 0;  // men near enough to promotion
};

void AddRunawayMasks(TLayout& layout, int gametype) {
  const std::vector<TCell> cells = CellsOf(gametype);
  const int last = layout.lastRow;
  for (const TCell& c : cells) {
    const int bit = __builtin_ctzll(c.bit);
    if (c.rank == c.file) layout.longDiagonal |= c.bit;
    if (c.rank < last && c.rank >= last - RunawayRows) layout.nearUp |= c.bit;
    if (c.rank > 0 && c.rank <= RunawayRows) layout.nearDown |= c.bit;
    for (const TCell& d : cells) {
      const int up = d.rank - c.rank, across = std::abs(d.file - c.file);
      if (up > 0 && across <= up) layout.aheadUp[bit] |= d.bit;
      if (up < 0 && across <= -up) layout.aheadDown[bit] |= d.bit;
    }
  }
}

// Men of `men` near promotion with no piece of `stoppers` ahead.
int Runaways(uint64_t men, uint64_t stoppers, const std::array<uint64_t, 64>& ahead) {
  int n = 0;
  for (; men != 0; men &= men - 1) n += (ahead[__builtin_ctzll(men)] & stoppers) == 0;
  return n;
}

const TLayout& LayoutOf(int gametype) {
  static std::array<TLayout, GameTypeCount + 1> layouts;
  static std::once_flag once;
  std::call_once(once, [] {
    for (int t = 1; t <= GameTypeCount; ++t) {
      for (int f = 0; f < familyCount; ++f) layouts[t].sets[f] = MakeRegions(t, f);
      layouts[t].rows = RowsOf(t);
      layouts[t].lastRow = *std::max_element(layouts[t].rows.begin(), layouts[t].rows.end());
      AddRunawayMasks(layouts[t], t);
    }
  });
  static const TLayout none;
  return IsValidGameType(gametype) ? layouts[gametype] : none;
}

const TRegionSet& SetOf(const TLayout& layout, int family) {
  static const TRegionSet none;
  return family >= 0 && family < familyCount ? layout.sets[family] : none;
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

std::string_view FamilyName(int family) { return family >= 0 && family < familyCount ? FamilyNames[family] : ""; }

int FamilyOfName(std::string_view name) {
  const auto it = std::find(FamilyNames.begin(), FamilyNames.end(), name);
  return it == FamilyNames.end() ? -1 : static_cast<int>(it - FamilyNames.begin());
}

const TRegionSet& RegionsOf(int gametype, int family) { return SetOf(LayoutOf(gametype), family); }

int RegionIndex(const TBitBoard64& pos, const TRegion& region) {
  const uint64_t own = pos.w & ~pos.k, other = pos.b & ~pos.k;
  int index = 0, power = 1;
  for (uint64_t m = region.mask; m != 0; m &= m - 1, power *= 3) {
    const int bit = __builtin_ctzll(m);
    index += power * static_cast<int>(((own >> bit) & 1) + 2 * ((other >> bit) & 1));
  }
  return index;
}

uint64_t ExtractBitsPortable(uint64_t x, uint64_t mask) {
  // A run of neighbouring bits at a time: a region has a few short runs.
  uint64_t out = 0;
  int to = 0;
  while (mask != 0) {
    const int from = __builtin_ctzll(mask);
    const uint64_t shifted = mask >> from;
    const int width = ~shifted == 0 ? 64 : __builtin_ctzll(~shifted);
    const uint64_t run = width >= 64 ? ~0ull : (1ull << width) - 1;
    out |= ((x >> from) & run) << to;
    to += width;
    mask = width + from >= 64 ? 0 : mask & ~(run << from);
  }
  return out;
}

#if defined(__BMI2__)
uint64_t ExtractBits(uint64_t x, uint64_t mask) { return _pext_u64(x, mask); }
bool ExtractsWithPext() { return true; }
#else
uint64_t ExtractBits(uint64_t x, uint64_t mask) { return ExtractBitsPortable(x, mask); }
bool ExtractsWithPext() { return false; }
#endif

namespace {

std::array<int, termCount> Terms(const TBitBoard64& pos, const TLayout& layout) {
  const uint64_t own = pos.w & ~pos.k, other = pos.b & ~pos.k;
  std::array<int, termCount> t{};
  t[termMen] = PopCount64(own) - PopCount64(other);
  t[termKings] = PopCount64(pos.w & pos.k) - PopCount64(pos.b & pos.k);
  // Rows advanced; the other side counts from its own first row, the far one.
  t[termTempo] = Tempo(own, layout.rows) - (PopCount64(other) * layout.lastRow - Tempo(other, layout.rows));
  t[termLongDiagonal] = PopCount64(pos.w & pos.k & layout.longDiagonal) - PopCount64(pos.b & pos.k & layout.longDiagonal);
  t[termFirstKing] = ((pos.w & pos.k) != 0) - ((pos.b & pos.k) != 0);
  t[termRunaways] = Runaways(own & layout.nearUp, pos.b, layout.aheadUp) -
                    Runaways(other & layout.nearDown, pos.w, layout.aheadDown);
  return t;
}

}  // namespace

void ExtractFeatures(const TBitBoard64& pos, int gametype, TFeatures& f, int family) {
  const TLayout& layout = LayoutOf(gametype);
  const TRegionSet& set = SetOf(layout, family);
  f.regions = static_cast<int>(std::min<size_t>(set.regions.size(), MaxRegions));
  for (int r = 0; r < f.regions; ++r) f.index[r] = RegionIndex(pos, set.regions[r]);
  f.pieces = PopCount64(pos.w | pos.b);
  f.term = Terms(pos, layout);
}

TPatternWeights TPatternWeights::Plain(int gametype, int family) {
  TPatternWeights w;
  w.gametype = gametype;
  w.family = family;
  const size_t n = static_cast<size_t>(RegionsOf(gametype, family).weights);
  w.region[0].assign(n, 0);
  w.region[1].assign(n, 0);
  for (int p = 0; p < 2; ++p) {
    w.term[p][termMen] = 100;
    w.term[p][termKings] = 300;
  }
  return w;
}

TPatternWeights WithFamily(const TPatternWeights& w, int family) {
  TPatternWeights out = TPatternWeights::Plain(w.gametype, family);
  out.term = w.term;
  out.onEngineFile = w.onEngineFile;
  const TRegionSet& from = RegionsOf(w.gametype, w.family);
  const TRegionSet& to = RegionsOf(w.gametype, family);
  if (w.region[0].size() != static_cast<size_t>(from.weights)) return out;
  // Regions are known by their squares: the same mask is the same region.
  for (const TRegion& a : from.regions)
    for (const TRegion& b : to.regions)
      if (a.mask == b.mask)
        for (int p = 0; p < 2; ++p)
          std::copy_n(w.region[p].begin() + a.offset, a.states, out.region[p].begin() + b.offset);
  return out;
}

int PatternEvaluate(const TBitBoard64& pos, const TPatternWeights& w) {
  const TLayout& layout = LayoutOf(w.gametype);
  const TRegionSet& set = SetOf(layout, w.family);
  const size_t n = static_cast<size_t>(set.weights);
  if (set.regions.empty() || w.region[0].size() != n || w.region[1].size() != n) return 0;
  int open = 0, end = 0;
  for (const TRegion& r : set.regions) {
    const int i = r.offset + RegionIndex(pos, r);
    open += w.region[0][i];
    end += w.region[1][i];
  }
  const std::array<int, termCount> terms = Terms(pos, layout);
  for (int t = 0; t < termCount; ++t) {
    open += terms[t] * w.term[0][t];
    end += terms[t] * w.term[1][t];
  }
  const int start = set.startPieces;
  const int pieces = std::min(PopCount64(pos.w | pos.b), start);
  const int score = (open * pieces + end * (start - pieces)) / start;
  return std::clamp(score, -EvalMaxScore, EvalMaxScore);
}

namespace {

// Index contribution of a region's men of one side, the men packed towards
// bit 0: sum of 3^i over its set bits i (twice that for the other side).
const std::array<uint16_t, 256>& Base3() {
  static const std::array<uint16_t, 256> table = [] {
    std::array<uint16_t, 256> t{};
    for (int c = 0; c < 256; ++c)
      for (int i = 0; i < 8; ++i)
        if ((c >> i) & 1) t[c] = static_cast<uint16_t>(t[c] + Power3(i));
    return t;
  }();
  return table;
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
  const TRegionSet& set = SetOf(layout, w.family);
  const size_t n = static_cast<size_t>(set.weights);
  valid_ = !set.regions.empty() && w.region[0].size() == n && w.region[1].size() == n;
  if (!valid_) return;
  for (const TRegion& r : set.regions) regions_.push_back({r.mask, static_cast<uint32_t>(r.offset)});
  region_.resize(n);
  for (size_t i = 0; i < n; ++i) region_[i] = {w.region[0][i], w.region[1][i]};
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
  start_ = set.startPieces;
  longDiagonal_ = layout.longDiagonal;
  nearUp_ = layout.nearUp;
  nearDown_ = layout.nearDown;
  aheadUp_ = layout.aheadUp;
  aheadDown_ = layout.aheadDown;
  countRunaways_ = w.term[0][termRunaways] != 0 || w.term[1][termRunaways] != 0;
}

int TPatternEval::operator()(const TBitBoard64& pos) const {
  if (!valid_) return 0;
  const uint64_t own = pos.w & ~pos.k, other = pos.b & ~pos.k;
  const std::array<uint16_t, 256>& base3 = Base3();
  int open = 0, end = 0;
  const TPair* weights = region_.data();
  for (const TRegionAt& r : regions_) {
    const unsigned index = base3[ExtractBits(own, r.mask)] + 2u * base3[ExtractBits(other, r.mask)];
    const TPair p = weights[r.offset + index];
    open += p.open;
    end += p.end;
  }
  uint32_t ownSum = 0, otherSum = 0;
  for (int byte = 0; byte < 8; ++byte) {
    ownSum += rowsOfByte_[byte][(own >> (8 * byte)) & 255];
    otherSum += rowsOfByte_[byte][(other >> (8 * byte)) & 255];
  }
  const int ownMen = static_cast<int>(ownSum & 255), otherMen = static_cast<int>(otherSum & 255);
  const auto add = [&](int value, TTerm t) {
    open += value * term_[t].open;
    end += value * term_[t].end;
  };
  add(ownMen - otherMen, termMen);
  add(static_cast<int>(ownSum >> 8) - (otherMen * lastRow_ - static_cast<int>(otherSum >> 8)), termTempo);
  if (pos.k != 0) {
    const uint64_t ownKings = pos.w & pos.k, otherKings = pos.b & pos.k;
    add(CountBits(ownKings) - CountBits(otherKings), termKings);
    add(CountBits(ownKings & longDiagonal_) - CountBits(otherKings & longDiagonal_), termLongDiagonal);
    add((ownKings != 0) - (otherKings != 0), termFirstKing);
  }
  if (countRunaways_)
    add(Runaways(own & nearUp_, pos.b, aheadUp_) - Runaways(other & nearDown_, pos.w, aheadDown_), termRunaways);
  const int pieces = std::min(CountBits(pos.w | pos.b), start_);
  const int score = (open * pieces + end * (start_ - pieces)) / start_;
  return std::clamp(score, -EvalMaxScore, EvalMaxScore);
}

std::string WeightsText(const TPatternWeights& w) {
  std::ostringstream out;
  // The diamonds' files stay as they always were.
  if (w.family == familyDiamonds && !w.onEngineFile) out << "K4W 1\nvariant " << w.gametype << "\n";
  else out << "K4W 2\nvariant " << w.gametype << "\nfamily " << FamilyName(w.family) << "\n";
  if (w.onEngineFile) out << "base engine-file\n";
  for (int p = 0; p < 2; ++p)
    for (int t = 0; t < termCount; ++t) out << "term " << p << ' ' << TermNames[t] << ' ' << w.term[p][t] << '\n';
  const std::vector<TRegion>& regions = RegionsOf(w.gametype, w.family).regions;
  for (int p = 0; p < 2; ++p)
    for (size_t r = 0; r < regions.size(); ++r)
      for (int i = 0; i < regions[r].states; ++i) {
        const size_t at = static_cast<size_t>(regions[r].offset + i);
        if (at < w.region[p].size() && w.region[p][at] != 0)
          out << "region " << p << ' ' << r << ' ' << i << ' ' << w.region[p][at] << '\n';
      }
  return out.str();
}

bool ParseWeights(const std::string& text, TPatternWeights& result, std::string& error) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  TPatternWeights w;
  int version = 0;
  bool variant = false, family = false, weights = false;
  const auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(number) + ": " + what;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> f;
    for (std::string word; words >> word && f.size() < 6;) f.push_back(word);
    if (f.empty() || f[0][0] == '#') continue;
    if (version == 0) {
      if (f.size() != 2 || f[0] != "K4W" || (f[1] != "1" && f[1] != "2")) return fail("not a Kestrel 4 weights file");
      version = f[1][0] - '0';
      continue;
    }
    int a = 0, b = 0, c = 0, v = 0;
    if (f[0] == "variant") {
      if (variant || f.size() != 2 || !ParseInt(f[1], 1, GameTypeCount, a) || RegionsOf(a).regions.empty())
        return fail("bad variant");
      w = TPatternWeights::Plain(a);
      w.term = {};
      variant = true;
      // Version 1 knows only the diamonds; version 2 names its family next.
      family = version == 1;
    } else if (!variant) {
      return fail("weights before the variant");
    } else if (f[0] == "family") {
      const int named = f.size() == 2 ? FamilyOfName(f[1]) : -1;
      if (family || named < 0 || RegionsOf(w.gametype, named).regions.empty()) return fail("bad family");
      w = TPatternWeights::Plain(w.gametype, named);
      w.term = {};
      family = true;
    } else if (!family) {
      return fail("weights before the family");
    } else if (f[0] == "base") {
      // Before the weights, which it changes the meaning of.
      if (version == 1 || w.onEngineFile || weights || f.size() != 2 || f[1] != "engine-file") return fail("bad base");
      w.onEngineFile = true;
    } else if (f[0] == "term") {
      weights = true;
      const auto name = f.size() == 4 ? std::find(TermNames.begin(), TermNames.end(), f[2]) : TermNames.end();
      if (name == TermNames.end() || !ParseInt(f[1], 0, 1, a) || !ParseInt(f[3], -MaxWeight, MaxWeight, v))
        return fail("bad term");
      w.term[a][name - TermNames.begin()] = static_cast<int16_t>(v);
    } else if (f[0] == "region") {
      weights = true;
      const std::vector<TRegion>& regions = RegionsOf(w.gametype, w.family).regions;
      const int count = static_cast<int>(regions.size());
      if (f.size() != 5 || !ParseInt(f[1], 0, 1, a) || !ParseInt(f[2], 0, count - 1, b) ||
          !ParseInt(f[3], 0, regions[static_cast<size_t>(b)].states - 1, c) ||
          !ParseInt(f[4], -MaxWeight, MaxWeight, v))
        return fail("bad region weight");
      w.region[a][static_cast<size_t>(regions[static_cast<size_t>(b)].offset + c)] = static_cast<int16_t>(v);
    } else {
      return fail("unknown line " + f[0]);
    }
  }
  if (!variant) return fail("no variant");
  if (!family) return fail("no family");
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
  constexpr size_t MaxBytes = 16 << 20;
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
