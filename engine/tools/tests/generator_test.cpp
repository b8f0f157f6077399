// The generated tables against an independent solver, known endgame facts,
// and a run stopped and resumed.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "endgame_fixture.h"
#include "engine/bitboard_movegen.h"
#include "engine/endgame/edb_tables.h"
#include "engine/endgame/endgame_cache.h"
#include "engine/endgame/table_file.h"
#include "engine/endgame/wdl_runs.h"
#include "engine/tools/edb_verify.h"
#include "rules/game_types.h"
#include "simple_solver.h"

namespace kestrel {
namespace {

using testing::GeneratedTables;
using testing::TSimpleSolver;
namespace fs = std::filesystem;

// Reads final WDL files directly, so that the WDL tables are checked apart
// from the MTW tables the probe prefers.
class TWdlReader {
 public:
  TWdlReader(const fs::path& root, int gametype) : root_(root), board_(gametype) {}
  int Value(const TBitBoard64& pos) {
    TEdbMaterial m;
    if (!board_.MaterialOf(pos, m)) return -1;
    auto& file = files_[m.Number()];
    if (!file.first.Blocks()) {
      std::string error;
      if (!ReadWholeFile(TableFolder(root_, board_.GameType(), false) / TableFileName(m), file.second, error) ||
          !file.first.Open(file.second, board_.TableSize(m), false, error))
        return -1;
    }
    return file.first.Value(board_.Index(pos, m));
  }

 private:
  fs::path root_;
  TEdbBoard board_;
  std::map<uint32_t, std::pair<TTableFileView, std::vector<uint8_t>>> files_;
};

// Compares every solver position of `pieces` pieces or fewer (more than
// `minPieces`) with the WDL files and, through the probe, the MTW files.
void CompareWithSolver(int gametype, const TSimpleSolver& solver, const fs::path& root, bool mtw, int minPieces,
                       uint64_t& compared) {
  TEndgameCache cache;
  cache.Configure(root, 64);
  cache.SetGameType(gametype);
  TWdlReader wdl(root, gametype);
  for (const TBoard& board : solver.Boards()) {
    TBitBoard64 pos;
    BoardToBit64(board, pos, gametype);
    if (std::popcount(pos.w | pos.b) <= minPieces || CaptureMask(pos, gametype) != 0) continue;
    const int expected = solver.Value(board);
    const int expectedWdl = expected == 0 ? WdlDraw : expected % 2 ? WdlLoss : WdlWin;
    if (OpponentCaptureMask(pos, gametype) == 0) {
      ASSERT_EQ(wdl.Value(pos), expectedWdl) << GameTypeNames[gametype] << " " << std::hex << pos.w << " " << pos.b
                                             << " " << pos.k;
      ++compared;
    }
    if (!mtw) continue;
    int16_t score = 0;
    ASSERT_TRUE(cache.ProbeEDB(pos, gametype, 1, score, TExcludedTables{}));
    const int plies = score == 0 ? 0 : 2001 - std::abs(score);
    ASSERT_EQ(plies, expected) << GameTypeNames[gametype] << " " << std::hex << pos.w << " " << pos.b << " " << pos.k;
    ++compared;
  }
}

TEST(EndgameGeneration, AgreesWithSimpleSolverUpToThreePieces) {
  for (int gametype : {gtRussian, gtEnglish, gtInternational}) {
    const fs::path& root = GeneratedTables(gametype, 3);
    TSimpleSolver solver(gametype);
    solver.AddAll(3);
    solver.Solve();
    uint64_t compared = 0;
    CompareWithSolver(gametype, solver, root, true, 0, compared);
    EXPECT_GT(compared, solver.Positions() / 2) << GameTypeNames[gametype];
    const TEdbVerifyStats wdl = VerifyEndgameTables(root, gametype, 3, false);
    EXPECT_TRUE(wdl.ok) << wdl.error << wdl.firstWrong;
    const TEdbVerifyStats dtm = VerifyEndgameTables(root, gametype, 3, true);
    EXPECT_TRUE(dtm.ok) << dtm.error << dtm.firstWrong;
  }
}

// Random positions of the four-piece tables three against one, with
// everything they lead to solved by the simple solver.
TEST(EndgameGeneration, AgreesWithSimpleSolverOnFourPieces) {
  const int gametype = gtRussian;
  const fs::path& root = GeneratedTables(gametype, 4);
  const TEdbBoard board(gametype);
  TSimpleSolver solver(gametype);
  std::mt19937_64 random(18);
  // Three kings against one, and two kings with a man against one king.
  for (const TEdbMaterial m : {TEdbMaterial{0, 0, 3, 1, 0, 0}, TEdbMaterial{1, 0, 2, 1, 4, 0}}) {
    for (int n = 0; n < (m.wm == 0 ? 10 : 4);) {
      TBitBoard64 pos;
      if (!board.Position(m, random() % board.TableSize(m), pos)) continue;
      TBoard start;
      Bit64toBoard(pos, start.b, gametype);
      solver.AddClosure(start);
      ++n;
    }
  }
  solver.Solve();
  uint64_t compared = 0;
  CompareWithSolver(gametype, solver, root, false, 3, compared);
  EXPECT_GT(compared, 100000u);
}

TBoard Kings(std::initializer_list<int> white, std::initializer_list<int> black) {
  TBoard board;
  for (int s : white) board.b[s] = WhiteKing;
  for (int s : black) board.b[s] = BlackKing;
  return board;
}

int Wdl(TEndgameCache& cache, int gametype, TBoard board, TDColor toMove) {
  TBitBoard64 pos;
  BoardToBit64(board, pos, gametype);
  if (toMove == TDColor::black) FlipBitBoard(pos, gametype);
  const TEdbAnswer a = cache.Lookup(pos, gametype);
  EXPECT_TRUE(a.found);
  return a.wdl;
}

TEST(EndgameGeneration, KnownEndgameFacts) {
  // English: two kings beat a lone king. Whole tables: no quiet position is
  // lost for the two kings and only binds next to the back corners (at most
  // one in two hundred) are drawn; named positions with the lone king in
  // either double corner and in the single corner are wins.
  {
    const int gametype = gtEnglish;
    TEndgameCache cache;
    cache.Configure(GeneratedTables(gametype, 3), 16);
    cache.SetGameType(gametype);
    const TEdbBoard board(gametype);
    for (const TEdbMaterial m : {TEdbMaterial{0, 0, 2, 1, 0, 0}, TEdbMaterial{0, 0, 1, 2, 0, 0}}) {
      int counts[3] = {0, 0, 0};
      for (uint64_t i = 0; i < board.TableSize(m); ++i) {
        TBitBoard64 pos;
        board.Position(m, i, pos);
        if (CaptureMask(pos, gametype) != 0 || OpponentCaptureMask(pos, gametype) != 0) continue;
        const TEdbAnswer a = cache.Lookup(pos, gametype);
        ASSERT_TRUE(a.found);
        ++counts[(m.wk == 2 ? a.wdl : -a.wdl) + 1];
      }
      EXPECT_EQ(counts[0], 0) << TableFileName(m);
      EXPECT_LT(counts[1] * 200, counts[2]) << TableFileName(m);
    }
    for (const int lone : {1, 5, 28, 32, 4}) {
      EXPECT_EQ(Wdl(cache, gametype, Kings({14, 19}, {lone}), TDColor::white), 1) << lone;
      EXPECT_EQ(Wdl(cache, gametype, Kings({14, 19}, {lone}), TDColor::black), -1) << lone;
    }
  }
  // Russian: three kings against a lone king on the long diagonal a1-h8
  // (squares 1, 5, 10, 14, 19, 23, 28, 32) draw; holding the diagonal
  // themselves, they win.
  const int gametype = gtRussian;
  TEndgameCache cache;
  cache.Configure(GeneratedTables(gametype, 4), 16);
  cache.SetGameType(gametype);
  EXPECT_EQ(Wdl(cache, gametype, Kings({2, 3, 4}, {1}), TDColor::white), 0);   // c1 e1 g1 against a1
  EXPECT_EQ(Wdl(cache, gametype, Kings({2, 3, 4}, {1}), TDColor::black), 0);
  EXPECT_EQ(Wdl(cache, gametype, Kings({9, 2, 24}, {19}), TDColor::white), 0);  // a3 c1 h6 against e5
  EXPECT_EQ(Wdl(cache, gametype, Kings({10, 2, 3}, {25}), TDColor::white), 1);  // c3 c1 e1 against a7
  EXPECT_EQ(Wdl(cache, gametype, Kings({10, 2, 3}, {25}), TDColor::black), -1);
  EXPECT_EQ(Wdl(cache, gametype, Kings({14, 30, 31}, {8}), TDColor::white), 1);  // d4 d8 f8 against h2
}

TEST(EndgameGeneration, StoppedRunResumesToIdenticalFiles) {
  testing::TempDir whole, stopped;
  const auto run = [](const fs::path& root, const std::atomic<bool>* cancel, int stopAfter) {
    TEdbGenOptions o;
    o.gametype = gtEnglish;
    o.root = root;
    o.fullPieces = 3;
    o.threads = 2;
    std::atomic<bool> own{false};
    int starts = 0;
    o.cancel = cancel ? cancel : &own;
    o.log = [&](const std::string& line) {
      if (stopAfter > 0 && line.rfind(" Start ", 0) == 0 && ++starts == stopAfter)
        const_cast<std::atomic<bool>*>(o.cancel)->store(true);
    };
    return GenerateEndgameTables(o);
  };
  ASSERT_TRUE(run(whole.path(), nullptr, 0).ok);
  std::atomic<bool> cancel{false};
  const TEdbGenStats first = run(stopped.path(), &cancel, 40);
  EXPECT_TRUE(first.cancelled);
  const TEdbGenStats second = run(stopped.path(), nullptr, 0);
  ASSERT_TRUE(second.ok);
  EXPECT_GT(second.tablesSkipped, 30);
  // The planned count is every table the resumed run solved or skipped.
  TEdbGenOptions plan;
  plan.gametype = gtEnglish;
  plan.fullPieces = 3;
  EXPECT_EQ(CountGenerationTables(plan), second.tablesSolved + second.tablesSkipped);
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(whole.path())) {
    if (!entry.is_regular_file() || entry.path().filename().string().rfind("log", 0) == 0) continue;
    const fs::path twin = stopped.path() / fs::relative(entry.path(), whole.path());
    std::vector<uint8_t> a, b;
    std::string error;
    ASSERT_TRUE(ReadWholeFile(entry.path(), a, error));
    ASSERT_TRUE(ReadWholeFile(twin, b, error)) << error;
    EXPECT_EQ(a, b) << twin;
    ++files;
  }
  EXPECT_GT(files, 200);
  for (const auto& entry : fs::recursive_directory_iterator(stopped.path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST(EndgameGeneration, MissingNeededTableEndsTheRunNamingIt) {
  testing::TempDir dir;
  TEdbGenOptions o;
  o.gametype = gtRussian;
  o.root = dir.path();
  o.splitStrong = 2;
  o.splitWeak = 1;  // needs the two-piece tables, which are not there
  const TEdbGenStats s = GenerateEndgameTables(o);
  EXPECT_FALSE(s.ok);
  EXPECT_NE(s.error.find("Needed file"), std::string::npos) << s.error;
  EXPECT_NE(s.error.find("GEN/2-"), std::string::npos) << s.error;
  o.fullPieces = 2;
  ASSERT_TRUE(GenerateEndgameTables(o).ok);
  o.fullPieces = 0;
  EXPECT_TRUE(GenerateEndgameTables(o).ok);
}

}  // namespace
}  // namespace kestrel
