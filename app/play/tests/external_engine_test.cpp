// "External (Hub)": a scripted Hub engine answers instead of the built-in
// search, directly and through the play controller's Compute.
#include "app/play/external_engine.h"

#include <gtest/gtest.h>

#include "app/play/play_controller.h"
#include "play_test_support.h"
#include "protocols/hub_notation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {
namespace {

// A Hub engine in a few lines of shell that always answers `move` after one
// info line with `pv`.
std::string ScriptedEngine(const std::string& move, const std::string& pv) {
  return "sh -c 'read a; echo id name=scripted; echo param name=variant value=normal type=enum values=\\\"normal "
         "russian\\\"; echo wait; read b; echo ready; while read c; do case \"$c\" in go*) echo info depth=3 "
         "score=0.25 nodes=100 time=0.01 pv=\\\"" + pv + "\\\"; echo done move=" + move + ";; esac; done'";
}

class TRecordingListener : public TSearchListener {
 public:
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) override {
    depths.push_back(depth);
    best = moves[0];
    nodes = stats.counters.nodes;
  }
  std::vector<int> depths;
  TRootMove best;
  uint64_t nodes = 0;
};

TEST(ExternalEngine, TheEnginesMoveAndLineArePublished) {
  const TBoard& start = InitialPosition(gtInternational);
  TExternalEngine engine;
  TRecordingListener listener;
  TSearchResult result;
  std::string error;
  ASSERT_TRUE(engine.Search(ScriptedEngine("32-28", "32-28 18-23"), start, TDColor::white, gtInternational, 0, 100,
                            200, listener, {}, result, error))
      << error;
  ASSERT_TRUE(result.hasMove);
  EXPECT_EQ(HubMoveText(result.bestMove, gtInternational), "32-28");
  EXPECT_EQ(listener.depths, std::vector<int>{3});
  EXPECT_EQ(listener.best.score, 25);
  EXPECT_EQ(listener.nodes, 100u);
  ASSERT_EQ(listener.best.pv.Length, 2);
  EXPECT_EQ(HubMoveText(listener.best.pv.Mvs[1], gtInternational), "18-23");

  // A move that is not legal, an engine that cannot start, a variant it lacks.
  struct Case {
    std::string command;
    int type;
    const char* error;
  } cases[] = {
      {ScriptedEngine("20-25", "20-25"), gtInternational, "not legal"},
      {"/nonexistent/engine", gtInternational, "ended at start"},
      {ScriptedEngine("32-28", "32-28"), gtBrazilian, "does not play Brazilian"},
  };
  for (const auto& c : cases) {
    error.clear();
    EXPECT_FALSE(engine.Search(c.command, InitialPosition(c.type), TDColor::white, c.type, 0, 100, 200, listener, {},
                               result, error));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

using testing::PlayFixture;

TEST_F(PlayFixture, ComputeAsksTheExternalEngine) {
  // The engine answers the last legal move, which the built-in search would
  // hardly choose.
  const std::vector<TMove> moves = LegalMoves();
  const std::string answer = HubMoveText(moves.back(), gtRussian);
  settings.Variants[gtRussian].External = true;
  settings.Variants[gtRussian].HubCommand = ScriptedEngine(answer, answer);
  controller->SetPlayMode();
  controller->Compute();
  WaitIdle();
  const TGame g = Game();
  ASSERT_EQ(MainLineLength(g), 1);
  EXPECT_EQ(g.Moves[g.CurMovPos].mv, moves.back().mv);
}

}  // namespace
}  // namespace kestrel
