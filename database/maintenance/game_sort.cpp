#include "database/maintenance/game_sort.h"

#include <algorithm>
#include <array>

#include "database/db_error.h"
#include "database/game_io.h"
#include "database/name_tables.h"

namespace kestrel {
namespace {

constexpr std::array<std::string_view, 9> KeyTexts = {"Tournament", "Round", "Date", "White", "Black",
                                                      "Site", "Annotator", "Result", "Length"};

// Only A..Z are lowered, as the names are compared by character code.
std::string SortName(std::string name) {
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

// The lowered names of one list, each computed once.
class TNameKeys {
 public:
  TNameKeys(const TKestrelDB& db, const TNameList& list, bool masked) : db_(db), list_(list), masked_(masked) {}
  // A rank per index: equal names share a rank, so games compare as numbers.
  int32_t Rank(int32_t index) {
    if (ranks_.empty()) Build();
    return list_.Contains(index) ? ranks_[index] : errorRank_;
  }

 private:
  void Build() {
    std::vector<std::string> keys;
    keys.reserve(list_.Count() + 1);
    for (int32_t i = 0; i < list_.Count(); ++i)
      keys.push_back(SortName(masked_ ? TournamentNameOf(db_, i) : list_[i]));
    keys.push_back(SortName(std::string(ErrorName)));
    std::vector<int32_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return keys[a] < keys[b]; });
    std::vector<int32_t> rank(keys.size());
    int32_t r = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      if (k > 0 && keys[order[k]] != keys[order[k - 1]]) ++r;
      rank[order[k]] = r;
    }
    errorRank_ = rank.back();
    rank.pop_back();
    ranks_ = std::move(rank);
    if (ranks_.empty()) ranks_.push_back(0);  // marks the table built
  }
  const TKestrelDB& db_;
  const TNameList& list_;
  bool masked_;
  std::vector<int32_t> ranks_;
  int32_t errorRank_ = 0;
};

}  // namespace

std::string_view SortKeyText(TSortKey key) { return KeyTexts[static_cast<int>(key)]; }

std::optional<TSortKey> ParseSortKey(std::string_view text) {
  for (std::size_t i = 0; i < KeyTexts.size(); ++i) {
    const std::string_view k = KeyTexts[i];
    if (k.size() == text.size() &&
        std::equal(k.begin(), k.end(), text.begin(), [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
      return static_cast<TSortKey>(i);
  }
  return std::nullopt;
}

std::vector<TSortKey> AllSortKeys() {
  std::vector<TSortKey> keys;
  for (int i = 0; i < 9; ++i) keys.push_back(static_cast<TSortKey>(i));
  return keys;
}

void SortGameList(const TKestrelDB& db, TGameList& list, const std::vector<TSortKey>& keys, TProgress& progress) {
  const int32_t count = list.GameListCount;
  TNameKeys players(db, db.DBNames, false), tournaments(db, db.DBTourn, true), sites(db, db.DBSites, false);
  // Every key of every entry as one number, in priority order.
  const std::size_t width = keys.size();
  std::vector<int64_t> table(static_cast<std::size_t>(count) * width);
  TGameHeader h;
  for (int32_t i = 1; i <= count; ++i) {
    if (!ReadHeaderRecord(db, list[i].num, h)) h = TGameHeader{};
    int64_t* row = &table[static_cast<std::size_t>(i - 1) * width];
    for (std::size_t k = 0; k < width; ++k) {
      switch (keys[k]) {
        case TSortKey::tournament: row[k] = tournaments.Rank(h.TournamentIndex); break;
        case TSortKey::round: row[k] = int64_t{h.Round} * 1000 + h.Subround; break;
        case TSortKey::date: row[k] = h.Date.Day + h.Date.Month * 1000LL + h.Date.Year * 1000000LL; break;
        case TSortKey::white: row[k] = players.Rank(h.White.NameIndex); break;
        case TSortKey::black: row[k] = players.Rank(h.Black.NameIndex); break;
        case TSortKey::site: row[k] = sites.Rank(h.SiteIndex); break;
        case TSortKey::annotator: row[k] = players.Rank(h.AnnotatorIndex); break;
        case TSortKey::result: row[k] = h.Result; break;
        case TSortKey::length: row[k] = h.GameLength; break;
      }
    }
    if (i % 1000 == 0) progress.Step(i);
  }
  std::vector<int32_t> order(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    const int64_t* ra = &table[static_cast<std::size_t>(a) * width];
    const int64_t* rb = &table[static_cast<std::size_t>(b) * width];
    return std::lexicographical_compare(ra, ra + width, rb, rb + width);
  });
  std::vector<TDBListRec> sorted;
  sorted.reserve(order.size());
  for (const int32_t i : order) sorted.push_back(list[i + 1]);
  list.SetEntries(sorted);
}

bool CanSaveSortOrder(const TKestrelDB& db, const TGameList& list) {
  if (!db.DBOpened || list.GameListCount != db.DBSize) return false;
  std::vector<bool> seen(static_cast<std::size_t>(db.DBSize) + 1, false);
  for (int32_t i = 1; i <= list.GameListCount; ++i) {
    const int32_t n = list[i].num;
    if (n < 1 || n > db.DBSize || seen[n]) return false;
    seen[n] = true;
  }
  return true;
}

TRenumbering SaveSortOrder(TKestrelDB& db, TGameList& list) {
  if (!CanSaveSortOrder(db, list)) throw TDatabaseError("only a list of the whole database can be saved");
  std::vector<int32_t> order(static_cast<std::size_t>(list.GameListCount));
  for (int32_t i = 1; i <= list.GameListCount; ++i) order[i - 1] = list[i].num;
  TRenumbering r = RewriteIndex(db, order);
  list.Reset(db.DBSize);
  db.DBCurPos = 1;
  return r;
}

}  // namespace kestrel
