// An external engine speaking the Hub protocol as a match player: the
// command line is started once per player and asked for every move.
#pragma once

#include <string>

#include "app/match/match_player.h"
#include "protocols/hub_client.h"

namespace kestrel {

class THubPlayer final : public TMatchPlayer {
 public:
  // `name` is what games record; empty: the engine's own name.
  THubPlayer(std::string command, std::string name);

  std::string Name() const override;
  bool NewGame(int gametype, std::string& error) override;
  TThinkReply Think(const TBoard& start, TDColor startSide, const std::vector<TMove>& moves,
                    const TThinkLimits& limits) override;
  void Stop() override { client_.Stop(); }

 private:
  std::string command_;
  std::string name_;
  int gametype_ = 0;  // the variant the running engine was set up for
  THubClient client_;
};

// The match name of a Hub command line: its program's file name.
std::string HubCommandName(const std::string& command);

}  // namespace kestrel
