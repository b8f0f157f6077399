#include "app/match/hub_player.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <filesystem>

#include "protocols/hub_notation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {

namespace {

std::string Seconds(int64_t ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", std::max<int64_t>(0, ms) / 1000.0);
  return buf;
}

}  // namespace

std::string HubCommandName(const std::string& command) {
  const std::string program = command.substr(0, command.find(' '));
  const std::string name = std::filesystem::path(program).filename().string();
  return name.empty() ? "hub" : name;
}

THubPlayer::THubPlayer(std::string command, std::string name) : command_(std::move(command)), name_(std::move(name)) {}

std::string THubPlayer::Name() const {
  if (!name_.empty()) return name_;
  return client_.EngineName().empty() ? HubCommandName(command_) : client_.EngineName();
}

bool THubPlayer::NewGame(int gametype, std::string& error) {
  if (!client_.Running() || gametype_ != gametype) {
    std::vector<std::pair<std::string, std::string>> params;
    if (gametype != gtInternational) params.emplace_back("variant", HubVariantName(gametype));
    if (!client_.Start(command_, params, error)) return false;
    // An engine that knows no variants plays only International.
    const auto values = client_.EnumValues("variant");
    if (gametype != gtInternational &&
        std::find(values.begin(), values.end(), HubVariantName(gametype)) == values.end()) {
      error = Name() + " does not play " + std::string(GameTypeNames[gametype]);
      client_.Close();
      return false;
    }
    gametype_ = gametype;
  }
  client_.NewGame();
  return true;
}

TThinkReply THubPlayer::Think(const TBoard& start, TDColor startSide, const std::vector<TMove>& moves,
                              const TThinkLimits& limits) {
  TThinkReply reply;
  if (!client_.Running()) return reply;
  std::vector<std::string> texts;
  TBoard board = start;
  TDColor side = startSide;
  for (const TMove& m : moves) {
    texts.push_back(HubMoveText(m, gametype_));
    ApplyMove(m, board, gametype_);
    side = Opponent(side);
  }
  THubLine level("level");
  int64_t timeout = -1;
  if (limits.maxDepth > 0) level.Add("depth", std::to_string(limits.maxDepth));
  if (limits.moveTimeMs > 0) {
    level.Add("move-time", Seconds(limits.moveTimeMs));
    timeout = limits.moveTimeMs;
  }
  if (limits.clockMs >= 0) {
    // Hub adds the increment before the move; ours comes after it.
    if (limits.movesToGo > 0) level.Add("moves", std::to_string(limits.movesToGo));
    level.Add("time", Seconds(limits.clockMs - limits.incrementMs));
    if (limits.incrementMs > 0) level.Add("inc", Seconds(limits.incrementMs));
    timeout = std::max<int64_t>(timeout, limits.clockMs);
  }
  if (level.args.empty()) level.Flag("infinite");
  const THubSearchReply r = client_.Search(HubPositionText(start, startSide, gametype_), texts, level, timeout);
  if (!r.ok || r.move.empty()) return reply;
  const auto move = FindHubMove(r.move, board, side, gametype_);
  if (!move) return reply;
  reply.hasMove = true;
  reply.move = *move;
  reply.depth = r.depth;
  reply.nodes = r.nodes;
  reply.score = static_cast<int16_t>(std::clamp<long>(std::lround(r.score * 100), -2000, 2000));
  return reply;
}

}  // namespace kestrel
