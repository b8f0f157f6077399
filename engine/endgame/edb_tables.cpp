#include "engine/endgame/edb_tables.h"

#include <bit>

#include "rules/game_types.h"

namespace kestrel {

namespace {

struct TBinomials {
  std::array<std::array<uint64_t, 8>, 64> c{};
  TBinomials() {
    for (int n = 0; n < 64; ++n) {
      c[n][0] = 1;
      for (int k = 1; k < 8; ++k) c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
    }
  }
};
const TBinomials binomials;

// Colex rank of a set of indices: the i-th lowest element c adds C(c, i).
uint64_t ColexRank(uint64_t set) {
  uint64_t r = 0;
  for (int i = 1; set != 0; ++i, set &= set - 1) r += binomials.c[std::countr_zero(set)][i];
  return r;
}

// The k-subset of 0..n-1 with colex rank r, as positions into `slots`.
uint64_t ColexUnrank(uint64_t r, int k, const std::array<int8_t, 64>& slots, int n) {
  uint64_t set = 0;
  int c = n - 1;
  for (int i = k; i >= 1; --i) {
    while (c >= 0 && binomials.c[c][i] > r) --c;
    r -= binomials.c[c][i];
    set |= uint64_t{1} << slots[c];
    --c;
  }
  return set;
}

}  // namespace

uint64_t EdbBinomial(int n, int k) {
  if (n < 0 || k < 0 || n >= 64 || k >= 8) return 0;
  return binomials.c[n][k];
}

uint32_t TEdbMaterial::Number() const {
  return static_cast<uint32_t>(wm * 10000000 + bm * 1000000 + wk * 100000 + bk * 10000 + rsw * 100 + rsb);
}

bool MaterialFromNumber(uint32_t number, TEdbMaterial& m) {
  if (number == 0 || number > 99999999) return false;
  m.wm = number / 10000000 % 10;
  m.bm = number / 1000000 % 10;
  m.wk = number / 100000 % 10;
  m.bk = number / 10000 % 10;
  m.rsw = number / 100 % 100;
  m.rsb = number % 100;
  return m.wm + m.wk > 0 && m.bm + m.bk > 0;
}

std::string TableFileName(const TEdbMaterial& m) {
  const int n = m.Pieces();
  const char first = n < 10 ? static_cast<char>('0' + n) : static_cast<char>('A' + n - 10);
  return std::string(1, first) + "-" + std::to_string(m.wk) + std::to_string(m.bk) + std::to_string(m.wm) +
         std::to_string(m.bm) + "-" + std::to_string(m.rsw) + "-" + std::to_string(m.rsb);
}

std::filesystem::path TableFolder(const std::filesystem::path& root, int gametype, bool mtw) {
  const std::string variant = IsValidGameType(gametype) ? std::string(GameTypeNames[gametype]) : "Unknown";
  return root / variant / (mtw ? "MTW" : "WDL");
}

std::filesystem::path EndgameRoot(const std::filesystem::path& programFolder, const std::string& edPath) {
  return edPath.empty() ? programFolder / "ED" : std::filesystem::path(edPath);
}

TEdbBoard::TEdbBoard(int gametype) : gametype_(gametype) {
  bitToIndex_.fill(-1);
  indexToBit_.fill(-1);
  if (!HasBitBoardForm(gametype)) return;
  squares_ = GameTypes[gametype].SquareCount;
  perRow_ = squares_ == 32 ? 4 : 5;
  maxMen_ = squares_ == 50 ? 4 : 5;
  for (int i = 0; i < squares_; ++i) {
    const int bit = SquareToBit(i, squares_);
    bitToIndex_[bit] = static_cast<int8_t>(i);
    indexToBit_[i] = static_cast<int8_t>(bit);
  }
  for (int byte = 0; byte < 8; ++byte)
    for (int v = 0; v < 256; ++v)
      for (int j = 0; j < 8; ++j) {
        if (!(v >> j & 1)) continue;
        const int bit = 8 * byte + j;
        if (bitToIndex_[bit] >= 0) bitsToIndex_[byte][v] |= uint64_t{1} << bitToIndex_[bit];
        if (indexToBit_[bit] >= 0) indexToBits_[byte][v] |= uint64_t{1} << indexToBit_[bit];
      }
  // The men tables: for each n, the n-sets of the men squares in decreasing
  // lexicographic order of their squares taken from high to low, which is
  // decreasing colex order; each set is ranked among those of its row sum.
  const int menSquares = squares_ - perRow_;
  const int maxRowSum = maxMen_ * MenRows() + 1;
  men_.resize(maxMen_ + 1);
  sets_.resize(maxMen_ + 1);
  std::array<int8_t, 64> identity{};
  for (int i = 0; i < 64; ++i) identity[i] = static_cast<int8_t>(i);
  for (int n = 0; n <= maxMen_; ++n) {
    const uint64_t total = binomials.c[menSquares][n];
    men_[n].resize(total);
    sets_[n].assign(maxRowSum + 1, {});
    for (uint64_t r = total; r-- > 0;) {
      const uint64_t set = ColexUnrank(r, n, identity, menSquares);
      int rowSum = 0;
      for (uint64_t s = set; s != 0; s &= s - 1) rowSum += std::countr_zero(s) / perRow_ + 1;
      auto& list = sets_[n][rowSum];
      men_[n][r] = {static_cast<uint32_t>(list.size()), 0, static_cast<uint8_t>(rowSum)};
      list.push_back(set);
    }
    for (auto& e : men_[n]) e.count = static_cast<uint32_t>(sets_[n][e.rowSum].size());
  }
}

uint32_t TEdbBoard::MenCount(int n, int rowSum) const {
  if (n < 0 || n > maxMen_ || rowSum < 0 || rowSum >= static_cast<int>(sets_[n].size())) return 0;
  return static_cast<uint32_t>(sets_[n][rowSum].size());
}

int TEdbBoard::MinRowSum(int n) const { return n <= perRow_ ? n : 2 * n - perRow_; }

int TEdbBoard::MaxRowSum(int n) const {
  const int f = MenRows();
  return n <= perRow_ ? n * f : (n - perRow_) * (f - 1) + f * perRow_;
}

const std::vector<uint64_t>& TEdbBoard::MenSets(int n, int rowSum) const {
  static const std::vector<uint64_t> none;
  if (MenCount(n, rowSum) == 0) return none;
  return sets_[n][rowSum];
}

const TEdbBoard::TMenEntry* TEdbBoard::MenLookup(uint64_t indexSet, int n) const {
  if (n > maxMen_) return nullptr;
  // A man on the last row cannot be (it would have been crowned).
  if (indexSet >> (squares_ - perRow_) != 0) return nullptr;
  return &men_[n][ColexRank(indexSet)];
}

bool TEdbBoard::MaterialOf(const TBitBoard64& pos, TEdbMaterial& m) const {
  uint64_t index = 0;
  return Locate(pos, m, index);
}

uint32_t TEdbBoard::TableNumber(const TBitBoard64& pos) const {
  if (!Valid()) return 0;
  if (std::popcount(pos.w) > NumberLimit() || std::popcount(pos.b) > NumberLimit()) return 0;
  TEdbMaterial m;
  return MaterialOf(pos, m) ? m.Number() : 0;
}

uint64_t TEdbBoard::TableSize(const TEdbMaterial& m) const {
  const int free = squares_ - m.wm - m.bm;
  return uint64_t{MenCount(m.wm, m.rsw)} * MenCount(m.bm, m.rsb) * EdbBinomial(free, m.wk) *
         EdbBinomial(free - m.wk, m.bk);
}

uint64_t TEdbBoard::Index(const TBitBoard64& pos, const TEdbMaterial& m) const {
  TEdbMaterial found;
  uint64_t index = 0;
  Locate(pos, found, index);
  return index;
}

bool TEdbBoard::Locate(const TBitBoard64& pos, TEdbMaterial& m, uint64_t& index) const {
  if (!Valid()) return false;
  const uint64_t white = BitsToIndexSet(pos.w), black = BitsToIndexSet(pos.b), kings = BitsToIndexSet(pos.k);
  const uint64_t wmen = white & ~kings;
  const uint64_t bmenBoard = black & ~kings;
  const uint64_t bmen = TurnIndexSet(bmenBoard);
  m.wm = std::popcount(wmen);
  m.bm = std::popcount(bmen);
  m.wk = std::popcount(pos.w & pos.k);
  m.bk = std::popcount(pos.b & pos.k);
  const TMenEntry* whiteMen = MenLookup(wmen, m.wm);
  const TMenEntry* blackMen = MenLookup(bmen, m.bm);
  if (!whiteMen || !blackMen) return false;
  m.rsw = whiteMen->rowSum;
  m.rsb = blackMen->rowSum;
  index = IndexOf(m, *whiteMen, *blackMen, wmen | bmenBoard, white & kings, black & kings);
  return true;
}

uint64_t TEdbBoard::IndexOf(const TEdbMaterial& m, const TMenEntry& white, const TMenEntry& black, uint64_t menAll,
                            uint64_t wkings, uint64_t bkings) const {
  // Kings are ranked among the squares the men leave free, the other side's
  // kings among those the side to move's kings leave free as well.
  uint64_t kW = 0, kB = 0;
  int k = 1;
  for (uint64_t s = wkings; s != 0; s &= s - 1, ++k) {
    const int q = std::countr_zero(s);
    const uint64_t below = (uint64_t{1} << q) - 1;
    kW += binomials.c[q - std::popcount(menAll & below)][k];
  }
  k = 1;
  for (uint64_t s = bkings; s != 0; s &= s - 1, ++k) {
    const int q = std::countr_zero(s);
    const uint64_t below = (uint64_t{1} << q) - 1;
    kB += binomials.c[q - std::popcount(menAll & below) - std::popcount(wkings & below)][k];
  }
  const int free = squares_ - m.wm - m.bm;
  return ((uint64_t{white.rank} * black.count + black.rank) * binomials.c[free][m.wk] + kW) *
             binomials.c[free - m.wk][m.bk] +
         kB;
}

bool TEdbBoard::Position(const TEdbMaterial& m, uint64_t index, TBitBoard64& pos) const {
  if (index >= TableSize(m)) return false;
  const int free = squares_ - m.wm - m.bm;
  const uint64_t cw = EdbBinomial(free, m.wk), cb = EdbBinomial(free - m.wk, m.bk);
  const uint64_t kB = index % cb;
  index /= cb;
  const uint64_t kW = index % cw;
  index /= cw;
  const uint64_t countB = MenCount(m.bm, m.rsb);
  const uint64_t wmen = MenSets(m.wm, m.rsw)[index / countB];
  const uint64_t bmen = TurnIndexSet(MenSets(m.bm, m.rsb)[index % countB]);
  if ((wmen & bmen) != 0) return false;
  const uint64_t all = squares_ == 64 ? ~uint64_t{0} : (uint64_t{1} << squares_) - 1;
  std::array<int8_t, 64> slots{};
  const auto fill = [&](uint64_t freeSet) {
    int n = 0;
    for (; freeSet != 0; freeSet &= freeSet - 1) slots[n++] = static_cast<int8_t>(std::countr_zero(freeSet));
    return n;
  };
  const uint64_t wkings = m.wk == 0 ? 0 : ColexUnrank(kW, m.wk, slots, fill(all & ~(wmen | bmen)));
  const uint64_t bkings = m.bk == 0 ? 0 : ColexUnrank(kB, m.bk, slots, fill(all & ~(wmen | bmen | wkings)));
  pos.w = IndexSetToBits(wmen | wkings);
  pos.b = IndexSetToBits(bmen | bkings);
  pos.k = IndexSetToBits(wkings | bkings);
  return true;
}

}  // namespace kestrel
