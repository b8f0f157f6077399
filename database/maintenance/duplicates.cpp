#include "database/maintenance/duplicates.h"

#include <algorithm>
#include <unordered_map>

#include "database/game_io.h"
#include "database/maintenance/deleted_marks.h"
#include "game/move_tree.h"
#include "rules/notation.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {
namespace {

// Everything but the moves, in one string: entries that differ here never
// match, so only entries of one bucket are compared.
std::string BucketKey(const TDoubRec& r) {
  std::string k;
  k.reserve(r.pos.size() + r.names.size() + r.tourn.size() + 16);
  for (const std::string* s : {&r.pos, &r.names, &r.tourn}) {
    k += std::to_string(s->size());
    k += ':';
    k += *s;
  }
  k += std::to_string(r.year);
  return k;
}

// Groups entries order[from..to) as the pairwise comparison of every entry
// with every later one would, comparing only entries of one bucket.
void GroupRange(std::vector<TDoubRec>& records, const std::vector<int32_t>& order, std::size_t from, std::size_t to,
                const TMatchOptions& options, std::vector<TMatchEntry>& out) {
  if (to - from < 2) return;
  std::unordered_map<std::string, std::vector<int32_t>> buckets;
  std::vector<std::pair<std::vector<int32_t>*, std::size_t>> where(to - from);
  for (std::size_t k = from; k < to; ++k) {
    auto& bucket = buckets[BucketKey(records[order[k]])];
    where[k - from] = {&bucket, bucket.size()};
    bucket.push_back(order[k]);
  }
  for (std::size_t k = from; k < to; ++k) {
    TDoubRec& a = records[order[k]];
    if (a.checked) continue;
    const auto& [bucket, at] = where[k - from];
    for (std::size_t m = at + 1; m < bucket->size(); ++m) {
      TDoubRec& b = records[(*bucket)[m]];
      if (options.moves && !SimilarInMoves(a, b, options.partial)) continue;
      if (!a.checked) out.push_back({a.num, false});
      a.checked = b.checked = true;
      out.push_back({b.num, true});
    }
  }
}

}  // namespace

std::string MoveKey(const TGame& game, bool withoutCaptures) {
  std::string key;
  const int type = GameTypeOf(game);
  int node = 0;
  // A damaged record cannot loop: the main line is never longer than the tree.
  for (int steps = 0; steps < game.SlotCount(); ++steps) {
    node = FirstChild(game, node);
    if (node == 0) break;
    const TMove& m = game.Moves[node];
    if (withoutCaptures && m.lt != 0) continue;
    key += MoveToText(m, type, 1, "");
  }
  return key;
}

TDoubRec MakeDoubRec(const TGame& game, int32_t num, const TMatchOptions& options) {
  TDoubRec r;
  r.num = num;
  if (options.startPosition) r.pos.assign(game.StartBoard.begin(), game.StartBoard.end());
  if (options.moves) r.game = MoveKey(game, options.withoutCaptures);
  if (options.names) r.names = game.WhiteName + game.BlackName;
  if (options.tournament)
    r.tourn = game.Tournament + std::to_string(game.Header.Round) + std::to_string(game.Header.Subround);
  if (options.year) r.year = game.Header.Date.Year;
  return r;
}

bool SimilarInMoves(const TDoubRec& a, const TDoubRec& b, bool partial) {
  if (!partial) return a.game == b.game;
  if (a.game.empty() || b.game.empty()) return false;
  const std::size_t n = std::min(a.game.size(), b.game.size());
  return a.game.compare(0, n, b.game, 0, n) == 0;
}

bool RecordsMatch(const TDoubRec& a, const TDoubRec& b, const TMatchOptions& options) {
  return a.year == b.year && a.names == b.names && a.tourn == b.tourn && a.pos == b.pos &&
         (!options.moves || SimilarInMoves(a, b, options.partial));
}

std::vector<TMatchEntry> GroupDuplicates(std::vector<TDoubRec>& records, const TMatchOptions& options) {
  std::vector<TMatchEntry> out;
  std::vector<int32_t> order(records.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
  if (!options.fast) {
    GroupRange(records, order, 0, order.size(), options, out);
    return out;
  }
  // Stable, so that within a run the games keep their order and each
  // group's first game is the one with the lowest number.
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return records[a].game < records[b].game; });
  for (std::size_t s = 0; s < order.size();) {
    std::size_t e = s + 1;
    while (e < order.size() && SimilarInMoves(records[order[e]], records[order[s]], options.partial)) ++e;
    GroupRange(records, order, s, e, options, out);
    s = e;
  }
  return out;
}

TMatchResult MatchGames(TKestrelDB& db, const TMatchOptions& options, TGameList& list, bool markDeleted,
                        TProgress& progress) {
  TMatchResult result;
  std::vector<TDoubRec> records;
  records.reserve(static_cast<std::size_t>(db.DBSize));
  {
    TProgressStage stage(progress, MatchGamesCaption, LoadingText, db.DBSize);
    TGame game;
    for (int32_t n = 1; n <= db.DBSize; ++n) {
      // An unreadable game is left empty by the read and matches as such.
      ReadDBGame(db, n, false, game);
      records.push_back(MakeDoubRec(game, n, options));
      if (n % 1000 == 0 && !stage.Step(n)) {
        result.cancelled = true;
        return result;
      }
    }
  }
  {
    TProgressStage stage(progress, MatchGamesCaption, MatchingText, db.DBSize);
    result.entries = GroupDuplicates(records, options);
  }
  std::vector<TDBListRec> shown;
  shown.reserve(result.entries.size());
  for (const TMatchEntry& e : result.entries) {
    shown.push_back({e.num, false, -1});
    if (e.duplicate) {
      ++result.duplicates;
      if (markDeleted) SetDeletedMark(db, e.num, true);
    } else {
      ++result.groups;
    }
  }
  list.SetEntries(shown);
  db.DBCurPos = 1;
  return result;
}

}  // namespace kestrel
