#include "app/match/match_game.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <thread>

#include "app/match/endgame_adjudicator.h"
#include "app/match/match_runner.h"
#include "app/play/time_manager.h"
#include "app/play/result_detection.h"
#include "engine/tools/tests/endgame_fixture.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// Plays a legal move chosen by a seeded generator; optionally too slowly or
// an illegal one.
class TRandomPlayer final : public TMatchPlayer {
 public:
  explicit TRandomPlayer(std::string name, unsigned seed = 1, int sleepMs = 0, bool illegal = false)
      : name_(std::move(name)), rng_(seed), sleepMs_(sleepMs), illegal_(illegal) {}
  std::string Name() const override { return name_; }
  bool NewGame(int gametype, std::string&) override {
    gametype_ = gametype;
    return true;
  }
  TThinkReply Think(const TBoard& start, TDColor side, const std::vector<TMove>& moves, const TThinkLimits&) override {
    TBoard board = start;
    for (const TMove& m : moves) {
      ApplyMove(m, board, gametype_);
      side = Opponent(side);
    }
    TMoveList list;
    uint8_t n = 0;
    GenerateMoveList(board, side, list, gametype_, n);
    if (sleepMs_) std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs_));
    TThinkReply r;
    r.hasMove = n > 0;
    if (n) r.move = list[std::uniform_int_distribution<int>(0, n - 1)(rng_)];
    if (illegal_) r.move.mv[0] = 0;
    return r;
  }

 private:
  std::string name_;
  std::mt19937 rng_;
  int sleepMs_;
  bool illegal_;
  int gametype_ = 1;
};

TEST(MatchGame, RandomOpeningsRepeatWithTheSeedAndAreDifferentLegalLines) {
  for (int type : {gtRussian, gtInternational, gtEnglish}) {
    const auto a = RandomOpenings(type, 12, 4, DefaultOpeningSeed);
    const auto b = RandomOpenings(type, 12, 4, DefaultOpeningSeed);
    ASSERT_EQ(a.size(), 12u);
    for (std::size_t i = 0; i < a.size(); ++i) {
      ASSERT_EQ(a[i].moves.size(), 4u);
      for (int k = 0; k < 4; ++k) EXPECT_EQ(a[i].moves[k].mv, b[i].moves[k].mv);
      for (std::size_t j = 0; j < i; ++j) {
        bool same = true;
        for (int k = 0; k < 4; ++k) same = same && a[i].moves[k].mv == a[j].moves[k].mv;
        EXPECT_FALSE(same) << i << " repeats " << j;
      }
    }
    EXPECT_NE(RandomOpenings(type, 1, 4, 7)[0].moves[3].mv, a[0].moves[3].mv);
  }
}

TEST(MatchGame, GamesEndByTheRulesAndReadBackAsTheirRecord) {
  const auto openings = RandomOpenings(gtRussian, 20, 4, 3);
  for (std::size_t i = 0; i < openings.size(); ++i) {
    TRandomPlayer a("A", 2 * i + 1), b("B", 2 * i + 2);
    TGameSettings settings;
    settings.gametype = gtRussian;
    const TPlayedGame g = PlayMatchGame(a, b, openings[i], settings);
    ASSERT_NE(g.end, TGameEnd::stopped);
    ASSERT_NE(g.result, ResultUnknown);
    // The record holds the opening and the game as its main line and ends
    // where the game ended, with the rule that ended it.
    TGame game = GameOfPlayed(g, gtRussian);
    EXPECT_EQ(game.Header.Result, g.result);
    EXPECT_EQ(game.WhiteName, "A");
    ASSERT_TRUE(GoToLineEnd(game, 0));
    TDColor side;
    TBoard board;
    ASSERT_TRUE(PositionAt(game, game.CurMovPos, board, side));
    const TRuleOutcome rule = JudgePosition(game, game.CurMovPos);
    if (g.end == TGameEnd::noMoves) {
      EXPECT_EQ(rule, TRuleOutcome::noMoves);
      EXPECT_EQ(g.result, LossFor(side));
    } else if (g.end == TGameEnd::repetition) {
      EXPECT_EQ(rule, TRuleOutcome::repetition);
    } else if (g.end == TGameEnd::noProgress) {
      EXPECT_EQ(rule, TRuleOutcome::noProgress);
    }
  }
}

TEST(MatchGame, TimeIllegalMovesAndTheMoveLimitDecideAsTheirSideLoses) {
  const TOpening start = RandomOpenings(gtRussian, 1, 0, 1).at(0);
  const struct {
    int sleep0, sleep1;
    bool illegal0;
    int64_t timeMs;
    int maxPlies;
    TGameEnd end;
    uint8_t result;
  } table[] = {
      {0, 60, false, 50, 1000, TGameEnd::time, ResultWhiteWonOnTime},
      {60, 0, false, 50, 1000, TGameEnd::time, ResultBlackWonOnTime},
      {0, 0, true, 0, 1000, TGameEnd::illegalMove, ResultBlackWon},
      {0, 0, false, 0, 6, TGameEnd::moveLimit, ResultDraw},
  };
  for (const auto& row : table) {
    TRandomPlayer a("A", 1, row.sleep0, row.illegal0), b("B", 2, row.sleep1);
    TGameSettings settings;
    settings.gametype = gtRussian;
    settings.time.timeMs = row.timeMs;
    settings.maxPlies = row.maxPlies;
    const TPlayedGame g = PlayMatchGame(a, b, start, settings);
    EXPECT_EQ(g.end, row.end);
    EXPECT_EQ(g.result, row.result);
  }
  // A win on time counts as a win.
  EXPECT_EQ(ScoreOfResult(ResultWhiteWonOnTime, true), (TMatchScore{1, 0, 0}));
  EXPECT_EQ(ScoreOfResult(ResultBlackWonOnTime, true), (TMatchScore{0, 0, 1}));
  EXPECT_EQ(ScoreOfResult(ResultUnknown, false), (TMatchScore{}));
}

TEST(MatchGame, AnAdjudicatorEndsTheGameWithItsVerdict) {
  TRandomPlayer a("A"), b("B");
  TGameSettings settings;
  settings.gametype = gtRussian;
  settings.adjudicate = [](const TBoard&, TDColor, int) -> std::optional<uint8_t> { return ResultDraw; };
  const TPlayedGame g = PlayMatchGame(a, b, RandomOpenings(gtRussian, 1, 4, 1).at(0), settings);
  EXPECT_EQ(g.end, TGameEnd::endgameTable);
  EXPECT_TRUE(g.moves.empty());
}

TEST(MatchGame, EndgameTablesDecideTheGamesTheyKnow) {
  TEndgameCache cache;
  cache.Configure(testing::GeneratedTables(gtRussian, 4), 16);
  TGameSettings settings;
  settings.gametype = gtRussian;
  settings.adjudicate = EndgameAdjudicator(cache);
  TOpening opening;
  // Three kings holding the long diagonal against a lone king: won for them.
  for (int s : {10, 2, 3}) opening.board.b[s] = WhiteKing;
  opening.board.b[25] = BlackKing;
  for (const TDColor side : {TDColor::white, TDColor::black}) {
    opening.side = side;
    TRandomPlayer a("A"), b("B");
    const TPlayedGame g = PlayMatchGame(a, b, opening, settings);
    EXPECT_EQ(g.end, TGameEnd::endgameTable);
    EXPECT_EQ(g.result, ResultWhiteWon);
  }
  EXPECT_TRUE(HasEndgameTables(testing::GeneratedTables(gtRussian, 4), gtRussian));
  EXPECT_FALSE(HasEndgameTables(testing::GeneratedTables(gtRussian, 4), gtInternational));
}

TEST(MatchRunner, APlayerThatCannotStartEndsTheRunWithItsReason) {
  class TBrokenPlayer final : public TMatchPlayer {
   public:
    std::string Name() const override { return "broken"; }
    bool NewGame(int, std::string& error) override {
      error = "engine program not found";
      return false;
    }
    TThinkReply Think(const TBoard&, TDColor, const std::vector<TMove>&, const TThinkLimits&) override { return {}; }
  };
  std::vector<TMatchEntry> entries = {
      {"A", [] { return std::make_unique<TRandomPlayer>("A"); }},
      {"broken", [] { return std::make_unique<TBrokenPlayer>(); }},
  };
  TMatchOptions options;
  options.game.gametype = gtRussian;
  options.openings = RandomOpenings(gtRussian, 4, 4, 1);
  options.gamesPerPair = 8;
  options.concurrency = 2;
  int reported = 0;
  const TMatchSummary s = RunMatch(entries, options, [&](const TFinishedGame&, const TMatchSummary&) { ++reported; });
  EXPECT_EQ(s.failure, "broken: engine program not found");
  EXPECT_EQ(s.gamesPlayed, 0);
  EXPECT_EQ(reported, 0);
  EXPECT_FALSE(s.stopped);
}

TEST(MatchRunner, EveryPairPlaysEachOpeningWithColoursExchanged) {
  for (int entries : {2, 3, 5}) {
    const auto schedule = ScheduleRoundRobin(entries, 3, 4);
    ASSERT_EQ(schedule.size(), static_cast<std::size_t>(entries * (entries - 1) / 2 * 4));
    for (std::size_t i = 0; i < schedule.size(); i += 2) {
      EXPECT_EQ(schedule[i].opening, schedule[i + 1].opening);
      EXPECT_EQ(schedule[i].white, schedule[i + 1].black);
      EXPECT_EQ(schedule[i].black, schedule[i + 1].white);
    }
  }
}

TEST(MatchRunner, ParallelGamesAreAllCountedOnBothSides) {
  std::vector<TMatchEntry> entries;
  for (const char* name : {"A", "B", "C"})
    entries.push_back({name, [name] { return std::make_unique<TRandomPlayer>(name, name[0]); }});
  TMatchOptions options;
  options.game.gametype = gtRussian;
  options.openings = RandomOpenings(gtRussian, 4, 4, 5);
  options.gamesPerPair = 8;
  options.concurrency = 2;
  int calls = 0;
  const TMatchSummary s = RunMatch(entries, options, [&](const TFinishedGame&, const TMatchSummary&) { ++calls; });
  EXPECT_EQ(s.gamesPlayed, 24);
  EXPECT_EQ(calls, 24);
  int points = 0;
  for (int e = 0; e < 3; ++e) {
    points += s.Total(e).Points();
    for (int f = 0; f < 3; ++f) EXPECT_EQ(s.scores[e][f], s.scores[f][e].Reversed());
  }
  EXPECT_EQ(points, 2 * 24);
  const std::string table = RoundRobinTable(entries, s);
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 3);
  EXPECT_EQ(std::count(table.begin(), table.end(), '*'), 3);
}

// The pairs, counted here from each finished game's number and side, in
// whatever order the threads finish them.
TEST(MatchRunner, PairsOfGamesAreCountedWhenBothHaveEnded) {
  std::vector<TMatchEntry> entries = {
      {"A", [] { return std::make_unique<TRandomPlayer>("A", 3); }},
      {"B", [] { return std::make_unique<TRandomPlayer>("B", 4); }},
  };
  TMatchOptions options;
  options.game.gametype = gtRussian;
  options.openings = RandomOpenings(gtRussian, 4, 2, 9);
  options.gamesPerPair = 30;
  options.concurrency = 3;
  std::map<int, std::vector<int>> halves;  // pair -> A's half points
  const TMatchSummary s = RunMatch(entries, options, [&](const TFinishedGame& g, const TMatchSummary&) {
    halves[(g.number - 1) / 2].push_back(ScoreOfResult(g.played.result, g.white == 0).Points());
  });
  TPairCounts expected;
  for (const auto& [pair, h] : halves) {
    ASSERT_EQ(h.size(), 2u) << pair;
    ++expected.counts[h[0] + h[1]];
  }
  EXPECT_EQ(s.pairs, expected);
  EXPECT_EQ(s.pairs.Pairs(), 15);
  int halfPoints = 0;
  for (int h = 0; h < 5; ++h) halfPoints += h * s.pairs.counts[h];
  EXPECT_EQ(halfPoints, s.scores[0][1].Points());
}

TEST(TimeManager, BudgetsStayInsideTheClockAndFavourTheMiddleGame) {
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    TClockSituation c;
    c.clockMs = std::uniform_int_distribution<int64_t>(0, 600000)(rng);
    c.incrementMs = std::uniform_int_distribution<int64_t>(0, 5000)(rng);
    c.movesToGo = std::uniform_int_distribution<int>(0, 40)(rng);
    c.moveNumber = std::uniform_int_distribution<int>(1, 150)(rng);
    c.startPieces = 40;
    c.pieces = std::uniform_int_distribution<int>(2, 40)(rng);
    const TTimeBudget b = PlanMoveTime(c);
    EXPECT_GE(b.softMs, 1);
    EXPECT_LE(b.softMs, b.hardMs);
    if (c.clockMs > 100) {
      EXPECT_LE(b.hardMs, (c.clockMs - MoveOverheadMs) * 9 / 10);
    }
  }
  TClockSituation opening{60000, 0, 0, 2, 40, 40}, middle{60000, 0, 0, 20, 26, 40};
  EXPECT_GT(PlanMoveTime(middle).softMs, PlanMoveTime(opening).softMs);
  // A long game of a minute that spends every aim in full, with a few
  // milliseconds lost per move, keeps time left.
  for (int startPieces : {24, 40}) {
    int64_t clock = 60000;
    for (int move = 1; move <= 150; ++move) {
      TClockSituation c{clock, 0, 0, move, std::max(2, startPieces - move / 3), startPieces};
      clock -= PlanMoveTime(c).softMs + 5;
      ASSERT_GT(clock, 0) << move;
    }
  }
}

}  // namespace
}  // namespace kestrel
