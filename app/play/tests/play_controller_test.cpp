#include "app/play/play_controller.h"

#include <gtest/gtest.h>

#include <random>

#include "app/play/levels.h"
#include "app/play/play_texts.h"
#include "app/play/result_detection.h"
#include "game/navigation.h"
#include "play_test_support.h"

namespace kestrel {
namespace {

using testing::PlayFixture;

int LevelC() { return LevelIndexOfDepth(7); }

TEST_F(PlayFixture, StartsInAnalysisModeOnTheRussianStartPosition) {
  EXPECT_TRUE(controller->AnalysisMode());
  EXPECT_EQ(CurrentGameType, gtRussian);
  const TGame g = Game();
  EXPECT_EQ(g.CurBoard.b, InitialPosition(gtRussian).b);
  EXPECT_EQ(g.SideToMove, TDColor::white);
  EXPECT_EQ(g.WhiteName, "Player");
  EXPECT_EQ(g.BlackName, "Kestrel 3.0 [Russian.eng]");
  EXPECT_EQ(g.Tournament, "New Game 3 min");
  EXPECT_FALSE(g.Modified);
  EXPECT_FALSE(controller->EngineBusy());
  EXPECT_EQ(controller->Clock().Text(), "0:03:00 0:03:00");
  EXPECT_EQ(controller->MaterialLine(), " 12 vs 12  (0)");
  EXPECT_EQ(controller->StatusVariant(), " Russian");
}

TEST_F(PlayFixture, WholeGameAgainstTheEngineEndsWithAResult) {
  controller->SetLevel(LevelC());
  controller->SetTimePreset(5);  // "1 sec/move"
  controller->SetPlayMode();
  std::mt19937 rng(7);
  int plies = 0;
  while (Game().Header.Result == ResultUnknown && plies < 400) {
    const std::vector<TMove> moves = LegalMoves();
    ASSERT_FALSE(moves.empty()) << "a side without moves must have lost already";
    const int before = MainLineLength(Game());
    // The user plays a random move; the engine answers on its worker.
    ASSERT_TRUE(controller->EnterMove(moves[rng() % moves.size()]));
    WaitIdle();
    const TGame g = Game();
    const int after = MainLineLength(g);
    // One user move, and one engine move unless the game just ended.
    EXPECT_TRUE(after == before + 2 || (after == before + 1 && g.Header.Result != ResultUnknown))
        << before << " -> " << after;
    EXPECT_EQ(g.CurMovPos != 0, true);
    plies = after;
  }
  const TGame g = Game();
  ASSERT_NE(g.Header.Result, ResultUnknown) << "no result after " << plies << " plies";
  EXPECT_LE(g.Header.Result, ResultBlackWon);
  // The result agrees with the final position.
  const TRuleOutcome rule = JudgePosition(g, g.CurMovPos);
  if (g.Header.Result == ResultDraw)
    EXPECT_TRUE(rule == TRuleOutcome::repetition || rule == TRuleOutcome::noProgress);
  else
    EXPECT_EQ(rule, TRuleOutcome::noMoves);
  EXPECT_FALSE(controller->Clock().Running());
  EXPECT_TRUE(controller->Worker().IdleEvent().IsSet());
}

// A white and a black king far apart, White to move.
void KingsOnly(int type, TPlayController& c) {
  c.SwitchGameType(type, true);
  ASSERT_TRUE(c.EnterSetup());
  c.SetupClear();
  c.ChangeGame([&](TGame& g) {
    g.CurBoard.b[4] = WhiteKing;
    g.CurBoard.b[GameTypes[type].SquareCount - 3] = BlackKing;
  });
  c.SetupDone(TDColor::white, 1);
}

// Adds a move after the current one without the engine and goes to it.
void Play(TPlayController& c, const TMove& m) {
  const TAddResult r = c.AddMove(m, false);
  ASSERT_TRUE(r.ok());
  c.ChangeGame([&](TGame& g) { GoToMove(g, r.slot); });
}

std::vector<TMove> MovesOf(const TBoard& b, TDColor side, int type) {
  TMoveList list;
  uint8_t n = 0;
  GenerateMoveList(b, side, list, type, n);
  return {list.begin(), list.begin() + n};
}

bool CaptureFor(const TBoard& b, TDColor side, int type) {
  const auto moves = MovesOf(b, side, type);
  return !moves.empty() && moves[0].lt > 0;
}

// A move of each king such that no position of the shuffle lets anyone capture.
std::pair<TMove, TMove> QuietPair(const TBoard& start, int type) {
  for (const TMove& w : MovesOf(start, TDColor::white, type)) {
    TBoard p1 = start;
    ApplyMove(w, p1, type);
    if (CaptureFor(p1, TDColor::black, type)) continue;
    for (const TMove& b : MovesOf(p1, TDColor::black, type)) {
      TBoard p2 = p1, p3 = start;
      ApplyMove(b, p2, type);
      ApplyMove(b, p3, type);
      if (!CaptureFor(p2, TDColor::white, type) && !CaptureFor(p3, TDColor::white, type) &&
          !CaptureFor(p3, TDColor::black, type))
        return {w, b};
    }
  }
  ADD_FAILURE() << "no quiet king moves";
  return {};
}

TMove Reverse(const TBoard& b, TDColor side, int type, const TMove& m) {
  for (const TMove& r : MovesOf(b, side, type))
    if (r.From() == m.To() && r.To() == m.From()) return r;
  ADD_FAILURE() << "no way back";
  return m;
}

// The two kings go and come back: the position repeats every four plies.
void Shuffle(TPlayController& c, int plies) {
  const int type = CurrentGameType;
  const TGame g0 = c.ReadGame([](const TGame& x) { return x; });
  ASSERT_EQ(g0.SideToMove, TDColor::white);
  const auto [w, b] = QuietPair(g0.CurBoard, type);
  for (int i = 0; i < plies; ++i) {
    const TGame g = c.ReadGame([](const TGame& x) { return x; });
    switch (i % 4) {
      case 0: Play(c, w); break;
      case 1: Play(c, b); break;
      case 2: Play(c, Reverse(g.CurBoard, TDColor::white, type, w)); break;
      default: Play(c, Reverse(g.CurBoard, TDColor::black, type, b)); break;
    }
  }
}

TEST_F(PlayFixture, RepetitionIsADrawThatTheEngineRecords) {
  KingsOnly(gtRussian, *controller);
  Shuffle(*controller, 8);  // the start position is back for the third time
  EXPECT_EQ(RepetitionCount(Game(), Game().CurMovPos), 3);
  const int length = MainLineLength(Game());
  Messages();
  controller->SetPlayMode();
  controller->Compute();
  WaitIdle();
  const TGame g = Game();
  EXPECT_EQ(g.Header.Result, ResultDraw);
  EXPECT_EQ(MainLineLength(g), length) << "a drawn game gets no engine move";
  const auto messages = Messages();
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "Draw [box]"), 1);
}

TEST_F(PlayFixture, ItalianNeedsAFourthOccurrence) {
  KingsOnly(gtItalian, *controller);
  Shuffle(*controller, 8);
  EXPECT_EQ(JudgePosition(Game(), Game().CurMovPos), TRuleOutcome::none);
  Shuffle(*controller, 4);
  EXPECT_EQ(JudgePosition(Game(), Game().CurMovPos), TRuleOutcome::repetition);
}

TEST_F(PlayFixture, NoProgressIsADraw) {
  KingsOnly(gtRussian, *controller);
  // Kings wandering without repeating three times and never in reach of
  // each other: a walk over the board.
  std::mt19937 rng(3);
  int plies = 0;
  while (plies < 40) {
    const TGame g = Game();
    std::vector<TMove> quiet;
    for (const TMove& m : MovesOf(g.CurBoard, g.SideToMove, gtRussian)) {
      TBoard after = g.CurBoard;
      ApplyMove(m, after, gtRussian);
      if (m.lt == 0 && !CaptureFor(after, Opponent(g.SideToMove), gtRussian)) quiet.push_back(m);
    }
    ASSERT_FALSE(quiet.empty());
    Play(*controller, quiet[rng() % quiet.size()]);
    ++plies;
    if (plies < 40 && RepetitionCount(Game(), Game().CurMovPos) > 2) {
      // Undo a third occurrence and try another move.
      controller->ChangeGame([](TGame& x) { StepBack(x); });
      --plies;
    }
  }
  EXPECT_EQ(NoProgressCount(Game(), Game().CurMovPos), 40);
  controller->SetPlayMode();
  controller->Compute();
  WaitIdle();
  EXPECT_EQ(Game().Header.Result, ResultDraw);
}

TEST_F(PlayFixture, LossOnTimeWithAWholeGameClock) {
  controller->SetLevel(LevelC());
  controller->SetTimePreset(0);  // 3 minutes/game
  controller->SetPlayMode();
  ASSERT_TRUE(controller->EnterMove(*MoveByText("c3-d4")));
  WaitIdle();
  ASSERT_EQ(MainLineLength(Game()), 2);
  ASSERT_TRUE(controller->Clock().Running());
  Messages();
  now += 17000;  // White thinks for 170 s: still in time
  controller->TimerTick();
  EXPECT_EQ(Game().Header.Result, ResultUnknown);
  EXPECT_EQ(controller->Clock().Clock(TDColor::white), 1000);
  EXPECT_EQ(controller->Clock().Text(), "0:00:10 0:03:00");
  now += 1001;
  controller->TimerTick();
  EXPECT_EQ(Game().Header.Result, ResultBlackWonOnTime);
  EXPECT_EQ(controller->Clock().Clock(TDColor::white), 0);
  EXPECT_FALSE(controller->Clock().Running());
  EXPECT_EQ(Messages(), std::vector<std::string>{"Lost by time! [box]"});
  // Later ticks change nothing.
  now += 5000;
  controller->TimerTick();
  EXPECT_TRUE(Messages().empty());
}

TEST_F(PlayFixture, ClockPerMoveCountsUpAndNeverRunsOut) {
  controller->SetLevel(LevelC());
  controller->SetTimePreset(7);  // 5 sec/move
  EXPECT_EQ(controller->Clock().Text(), "0:00:00 0:00:00");
  controller->SetPlayMode();
  ASSERT_TRUE(controller->EnterMove(*MoveByText("c3-d4")));
  WaitIdle();
  now += 1000000;
  controller->TimerTick();
  EXPECT_EQ(Game().Header.Result, ResultUnknown);
  EXPECT_GE(controller->Clock().Clock(TDColor::white), 1000000);
  EXPECT_TRUE(controller->Clock().Running());
  EXPECT_EQ(Game().Tournament, "New Game 3 min");  // the control of a new game is written at its start
  controller->NewGame();
  EXPECT_EQ(Game().Tournament, "New Game 5 s / m");
}

TEST_F(PlayFixture, ComputeOnAFreshGameHandsTheEngineTheSideToMove) {
  controller->SetLevel(LevelC());
  controller->SetCustomTime({0, {2, 7}, {30, 0}});
  EXPECT_EQ(controller->Clock().Clocks(), (std::array<int, 2>{15000, 42000}));
  controller->SetPlayMode();
  controller->Compute();
  WaitIdle();
  const TGame g = Game();
  EXPECT_EQ(g.WhiteName, "Kestrel 3.0 [Russian.eng]");
  EXPECT_EQ(g.BlackName, "Player");
  EXPECT_TRUE(controller->BoardReversed());
  EXPECT_EQ(controller->Clock().Control().time, (std::array<int, 2>{42000, 15000}));
  EXPECT_EQ(controller->Clock().Clocks(), (std::array<int, 2>{42000, 15000}));
  EXPECT_EQ(MainLineLength(g), 1);
  EXPECT_EQ(g.SideToMove, TDColor::black);
  // The second Compute does not change places again: the engine now plays Black.
  controller->Compute();
  WaitIdle();
  EXPECT_EQ(Game().WhiteName, "Kestrel 3.0 [Russian.eng]");
  EXPECT_EQ(MainLineLength(Game()), 2);
}

TEST_F(PlayFixture, TakeBackThenANewVariationOrAReplacement) {
  controller->SetLevel(LevelC());
  controller->SetTimePreset(5);
  controller->SetPlayMode();
  ASSERT_TRUE(controller->EnterMove(*MoveByText("c3-d4")));
  WaitIdle();
  ASSERT_EQ(MainLineLength(Game()), 2);
  const int first = FirstChild(Game(), 0);
  ASSERT_TRUE(controller->GoBack());
  ASSERT_TRUE(controller->GoBack());
  EXPECT_EQ(Game().CurMovPos, 0);
  EXPECT_FALSE(controller->GoBack());

  // A different first move: asked, kept as a side line, answered by the engine.
  user.newMoveAnswer = {TNewMoveAnswer::newVariation, -1};
  ASSERT_TRUE(controller->EnterMove(*MoveByText("g3-h4")));
  WaitIdle();
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0], std::vector<std::string>{"c3-d4"});
  EXPECT_EQ(user.lastPreselected, 0);
  TGame g = Game();
  std::vector<int32_t> roots = Children(g, 0);
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(roots[0], first) << "the old move stays the main line";
  EXPECT_FALSE(g.Moves[roots[1]].main);
  EXPECT_EQ(g.Moves[g.CurMovPos].parent, roots[1]) << "the engine answered the new move";

  // The same first move again is no question and no new slot.
  ASSERT_TRUE(controller->GoStart());
  const int slots = Game().SlotCount();
  ASSERT_TRUE(controller->EnterMove(*MoveByText("c3-d4")));
  WaitIdle();
  EXPECT_EQ(user.asked.size(), 1u);

  // Replace: the selected line goes with everything after it.
  ASSERT_TRUE(controller->GoStart());
  user.newMoveAnswer = {TNewMoveAnswer::replace, 0};
  ASSERT_TRUE(controller->EnterMove(*MoveByText("a3-b4")));
  WaitIdle();
  g = Game();
  roots = Children(g, 0);
  ASSERT_EQ(roots.size(), 2u);
  EXPECT_EQ(MoveToText(g.Moves[roots[0]], gtRussian, 0, "x"), "a3-b4");
  EXPECT_TRUE(g.Moves[roots[0]].main);
  EXPECT_EQ(MoveToText(g.Moves[roots[1]], gtRussian, 0, "x"), "g3-h4");
  EXPECT_LE(g.SlotCount(), slots + 1) << "freed slots are used again";

  // Cancel adds nothing.
  ASSERT_TRUE(controller->GoStart());
  user.newMoveAnswer = {TNewMoveAnswer::cancel, -1};
  EXPECT_FALSE(controller->EnterMove(*MoveByText("e3-f4")));
  EXPECT_EQ(Children(Game(), 0).size(), 2u);
  EXPECT_FALSE(controller->EngineBusy());
}

TEST_F(PlayFixture, GameTypeSwitchWithAndWithoutANewGame) {
  PlayLine({"c3-d4", "f6-g5", "b2-c3"});
  ASSERT_EQ(MainLineLength(Game()), 3);

  // Same board kind: the game and its moves stay, replayed under the new rules.
  controller->SwitchGameType(gtBrazilian, true);
  EXPECT_EQ(CurrentGameType, gtBrazilian);
  TGame g = Game();
  EXPECT_EQ(g.Header.TypeOfGame, gtBrazilian);
  EXPECT_EQ(MainLineLength(g), 3);
  EXPECT_EQ(g.CurMovPos, FirstChild(g, FirstChild(g, FirstChild(g, 0))));
  EXPECT_EQ(user.wrongMoveQuestions, 0);

  // Another board kind with a new game allowed: a new International game.
  controller->SwitchGameType(gtInternational, true);
  g = Game();
  EXPECT_EQ(g.Header.TypeOfGame, gtInternational);
  EXPECT_EQ(MainLineLength(g), 0);
  EXPECT_EQ(g.CurBoard.b, InitialPosition(gtInternational).b);
  EXPECT_EQ(controller->MaterialLine(), " 20 vs 20  (0)");

  // Without a new game (as when another open game is shown) the moves stay
  // and moves illegal under the new type are offered for removal.
  PlayLine({"32-28"});
  controller->SwitchGameType(gtRussian, false);
  g = Game();
  EXPECT_EQ(CurrentGameType, gtRussian);
  EXPECT_EQ(user.wrongMoveQuestions, 1);
  EXPECT_EQ(MainLineLength(g), 0) << "the 10 by 10 move is no move on 8 by 8";
  EXPECT_TRUE(g.Modified);
}

TEST_F(PlayFixture, WrongMovesAfterASwitchCanBeKept) {
  // A man capturing backwards: legal in Russian, not in English.
  ASSERT_TRUE(controller->EnterSetup());
  controller->SetupClear();
  controller->SetupClick(14, 1);  // white man
  controller->SetupClick(10, 2);  // black man
  controller->SetupClick(32, 2);
  controller->SetupDone(TDColor::white, 1);
  const std::vector<TMove> moves = LegalMoves();
  ASSERT_EQ(moves.size(), 1u);
  ASSERT_EQ(moves[0].lt, 1);
  ASSERT_TRUE(controller->EnterMove(moves[0]));
  user.removeWrongMoves = false;
  controller->SwitchGameType(gtEnglish, true);
  EXPECT_EQ(user.wrongMoveQuestions, 1);
  EXPECT_EQ(MainLineLength(Game()), 1) << "kept when the user says No";
  user.removeWrongMoves = true;
  controller->SwitchGameType(gtRussian, true);
  controller->SwitchGameType(gtEnglish, true);
  EXPECT_EQ(MainLineLength(Game()), 0);
  EXPECT_EQ(Game().CurMovPos, 0);
}

TEST_F(PlayFixture, SetUpWithBlackToMoveAndAFirstMoveNumber) {
  PlayLine({"c3-d4"});
  user.saveAnswer = TSaveAnswer::cancel;
  EXPECT_FALSE(controller->EnterSetup()) << "Cancel keeps the modified game";
  EXPECT_FALSE(controller->SetupMode());
  user.saveAnswer = TSaveAnswer::no;
  ASSERT_TRUE(controller->EnterSetup());
  EXPECT_TRUE(controller->SetupMode());
  EXPECT_FALSE(controller->NavigationAllowed());
  EXPECT_EQ(Game().CurBoard.b[14], WhiteMan) << "set-up starts from the board shown";
  controller->SetupClear();
  controller->SetupClick(5, 1);   // white man
  controller->SetupClick(29, 1);  // a white man on the last row is skipped: a king
  controller->SetupClick(18, 2);  // black man
  controller->SetupClick(2, 2);   // a black man on the first row is skipped: a black king
  controller->SetupClick(7, 1);
  controller->SetupClick(7, 3);  // middle button empties
  EXPECT_EQ(controller->MaterialLine(), "1+1 vs 1+1  (-2)");
  controller->SetupDone(TDColor::black, 25);
  EXPECT_FALSE(controller->SetupMode());
  const TGame g = Game();
  EXPECT_EQ(g.Header.FirstMove, TDColor::black);
  EXPECT_EQ(g.SideToMove, TDColor::black);
  EXPECT_EQ(g.Header.NumerationFrom, 48);
  EXPECT_EQ(MainLineLength(g), 0);
  EXPECT_TRUE(g.Modified);
  EXPECT_EQ(g.CurBoard.b[5], WhiteMan);
  EXPECT_EQ(g.CurBoard.b[29], WhiteKing);
  EXPECT_EQ(g.CurBoard.b[18], BlackMan);
  EXPECT_EQ(g.CurBoard.b[2], BlackKing);
  EXPECT_EQ(g.CurBoard.b[7], Empty);
  TBrd start;
  UnpackBoard(g.StartBoard, start);
  EXPECT_EQ(start, g.CurBoard.b);

  // The analysis numbers its line from Black's 25th move.
  controller->Compute();
  for (int i = 0; i < 200 && controller->SearchInfo().Snapshot().lineText.empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  controller->Stop();
  WaitIdle();
  EXPECT_EQ(controller->SearchInfo().Snapshot().lineText.rfind("25... ", 0), 0u)
      << controller->SearchInfo().Snapshot().lineText;
  // Going back from the start is refused; a black move enters.
  EXPECT_FALSE(controller->GoBack());
  ASSERT_TRUE(controller->EnterMove(LegalMoves().front()));
  EXPECT_EQ(Game().SideToMove, TDColor::white);
  controller->Stop();
  WaitIdle();
}

TEST_F(PlayFixture, NewGameAsksToSaveAModifiedGame) {
  PlayLine({"c3-d4"});
  user.saveAnswer = TSaveAnswer::yes;
  // Yes with a save that fails (or is given up) keeps the game.
  user.saveSucceeds = false;
  controller->NewGame();
  EXPECT_EQ(user.saves, 1);
  EXPECT_EQ(MainLineLength(Game()), 1);
  EXPECT_TRUE(Game().Modified);
  user.saveSucceeds = true;
  controller->NewGame();
  EXPECT_EQ(user.saves, 2);
  EXPECT_EQ(user.saveQuestions, 2);
  EXPECT_EQ(MainLineLength(Game()), 0);
  user.saveQuestions = 1;
  controller->NewGame();
  EXPECT_EQ(user.saveQuestions, 1) << "an unchanged game is not offered";
}

TEST_F(PlayFixture, OpenGamesOfTheWindowMenu) {
  PlayLine({"c3-d4"});
  controller->NewWindowGame();
  EXPECT_EQ(controller->OpenGameCount(), 2);
  controller->SwitchGameType(gtInternational, true);
  auto menu = controller->WindowMenu();
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_FALSE(menu[0].current);
  EXPECT_TRUE(menu[1].current);
  EXPECT_EQ(menu[0].title.rfind("Player - Kestrel 3.0 [Russian.eng] (New Game 3 min) ", 0), 0u);

  // Showing the first game switches back to its type without a new game.
  ASSERT_TRUE(controller->SelectWindowGame(menu[0].index));
  EXPECT_EQ(CurrentGameType, gtRussian);
  EXPECT_EQ(MainLineLength(Game()), 1);

  // Closing it (a modified game is offered for saving) leaves the other one.
  ASSERT_TRUE(controller->CloseWindowGame());
  EXPECT_EQ(controller->OpenGameCount(), 1);
  EXPECT_EQ(CurrentGameType, gtInternational);
  EXPECT_EQ(user.saveQuestions, 1);
  // The last open game is not closed but started anew.
  ASSERT_TRUE(controller->CloseWindowGame());
  EXPECT_EQ(controller->OpenGameCount(), 1);
}

TEST_F(PlayFixture, DrawOfferNeedsFewPiecesAndAnEngineWithoutHope) {
  controller->SetPlayMode();
  for (int i = 0; i < 20; ++i) EXPECT_FALSE(controller->OfferDraw()) << "24 pieces: never";
  controller->SetAnalysisMode();
  EXPECT_FALSE(controller->OfferDraw());
}

TEST_F(PlayFixture, HeaderEditsKeepTheTreeFields) {
  PlayLine({"c3-d4", "f6-g5"});
  TQuickGameHeader q = controller->Header();
  q.WhiteName = "Anna";
  q.Site = "Riga";
  q.Header.Round = 3;
  q.Header.Result = ResultDraw;
  q.Header.LastMove = 999;
  q.Header.NumerationFrom = 40;
  controller->SetHeader(q);
  const TGame g = Game();
  EXPECT_EQ(g.WhiteName, "Anna");
  EXPECT_EQ(g.Site, "Riga");
  EXPECT_EQ(g.Header.Round, 3);
  EXPECT_EQ(g.Header.Result, ResultDraw);
  EXPECT_EQ(g.Header.LastMove, 2);
  EXPECT_EQ(g.Header.NumerationFrom, 0);
  EXPECT_TRUE(g.Modified);
}

TEST_F(PlayFixture, ReplayStepsEveryFiftyTicksAndStopsAtTheEnd) {
  PlayLine({"c3-d4", "f6-g5"});
  ASSERT_TRUE(controller->GoStart());
  controller->ToggleReplay();
  ASSERT_TRUE(controller->ReplayRunning());
  for (int i = 0; i < 49; ++i) controller->TimerTick();
  EXPECT_EQ(Game().CurMovPos, 0);
  controller->TimerTick();
  EXPECT_NE(Game().CurMovPos, 0);
  for (int i = 0; i < 100; ++i) controller->TimerTick();
  EXPECT_EQ(MainLineLength(Game()), 2);
  EXPECT_FALSE(controller->ReplayRunning());
  controller->SetPlayMode();
  controller->ToggleReplay();
  EXPECT_FALSE(controller->ReplayRunning()) << "no replay in play mode";
}

TEST_F(PlayFixture, TheTypeCanChangeDuringSetUp) {
  ASSERT_TRUE(controller->EnterSetup());
  controller->SwitchGameType(gtInternational, true);
  EXPECT_TRUE(controller->SetupMode());
  EXPECT_EQ(Game().CurBoard.b, InitialPosition(gtInternational).b);
  controller->SetupClear();
  controller->SetupClick(50, 2);  // a black man on Black's own back row
  controller->SetupDone(TDColor::white, 1);
  const TGame g = Game();
  EXPECT_EQ(g.Header.TypeOfGame, gtInternational);
  EXPECT_EQ(g.CurBoard.b[50], BlackMan);
  controller->SwitchGameType(gtRussian, true);
}

}  // namespace
}  // namespace kestrel
