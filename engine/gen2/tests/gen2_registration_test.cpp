// Kestrel 4 through TEngine: once registered it is offered where the
// current generation is, and TEngine hands it the search.
#include <gtest/gtest.h>

#include "engine/gen2/gen2_engine.h"
#include "engine/gen2/tests/gen2_test_run.h"
#include "engine/tests/search_test_helpers.h"

namespace kestrel::gen2 {
namespace {

TEST(Kestrel4Registration, OfferedWithTheCurrentGenerationAndSearchedThroughTEngine) {
  RegisterKestrel4();
  for (int type = 1; type <= GameTypeCount; ++type) {
    const auto choices = EngineGenerationChoices(type);
    EXPECT_EQ(HasGen2Engine(type), HasNewEngine(type)) << GameTypeNames[type];
    EXPECT_EQ(choices.size(), HasNewEngine(type) ? 3u : 1u) << GameTypeNames[type];
    if (HasNewEngine(type)) {
      EXPECT_EQ(choices[EngineGen2], "Kestrel Thornby 4");
    }
  }

  const TEngineParams params = searchtest::MaterialParams(EngineGen2);
  TDColor side;
  const TBoard board = searchtest::RandomGamePosition(gtBrazilian, 14, 8, side);
  TEngine engine(4);
  const TSearchResult via = searchtest::Search(engine, board, side, gtBrazilian, 7, params);
  TKestrel4 direct;
  TRun run;
  const TSearchResult own = run.ToDepth(direct, board, side, gtBrazilian, 7, params);
  EXPECT_EQ(via.depth, 7);
  EXPECT_EQ(via.stats.counters.nodes, own.stats.counters.nodes);
  EXPECT_EQ(via.score, own.score);
  EXPECT_TRUE(searchtest::SameMove(via.bestMove, own.bestMove));

  // Set up before the game (table of another size than the engine's first
  // one, weights that do not exist): the search is the same search.
  TEngine prepared(2);
  prepared.PrepareGeneration(gtBrazilian, params);
  TEngineParams missing = params;
  missing.PatternWeights = "no such folder/Brazilian.k4w";
  prepared.PrepareGeneration(gtBrazilian, missing);
  prepared.PrepareGeneration(0, params);
  prepared.AllocateHashTable(4);
  prepared.PrepareGeneration(gtBrazilian, params);
  const TSearchResult after = searchtest::Search(prepared, board, side, gtBrazilian, 7, params);
  EXPECT_EQ(after.stats.counters.nodes, own.stats.counters.nodes);
  EXPECT_EQ(after.score, own.score);

  // Fresh settings take Kestrel 4 only where it won its match.
  EXPECT_EQ(DefaultEngineGeneration(gtRussian), EngineNew);
  EXPECT_EQ(DefaultEngineGeneration(gtInternational), EngineGen2);
  EXPECT_EQ(DefaultEngineGeneration(gtFrisian), EngineOld);

  // A variant without a bitboard generator stays with the older generation.
  EXPECT_EQ(SearchGeneration(params, gtFrisian), EngineOld);
  EXPECT_EQ(SearchGeneration(params, gtRussian), EngineGen2);
}

}  // namespace
}  // namespace kestrel::gen2
