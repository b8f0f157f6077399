// The clock of a decided game, damaged engine files and the engine settings
// applied to a running controller.
#include <gtest/gtest.h>

#include <fstream>

#include "app/play/engine_settings_apply.h"
#include "app/play/engine_setup.h"
#include "app/play/result_detection.h"
#include "engine/default_eval.h"
#include "engine/engine_params.h"
#include "play_test_support.h"

namespace kestrel {
namespace {

using testing::PlayFixture;

TEST_F(PlayFixture, ADecidedGameKeepsItsClockStopped) {
  controller->SetPlayMode();
  controller->ChangeGame([](TGame& g) { g.Header.Result = ResultDraw; });
  struct Step {
    const char* what;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"Compute", [&] { controller->Compute(); }},
      {"STOP button", [&] { controller->StopButton(); }},
      {"a move", [&] { controller->EnterMove(LegalMoves().front()); }},
  };
  for (const Step& s : steps) {
    s.act();
    now += 500;
    controller->TimerTick();
    EXPECT_FALSE(controller->Clock().Running()) << s.what;
    controller->StopAndWait();
  }
  EXPECT_EQ(controller->Clock().Text(), "0:03:00 0:03:00");
  // The same game undecided: the clock runs.
  controller->ChangeGame([](TGame& g) { g.Header.Result = ResultUnknown; });
  controller->Compute();
  EXPECT_TRUE(controller->Clock().Running());
  controller->Stop();
  controller->StopAndWait();
}

TEST_F(PlayFixture, ADamagedEngineFileIsReportedAndTheBuiltInPlaysUnderItsOwnName) {
  const auto folder = EngineFolder(dir.path(), gtRussian);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Broken.eng", std::ios::binary) << "Broken\r\n.1 2 3 4 ; 0.man value\r\n.zz 1 1 1\r\n";
  settings.Variants[gtRussian].EngineName = "Broken.eng";
  std::string problem;
  const TEngineParams p = LoadVariantParams(settings, dir.path(), gtRussian, &problem);
  EXPECT_NE(problem.find("Broken.eng"), std::string::npos) << problem;
  EXPECT_NE(problem.find("line 3"), std::string::npos) << problem;
  EXPECT_EQ(p.EngineName, DefaultEvalFunc(gtRussian).Name);
  EXPECT_EQ(p.EvalFunc.Name, DefaultEvalFunc(gtRussian).Name);

  // Through the dialog's values: reported, and the game names the built-in.
  TEngineSettingsValues values = EngineSettingsFrom(settings);
  const TEngineSettingsOutcome outcome = ApplyEngineSettings(*controller, values);
  ASSERT_EQ(outcome.problems.size(), 1u);
  EXPECT_EQ(controller->VariantParams(gtRussian).EngineName, "Russian default");
  controller->NewGame();
  EXPECT_EQ(Game().BlackName.find("Broken"), std::string::npos) << Game().BlackName;

  // A sound file is read and named as itself.
  std::ofstream(folder / "Good.eng", std::ios::binary) << EngineFileText(DefaultEvalFunc(gtRussian));
  values.variants[gtRussian].EngineName = "Good.eng";
  EXPECT_TRUE(ApplyEngineSettings(*controller, values).problems.empty());
  EXPECT_EQ(controller->VariantParams(gtRussian).EngineName, "Good.eng");
}

}  // namespace
}  // namespace kestrel
