// A play controller on a temporary program folder (no engine files, no
// books: the built-in evaluation functions play), with a clock the test
// moves by hand and a user whose answers the test chooses.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/play/play_controller.h"
#include "app/settings/settings.h"
#include "game/move_tree.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"
#include "test_support/temp_dir.h"

namespace kestrel::testing {

class ScriptedUser : public TPlayUi {
 public:
  TNewMoveChoice AskNewMove(const std::vector<std::string>& continuations, int preselected) override {
    asked.push_back(continuations);
    lastPreselected = preselected;
    return newMoveAnswer;
  }
  TSaveAnswer AskSaveGame(bool withCancel) override {
    ++saveQuestions;
    return saveAnswer;
  }
  bool SaveCurrentGame() override {
    ++saves;
    return saveSucceeds;
  }
  bool AskRemoveWrongMoves() override {
    ++wrongMoveQuestions;
    return removeWrongMoves;
  }

  TNewMoveChoice newMoveAnswer{TNewMoveAnswer::newVariation, -1};
  std::vector<std::vector<std::string>> asked;
  int lastPreselected = -2;
  TSaveAnswer saveAnswer = TSaveAnswer::no;
  int saveQuestions = 0;
  bool saveSucceeds = true;
  int saves = 0;
  bool removeWrongMoves = true;
  int wrongMoveQuestions = 0;
};

class PlayFixture : public ::testing::Test {
 protected:
  PlayFixture() {
    settings = Settings::Defaults(dir.path());
    TPlayOptions options;
    options.now = [this] { return now.load(); };
    options.randomSeed = 12345;
    options.hashMegabytes = 1;
    controller = std::make_unique<TPlayController>(settings, dir.path(), options);
    controller->SetUi(&user);
    controller->Initialize();
  }
  ~PlayFixture() override { controller.reset(); }

  void WaitIdle() { controller->Worker().IdleEvent().Wait(); }

  TGame Game() const {
    return controller->ReadGame([](const TGame& g) { return g; });
  }

  // The legal moves of the current position, duplicates removed.
  std::vector<TMove> LegalMoves() const {
    const TGame g = Game();
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(g.CurBoard, g.SideToMove, list, GameTypeOf(g), count);
    removedoublemoves(count, list, g.CurBoard, GameTypeOf(g));
    return {list.begin(), list.begin() + count};
  }

  std::optional<TMove> MoveByText(const std::string& text) const {
    const TGame g = Game();
    for (const TMove& m : LegalMoves())
      if (MoveToText(m, GameTypeOf(g), 0, "x") == text) return m;
    return std::nullopt;
  }

  // Plays `texts` into the game without the engine (analysis mode, stopped).
  void PlayLine(const std::vector<std::string>& texts) {
    for (const std::string& t : texts) {
      const auto m = MoveByText(t);
      ASSERT_TRUE(m) << t;
      ASSERT_TRUE(controller->EnterMove(*m)) << t;
    }
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    while (auto m = controller->Refresh().TakeMessage()) out.push_back(m->text + (m->messageBox ? " [box]" : ""));
    return out;
  }

  TempDir dir;
  Settings settings;
  std::atomic<int64_t> now{1000000};
  ScriptedUser user;
  std::unique_ptr<TPlayController> controller;
};

}  // namespace kestrel::testing
