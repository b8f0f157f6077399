// The scan checked on a small database built by hand (one table of cases),
// and against a plain search written from the rules alone (whole games read,
// moves played on the rules core's board) on random databases of every type.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "database/derived_header.h"
#include "database/search/search_database.h"
#include "database/tests/db_test_util.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

using testing::Capture;
using testing::Step;

using TFound = std::vector<std::pair<int32_t, int32_t>>;  // game number, gotomove

TFound Found(const TSearchResult& r) {
  TFound f;
  for (const TDBListRec& e : r.found) f.emplace_back(e.num, e.gotomove);
  return f;
}

TBrd StartOf(int type) { return InitialPosition(type).b; }

TBrd AllAny() {
  TBrd b;
  b.cells.fill(AnySquare);
  return b;
}

// ---------------------------------------------------------------------------
// The small database.

struct TGameSpec {
  const char* white;
  const char* black;
  uint8_t result;
  uint16_t year;
  const char* tournament;
  int type = gtRussian;
  bool deleted = false;
  bool blackFirst = false;
};

class SearchTable : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshDatabase(dir_, db_);
    // 1: a transposition (the position after slot 3 again at slot 6).
    Add({"Ivanov", "Petrov", 1, 1990, "Moscow Open"}, [](TGame& g) {
      int n = AddMove(g, 0, Step(10, 14)).slot;
      n = AddMove(g, n, Step(24, 20)).slot;
      AddMove(g, n, Step(12, 15));
      n = AddMove(g, 0, Step(12, 15)).slot;
      n = AddMove(g, n, Step(24, 20)).slot;
      AddMove(g, n, Step(10, 14));
    });
    // 2: a comment.
    Add({"Sivanenko", "Smirnov", 2, 2001, "Kyiv Cup"}, [](TGame& g) {
      const int n = AddMove(g, 0, Step(9, 13)).slot;
      g.CommentsAft[n] = "a quiet move";
    });
    // 3: two captures, black's from c7 (26), and a move after each.
    Add({"Petrov", "Ivanov", 3, 1985, "Moscow Open"}, [](TGame& g) {
      int n = AddMove(g, 0, Step(9, 13)).slot;
      n = AddMove(g, n, Step(22, 18)).slot;
      n = AddMove(g, n, Capture({13, 22}, {18})).slot;
      n = AddMove(g, n, Capture({26, 19}, {22})).slot;
      AddMove(g, n, Step(10, 14));
    });
    Add({"Orlov", "Petrov", 1, 2010, "Club", gtRussian, true}, [](TGame&) {});
    // 5: International, a capture from 35 (16 on the reversed board).
    Add({"Smirnov", "Orlov", 0, 1995, "\xD2\xF3\xF0\xED\xE8\xF0", gtInternational}, [](TGame& g) {
      int n = AddMove(g, 0, Step(31, 27)).slot;
      n = AddMove(g, n, Capture({35, 24}, {30})).slot;
      AddMove(g, n, Step(20, 25));
    });
    Add({"Kuznetsov", "Orlov", 2, 1999, "Club", gtRussian, false, true}, [](TGame& g) { AddMove(g, 0, Step(21, 17)); });
    CloseDatabase(db_);
    ASSERT_TRUE(OpenDatabase(dir_.File("games.abd"), db_, false).ok());
  }

  void Add(const TGameSpec& s, const std::function<void(TGame&)>& moves) {
    TGame g;
    NewGame(g, s.type);
    if (s.blackFirst) g.Header.FirstMove = TDColor::black;
    moves(g);
    g.WhiteName = s.white;
    g.BlackName = s.black;
    g.Tournament = s.tournament;
    g.Header.Result = s.result;
    g.Header.Date.Year = s.year;
    if (s.deleted) g.Header.Flags |= hfDeleted;
    WriteDBGame(g, 0, db_, true);
  }

  testing::TempDir dir_;
  TKestrelDB db_;
};

// The position after the moves of `slot` of game `n`.
TBrd PositionOf(TKestrelDB& db, int n, int slot, TDColor& side) {
  TGame g;
  EXPECT_TRUE(ReadDBGame(db, n, false, g));
  TBoard b;
  EXPECT_TRUE(PositionAt(g, slot, b, side));
  return b.b;
}

TEST_F(SearchTable, CasesOfThePart) {
  TDColor side;
  const TBrd transposed = PositionOf(db_, 1, 3, side);
  ASSERT_EQ(side, TDColor::black);
  TBrd mirrored{};  // the same position turned round with the colours swapped
  for (int s = 1; s <= 32; ++s) mirrored[33 - s] = static_cast<int8_t>(-transposed[s]);

  struct TCase {
    const char* what;
    std::function<void(TSearchInfo&, TSearchSwitches&)> set;
    TFound expected;
  };
  const std::vector<TCase> cases = {
      {"white text ivan", [](auto& i, auto&) { i.name[0] = "ivan"; }, {{1, 0}, {2, 0}}},
      {"ivan with Ignore colors also as black",
       [](auto& i, auto&) {
         i.name[0] = "ivan";
         i.ignorecol = true;
       },
       {{1, 0}, {2, 0}, {3, 0}}},
      {"only white wins, Ignore colors: black's win found",
       [](auto& i, auto&) {
         i.name[0] = "ivan";
         i.ignorecol = true;
         i.rescheck = {false, true, false, false, false, false};
       },
       {{1, 0}, {3, 0}}},
      {"only white wins without Ignore colors",
       [](auto& i, auto&) {
         i.name[0] = "ivan";
         i.rescheck = {false, true, false, false, false, false};
       },
       {{1, 0}}},
      {"both players", [](auto& i, auto&) { i.name = {"petrov", "ivanov"}; }, {{3, 0}}},
      {"Deleted alone", [](auto&, auto& s) { s.deleted = true; }, {{4, 0}}},
      {"tournament text", [](auto& i, auto&) { i.tourn = "mosc"; }, {{1, 0}, {3, 0}}},
      {"Cyrillic tournament in another case", [](auto& i, auto&) { i.tourn = "\xF2\xF3\xF0"; }, {{5, 0}}},
      {"years", [](auto& i, auto&) { i.yearstart = 1985, i.yearend = 1990; }, {{1, 0}, {3, 0}}},
      {"length", [](auto& i, auto&) { i.movestart = 3, i.moveend = 3; }, {{3, 0}}},
      {"Comments", [](auto&, auto& s) { s.comments = true; }, {{2, 0}}},
      {"Variations", [](auto&, auto& s) { s.variations = true; }, {{1, 0}}},
      {"Uncommented", [](auto&, auto& s) { s.uncommented = true; }, {{3, 0}, {4, 0}, {5, 0}, {6, 0}}},
      {"game type", [](auto&, auto& s) { s.gameType = gtInternational; }, {{5, 0}}},
      {"quick search from the start: black's first move found reversed",
       [](auto& i, auto& s) { SetQuickSearch(i, s, StartOf(gtRussian), TDColor::white, 32); },
       {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {6, 0}}},
      {"the same without the reversed test",
       [](auto& i, auto& s) {
         SetQuickSearch(i, s, StartOf(gtRussian), TDColor::white, 32);
         i.ignorecolboard = false;
       },
       {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
      {"a transposition: the variation's slot",
       [&](auto& i, auto& s) { SetQuickSearch(i, s, transposed, TDColor::black, 32); }, {{1, 6}}},
      {"the mirrored position with the other side to move",
       [&](auto& i, auto& s) { SetQuickSearch(i, s, mirrored, TDColor::white, 32); }, {{1, 6}}},
      {"mirrored, without the reversed test",
       [&](auto& i, auto& s) {
         SetQuickSearch(i, s, mirrored, TDColor::white, 32);
         i.ignorecolboard = false;
       },
       {}},
      {"Only initial position",
       [&](auto& i, auto& s) {
         SetQuickSearch(i, s, transposed, TDColor::black, 32);
         i.onlyinitial = true;
       },
       {}},
      {"material: fewer than 24 pieces, pattern all any",
       [](auto& i, auto& s) {
         s.position = true;
         i.brdsearch = AllAny();
         i.tot = true, i.totmin = 0, i.totmax = 23;
       },
       {{3, 3}}},
      {"material: a black man short, on the reversed side",
       [](auto& i, auto& s) {
         s.position = true;
         i.brdsearch = AllAny();
         i.ignorecolboard = true;
         i.whitemovechecked = false;  // the direct test only with black to move
         i.wm = true, i.wmmin = 0, i.wmmax = 11;
       },
       {{3, 4}}},
      {"combination of one piece: the position before the first capture",
       [](auto& i, auto& s) {
         s.position = true;
         i.Comb = true;
       },
       {{3, 2}, {5, 1}}},
      {"combination from c7",
       [](auto& i, auto& s) {
         s.position = true;
         i.Comb = true, i.CombFr = 26;
       },
       {{3, 3}}},
      {"combination of two pieces", [](auto& i, auto& s) { s.position = true, i.Comb = true, i.CombCnt = 2; }, {}},
      {"reversed combination squares mirrored on each game's own board",
       [](auto& i, auto& s) {
         s.position = true;
         i.Comb = true, i.ignorecolboard = true;
         i.CombFr = 7;  // c7 (26) of the 32-square board, mirrored
         s.squareCount = 32;
       },
       {{3, 3}}},
      {"reversed combination squares on the 50-square board",
       [](auto& i, auto& s) {
         s.position = true;
         i.Comb = true, i.ignorecolboard = true;
         i.CombFr = 16, i.CombTo = 27;  // 35 and 24, mirrored on 50 squares
         s.squareCount = 32;
       },
       {{5, 1}}},
  };
  for (const TCase& c : cases) {
    TSearchInfo info;
    TSearchSwitches switches;
    c.set(info, switches);
    const TSearchResult r = SearchDatabase(db_, info, switches);
    EXPECT_EQ(Found(r), c.expected) << c.what;
    EXPECT_EQ(r.unreadable, 0) << c.what;
    EXPECT_FALSE(r.cancelled) << c.what;
  }
}

TEST_F(SearchTable, UnreadableGameFailsThePositionTestAndIsCounted) {
  TGameHeader h;
  ASSERT_TRUE(ReadHeaderRecord(db_, 2, h));
  // The moves of game 2 cut short: its last slot runs past the blob.
  h.Length -= 1;
  WriteHeaderRecord(db_, 2, h);
  TSearchInfo info;
  TSearchSwitches switches;
  EXPECT_EQ(Found(SearchDatabase(db_, info, switches)).size(), 6u) << "the header tests read no moves";
  SetQuickSearch(info, switches, StartOf(gtRussian), TDColor::white, 32);
  const TSearchResult r = SearchDatabase(db_, info, switches);
  EXPECT_EQ(Found(r), (TFound{{1, 0}, {3, 0}, {4, 0}, {6, 0}}));
  EXPECT_EQ(r.unreadable, 1);
  TGame g;
  EXPECT_FALSE(ReadDBGame(db_, 2, false, g)) << "a game the search skips cannot be loaded either";
}

TEST(SearchProgress, CancelWhileGame2500Of10000StopsBeforeGame3001) {
  testing::TempDir dir;
  TKestrelDB db;
  testing::FreshDatabase(dir, db);
  TGame g = testing::LineGame(gtRussian, 2);
  for (int i = 0; i < 10000; ++i) WriteDBGame(g, 0, db, false);
  db.DBSize = db.RecordCount();
  std::vector<int32_t> calls;
  const TSearchResult r = SearchDatabase(db, TSearchInfo{}, TSearchSwitches{}, [&](const TSearchProgress& p) {
    calls.push_back(p.gameNo);
    EXPECT_EQ(p.found, p.gameNo - 1);
    EXPECT_EQ(p.total, 10000);
    return p.gameNo < 2500;  // the user pressed Cancel while game 2500 was examined
  });
  EXPECT_EQ(calls, (std::vector<int32_t>{1, 1001, 2001, 3001}));
  EXPECT_TRUE(r.cancelled);
  ASSERT_EQ(r.found.size(), 3000u);
  EXPECT_EQ(r.found.back().num, 3000);
}

TEST(SearchProgress, ClosedDatabaseSearchesNothing) {
  TKestrelDB db;
  const TSearchResult r = SearchDatabase(db, TSearchInfo{}, TSearchSwitches{});
  EXPECT_FALSE(r.opened);
  EXPECT_TRUE(r.found.empty());
}

// ---------------------------------------------------------------------------
// The plain search: every game loaded whole, its tree walked recursively with
// the moves played by the rules core, each test made square by square.

struct TPlainSearch {
  const TSearchInfo& info;
  int patternSquares;
  const TGame* game = nullptr;
  int squares = 0;
  int32_t found = -1;

  bool PatternCompared() const {
    if (info.Comb) return false;
    for (int s = 1; s <= patternSquares; ++s)
      if (info.brdsearch[s] != AnySquare) return true;
    return false;
  }

  bool Test(const TBrd& b, int slot, bool reversed) const {
    int wm = 0, wk = 0, bm = 0, bk = 0;
    for (int s = 1; s <= squares; ++s) {
      wm += b[s] == WhiteMan, wk += b[s] == WhiteKing, bm += b[s] == BlackMan, bk += b[s] == BlackKing;
    }
    if (reversed) std::swap(wm, bm), std::swap(wk, bk);
    auto out = [](bool on, int v, int lo, int hi) { return on && (v < lo || v > hi); };
    if (out(info.tot, wm + wk + bm + bk, info.totmin, info.totmax) || out(info.wm, wm, info.wmmin, info.wmmax) ||
        out(info.bm, bm, info.bmmin, info.bmmax) || out(info.wk, wk, info.wkmin, info.wkmax) ||
        out(info.bk, bk, info.bkmin, info.bkmax))
      return false;
    if (info.Comb) {
      const TMove& m = game->Moves[game->Moves[slot].parent];
      auto sq = [&](int s) { return !reversed || s == -1 ? s : s >= 1 && s <= squares ? squares + 1 - s : 1000; };
      return m.lt >= info.CombCnt && (info.CombFr == -1 || m.mv[0] == sq(info.CombFr)) &&
             (info.CombTo == -1 || m.mv[2 * m.lt] == sq(info.CombTo));
    }
    const TBrd& pattern = reversed ? info.brdsearchrev : info.brdsearch;
    for (int s = 1; s <= squares; ++s)
      if (pattern[s] != AnySquare && pattern[s] != b[s]) return false;
    return true;
  }

  // False once the visit must stop (only the start position is looked at).
  bool Visit(int slot, const TBoard& board, TDColor side) {
    const bool white = side == TDColor::white;
    if (((white ? info.whitemovechecked : info.blackmovechecked) && Test(board.b, slot, false)) ||
        (info.ignorecolboard && (white ? info.blackmovechecked : info.whitemovechecked) && Test(board.b, slot, true))) {
      found = info.Comb ? game->Moves[game->Moves[slot].parent].parent : slot;
      return true;
    }
    if (info.onlyinitial) return false;
    for (int32_t c : Children(*game, slot)) {
      TBoard next = board;
      ApplyMove(game->Moves[c], next, game->Header.TypeOfGame);
      if (!Visit(c, next, Opponent(side))) return false;
    }
    return true;
  }

  int32_t Match(const TGame& g) {
    game = &g;
    squares = GameTypes[g.Header.TypeOfGame].SquareCount;
    found = -1;
    if (PatternCompared() && squares != patternSquares) return -1;
    TBoard start{};
    EXPECT_TRUE(UnpackBoard(g.StartBoard, start.b));
    Visit(0, start, g.Header.FirstMove);
    return found;
  }
};

TEST(SearchAgreement, SameGamesAsThePlainSearchInEveryType) {
  std::mt19937 rng(20261209);
  int foundTotal = 0, unreadableTotal = 0;
  for (int type = 1; type <= GameTypeCount; ++type) {
    SCOPED_TRACE(GameTypeNames[type]);
    const int squares = GameTypes[type].SquareCount;
    testing::TempDir dir;
    TKestrelDB db;
    testing::FreshDatabase(dir, db);
    std::vector<TGame> games;
    for (int i = 0; i < 30; ++i) {
      // Mostly legal games; a few of random squares, whose moves lift empty
      // squares and take their own pieces.
      TGame g = i % 6 == 5 ? testing::RandomGame(type, rng, {.legal = false, .additions = 40}) : testing::RandomGame(type, rng);
      WriteDBGame(g, 0, db, false);
      games.push_back(g);
    }
    db.DBSize = db.RecordCount();
    // Damaged games: random bytes over part of some blobs.
    std::vector<uint8_t> main = testing::ReadBytes(db.DBNameMain);
    for (int n : {4, 11, 23}) {
      TGameHeader h;
      ASSERT_TRUE(ReadHeaderRecord(db, n, h));
      for (int k = 0; k < 6; ++k) main[h.Offset + rng() % h.Length] = static_cast<uint8_t>(rng());
    }
    CloseDatabase(db);
    testing::WriteBytes(dir.File("games.abm"), main);
    ASSERT_TRUE(OpenDatabase(dir.File("games.abd"), db, false).ok());

    std::vector<std::optional<TGame>> loaded;
    for (int n = 1; n <= db.DBSize; ++n) {
      TGame g;
      loaded.push_back(ReadDBGame(db, n, false, g) ? std::optional<TGame>(g) : std::nullopt);
    }
    for (int q = 0; q < 40; ++q) {
      TSearchInfo info;
      TSearchSwitches switches;
      switches.position = true;
      switches.squareCount = squares;
      // A position that occurs: a random node of a random readable game.
      const TGame* source = nullptr;
      while (!source) {
        const auto& l = loaded[rng() % loaded.size()];
        if (l) source = &*l;
      }
      TBoard b;
      TDColor side;
      PositionAt(*source, static_cast<int>(rng() % (source->Header.LastMove + 1)), b, side);
      if (source->Moves[0].free) continue;
      info.brdsearch = b.b;
      const int anyPercent = std::array{0, 0, 40, 90, 100}[rng() % 5];
      for (int s = 1; s <= squares; ++s)
        if (static_cast<int>(rng() % 100) < anyPercent) info.brdsearch[s] = AnySquare;
      info.whitemovechecked = rng() % 3 != 0 ? side == TDColor::white : true;
      info.blackmovechecked = rng() % 3 != 0 ? side == TDColor::black : true;
      info.ignorecolboard = rng() % 2;
      info.onlyinitial = rng() % 8 == 0;
      auto range = [&](bool& on, uint8_t& lo, uint8_t& hi) {
        on = rng() % 4 == 0;
        lo = static_cast<uint8_t>(rng() % 8);
        hi = static_cast<uint8_t>(lo + rng() % 16);
      };
      range(info.tot, info.totmin, info.totmax);
      info.totmax = static_cast<uint8_t>(info.totmax + 20);
      range(info.wm, info.wmmin, info.wmmax);
      range(info.bm, info.bmmin, info.bmmax);
      range(info.wk, info.wkmin, info.wkmax);
      range(info.bk, info.bkmin, info.bkmax);
      if (rng() % 5 == 0) {
        info.Comb = true;
        info.CombCnt = static_cast<uint8_t>(1 + rng() % 3);
        info.CombFr = rng() % 2 ? -1 : 1 + static_cast<int>(rng() % squares);
        info.CombTo = rng() % 2 ? -1 : 1 + static_cast<int>(rng() % squares);
      }
      BuildReversedPattern(info, squares);

      TPlainSearch plain{info, squares};
      TFound expected;
      int unreadable = 0;
      for (int n = 1; n <= db.DBSize; ++n) {
        if (!loaded[n - 1]) {
          ++unreadable;
          continue;
        }
        const int32_t slot = plain.Match(*loaded[n - 1]);
        if (slot >= 0) expected.emplace_back(n, slot);
      }
      const TSearchResult r = SearchDatabase(db, info, switches);
      ASSERT_EQ(Found(r), expected) << "query " << q;
      EXPECT_EQ(r.unreadable, unreadable);
      foundTotal += static_cast<int>(expected.size());
      unreadableTotal += unreadable;
    }
  }
  // The queries are no blanks: they find games, and damaged games are met.
  EXPECT_GT(foundTotal, 12 * 40);
  EXPECT_GT(unreadableTotal, 0);
}

}  // namespace
}  // namespace kestrel
