// The text form of Kestrel 4's search settings, and that the settings given
// with the engine parameters are the ones the search runs with.
#include <gtest/gtest.h>

#include "engine/gen2/gen2_engine.h"
#include "engine/gen2/gen2_search_shape.h"
#include "engine/gen2/tests/gen2_test_run.h"
#include "engine/tests/search_test_helpers.h"

namespace kestrel::gen2 {
namespace {

TEST(Kestrel4SearchShape, ReadsGoodSettingsAndRefusesBadOnesWhole) {
  struct TCase {
    const char* text;
    bool ok;
    int lmr = 0, lmrBase = 0, history = 0, lmpDepth = 0, singular = 0, iirDepth = 0;  // when ok
    bool reductions = true;
  };
  const TSearchShape d;
  const TCase cases[] = {
      {"", true, d.lmr, d.lmrBase, d.history, d.lmpDepth, d.singular, d.iirDepth, true},
      {"lmr=1", true, 1, d.lmrBase, d.history, d.lmpDepth, d.singular, d.iirDepth, true},
      {"lmr=1,hist=1,sing=0,iir=4,lmp=6,lmrbase=-25", true, 1, -25, 1, 6, 0, 4, true},
      {"sel=0", true, d.lmr, d.lmrBase, d.history, d.lmpDepth, d.singular, d.iirDepth, false},
      {"lmr=2", false},          // above the range
      {"lmrbase=-201", false},   // below it
      {"lmr", false},            // no value
      {"lmr=", false},
      {"lmr=1x", false},         // not a whole number
      {"lmr=1.5", false},
      {"depth=3", false},        // unknown key
      {"LMR=1", false},          // keys are exact
      {"lmr=1,lmr=0", false},    // twice
      {"lmr=1,", false},         // an empty item
      {"sing=0,,lmr=1", false},
      {"lmr=1,bogus=2", false},  // a good key before a bad one changes nothing either
  };
  for (const TCase& c : cases) {
    TSearchShape shape;
    std::string error;
    EXPECT_EQ(ParseSearchShape(c.text, shape, error), c.ok) << c.text;
    EXPECT_EQ(error.empty(), c.ok) << c.text << ": " << error;
    if (!c.ok) {
      EXPECT_EQ(shape.lmr, d.lmr) << c.text;
      EXPECT_EQ(shape.singular, d.singular) << c.text;
      continue;
    }
    EXPECT_EQ(shape.lmr, c.lmr) << c.text;
    EXPECT_EQ(shape.lmrBase, c.lmrBase) << c.text;
    EXPECT_EQ(shape.history, c.history) << c.text;
    EXPECT_EQ(shape.lmpDepth, c.lmpDepth) << c.text;
    EXPECT_EQ(shape.singular, c.singular) << c.text;
    EXPECT_EQ(shape.iirDepth, c.iirDepth) << c.text;
    EXPECT_EQ(shape.reductions, c.reductions) << c.text;
    EXPECT_EQ(shape.pruning, c.reductions) << c.text;
    EXPECT_EQ(shape.extensions, c.reductions) << c.text;
  }
  // Every key the help lists is one the parser takes.
  const std::string keys = SearchShapeKeys();
  for (size_t at = 0; (at = keys.find("  ", at)) != std::string::npos;) {
    const size_t end = keys.find(' ', at + 2);
    const std::string key = keys.substr(at + 2, end - at - 2);
    TSearchShape shape;
    std::string error;
    EXPECT_TRUE(ParseSearchShape(key + "=0", shape, error) || error.find("must be") != std::string::npos) << key;
    at = keys.find('\n', at);
  }
}

TEST(Kestrel4SearchShape, SettingsOfTheEngineParametersReachTheSearch) {
  TEngineParams params = searchtest::MaterialParams(EngineGen2);
  TDColor side;
  const TBoard board = searchtest::RandomGamePosition(gtInternational, 16, 3, side);
  TSearchShape plain;
  plain.reductions = plain.pruning = plain.extensions = false;
  TKestrel4 bySetter;
  bySetter.SetShape(plain);
  TKestrel4 defaults;
  TRun run;
  const TSearchResult expected = run.ToDepth(bySetter, board, side, gtInternational, 7, params);
  const TSearchResult selective = run.ToDepth(defaults, board, side, gtInternational, 7, params);
  params.SearchSettings = "sel=0";
  const TSearchResult given = run.ToDepth(defaults, board, side, gtInternational, 7, params);
  EXPECT_EQ(given.stats.counters.nodes, expected.stats.counters.nodes);
  EXPECT_EQ(given.score, expected.score);
  EXPECT_NE(selective.stats.counters.nodes, expected.stats.counters.nodes);
}

}  // namespace
}  // namespace kestrel::gen2
