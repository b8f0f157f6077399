// The program's own engine as a match player: one TEngine with its own
// transposition table per player, so that games in parallel never share one.
#pragma once

#include <memory>
#include <string>

#include "app/match/match_player.h"
#include "engine/engine.h"
#include "engine/engine_params.h"

namespace kestrel {

class TEnginePlayer final : public TMatchPlayer {
 public:
  // `params` holds the evaluation function (and the generation) to play
  // with; `name` is what games record.
  TEnginePlayer(std::string name, TEngineParams params, uint64_t hashMegabytes);

  std::string Name() const override { return name_; }
  bool NewGame(int gametype, std::string& error) override;
  TThinkReply Think(const TBoard& start, TDColor startSide, const std::vector<TMove>& moves,
                    const TThinkLimits& limits) override;
  void Stop() override { engine_->Stop(); }

  // Whether searches shallower than the first iteration of the root search
  // (depth 5) are answered by a one-pass search over the root moves.
  static bool IsShallow(int maxDepth) { return maxDepth > 0 && maxDepth < ShallowBelow; }

 private:
  static constexpr int ShallowBelow = 5;
  TThinkReply ShallowSearch(const TBoard& board, TDColor side, int depth);

  std::string name_;
  TEngineParams params_;
  std::unique_ptr<TEngine> engine_;
  int gametype_ = 1;
  uint8_t generation_ = EngineNew;
};

}  // namespace kestrel
