// Duplicate matching: small cases of each option, and "Fast" against a plain
// comparison of every pair on random databases.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "database/maintenance/deleted_marks.h"
#include "database/maintenance/duplicates.h"
#include "maintenance_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TDoubRec Rec(int num, std::string game, std::string names = "") {
  TDoubRec r;
  r.num = num;
  r.game = std::move(game);
  r.names = std::move(names);
  return r;
}

// Every pair compared, as the dialog's slow mode describes; groups as sets.
std::set<std::set<int32_t>> PairwiseGroups(const std::vector<TDoubRec>& records, const TMatchOptions& o) {
  std::vector<int> group(records.size(), -1);
  std::vector<std::set<int32_t>> groups;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (group[i] >= 0) continue;
    for (std::size_t j = i + 1; j < records.size(); ++j) {
      if (!RecordsMatch(records[i], records[j], o)) continue;
      if (group[i] < 0) {
        group[i] = static_cast<int>(groups.size());
        groups.push_back({records[i].num});
      }
      group[j] = group[i];
      groups[group[i]].insert(records[j].num);
    }
  }
  return {groups.begin(), groups.end()};
}

std::set<std::set<int32_t>> GroupsOf(const std::vector<TMatchEntry>& entries) {
  std::set<std::set<int32_t>> out;
  std::set<int32_t> current;
  for (const TMatchEntry& e : entries) {
    if (!e.duplicate && !current.empty()) {
      out.insert(current);
      current.clear();
    }
    current.insert(e.num);
  }
  if (!current.empty()) out.insert(current);
  return out;
}

TEST(MatchGames, CasesOfTheDialog) {
  struct Case {
    const char* what;
    std::vector<TDoubRec> records;
    bool partial;
    std::vector<std::pair<int, bool>> expected;
  };
  const Case cases[] = {
      {"three copies", {Rec(1, "ab"), Rec(2, "ab"), Rec(3, "ab")}, false, {{1, false}, {2, true}, {3, true}}},
      {"a prefix with partial length", {Rec(1, "c3d4"), Rec(2, "c3d4e5f6")}, true, {{1, false}, {2, true}}},
      {"a prefix needs partial length", {Rec(1, "c3d4"), Rec(2, "c3d4e5f6")}, false, {}},
      {"no moves match nothing", {Rec(1, ""), Rec(2, ""), Rec(3, "ab")}, true, {}},
      {"names differ", {Rec(1, "ab", "x"), Rec(2, "ab", "y"), Rec(3, "ab", "x")}, false, {{1, false}, {3, true}}},
  };
  for (const Case& c : cases)
    for (const bool fast : {true, false}) {
      std::vector<TDoubRec> records = c.records;
      TMatchOptions o;
      o.partial = c.partial;
      o.fast = fast;
      std::vector<std::pair<int, bool>> got;
      for (const TMatchEntry& e : GroupDuplicates(records, o)) got.emplace_back(e.num, e.duplicate);
      EXPECT_EQ(got, c.expected) << c.what << (fast ? " (fast)" : "");
    }
}

TEST(MatchGames, FastAgreesWithEveryPairCompared) {
  std::mt19937 rng(41);
  for (int round = 0; round < 40; ++round) {
    std::vector<TDoubRec> records;
    const int n = 5 + static_cast<int>(rng() % 60);
    for (int i = 1; i <= n; ++i) {
      TDoubRec r;
      r.num = i;
      // Few letters, so that equal keys and prefixes are common.
      const int len = static_cast<int>(rng() % 4);
      for (int k = 0; k < len; ++k) r.game += static_cast<char>('a' + rng() % 2);
      r.names = std::string(1, static_cast<char>('x' + rng() % 2));
      r.year = static_cast<uint16_t>(rng() % 2);
      records.push_back(r);
    }
    for (const bool partial : {false, true})
      for (const bool moves : {true, false}) {
        TMatchOptions o;
        o.partial = partial;
        o.moves = moves;
        std::vector<TDoubRec> plain = records;
        if (!moves)
          for (TDoubRec& r : plain) r.game.clear();
        std::vector<TDoubRec> fast = plain, slow = plain;
        o.fast = true;
        const auto fastEntries = GroupDuplicates(fast, o);
        o.fast = false;
        const auto slowEntries = GroupDuplicates(slow, o);
        // Pairs found: with partial length, matching is not transitive, so
        // only the matched pairs are compared.
        std::set<std::pair<int, int>> pairs;
        for (std::size_t i = 0; i < plain.size(); ++i)
          for (std::size_t j = i + 1; j < plain.size(); ++j)
            if (RecordsMatch(plain[i], plain[j], o)) pairs.insert({plain[i].num, plain[j].num});
        if (!partial) {
          EXPECT_EQ(GroupsOf(fastEntries), PairwiseGroups(plain, o)) << "round " << round;
          EXPECT_EQ(GroupsOf(slowEntries), PairwiseGroups(plain, o)) << "round " << round;
        } else if (moves) {
          std::set<int32_t> fastDup, any;
          for (const auto& e : fastEntries) (e.duplicate ? fastDup : any).insert(e.num);
          for (const auto& [a, b] : pairs) EXPECT_TRUE(fastDup.count(b) || fastDup.count(a)) << a << "~" << b;
          for (const int32_t d : fastDup) {
            bool matched = false;
            for (const auto& [a, b] : pairs) matched = matched || a == d || b == d;
            EXPECT_TRUE(matched) << d;
          }
        } else {
          EXPECT_TRUE(fastEntries.empty()) << "partial length without moves compares nothing";
        }
      }
  }
}

TEST(MatchGames, OnADatabaseMarksLaterCopies) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  std::mt19937 rng(42);
  const TGame a = RandomGame(gtRussian, rng, {.legal = false, .additions = 20}),
              b = RandomGame(gtRussian, rng, {.legal = false, .additions = 20});
  for (const TGame* g : {&a, &b, &a, &a, &b}) {
    TGame copy = *g;
    WriteDBGame(copy, 0, db, false);
  }
  TGameList list;
  const TMatchResult r = MatchGames(db, TMatchOptions{}, list);
  EXPECT_EQ(r.groups, 2);
  EXPECT_EQ(r.duplicates, 3);
  ASSERT_EQ(list.GameListCount, 5);
  std::vector<bool> marked;
  for (int n = 1; n <= 5; ++n) marked.push_back(IsMarkedDeleted(db, n));
  EXPECT_EQ(marked, (std::vector<bool>{false, false, true, true, true}));
}

TEST(MoveKey, CapturesLeftOutOnRequest) {
  TGame g = LineGame(gtRussian, 2);
  AddMove(g, 2, Capture({9, 18}, {14}));
  const std::string all = MoveKey(g, false), quiet = MoveKey(g, true);
  EXPECT_GT(all.size(), quiet.size());
  EXPECT_EQ(all.compare(0, quiet.size(), quiet), 0);
}

}  // namespace
}  // namespace kestrel
