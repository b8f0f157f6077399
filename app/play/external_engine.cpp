#include "app/play/external_engine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "protocols/hub_notation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {

namespace {

template <typename T>
T Number(const THubLine& line, const char* key, T fallback) {
  const auto text = line.Get(key);
  if (!text) return fallback;
  T value{};
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  return ec == std::errc() && end == text->data() + text->size() ? value : fallback;
}

// A Hub score in men as the program's hundredths; game-end scores near 99
// and 89 fall in the won range.
int16_t Hundredths(double men) { return static_cast<int16_t>(std::clamp<long>(std::lround(men * 100), -2000, 2000)); }

}  // namespace

bool TExternalEngine::Search(const std::string& command, const TBoard& board, TDColor side, int type, int maxDepth,
                             int64_t moveTimeCs, int64_t hardLimitCs, TSearchListener& listener,
                             const std::function<bool()>& stopRequested, TSearchResult& result, std::string& error) {
  result = TSearchResult{};
  TMoveList list;
  uint8_t count = 0;
  GenerateMoveList(board, side, list, type, count);
  removedoublemoves(count, list, board, type);
  if (count == 0) return true;

  if (!client_.Running() || command != command_ || type != type_) {
    std::vector<std::pair<std::string, std::string>> params;
    if (type != gtInternational) params.emplace_back("variant", HubVariantName(type));
    if (!client_.Start(command, params, error)) return false;
    const auto values = client_.EnumValues("variant");
    if (type != gtInternational && std::find(values.begin(), values.end(), HubVariantName(type)) == values.end()) {
      error = command + ": the engine does not play " + std::string(GameTypeNames[type]);
      client_.Close();
      return false;
    }
    command_ = command;
    type_ = type;
  }

  std::vector<TRootMove> moves(count);
  for (int i = 0; i < count; ++i) {
    moves[i].move = list[i];
    moves[i].text = MoveToText(list[i], type, 0, "x");
  }
  listener.RootMoves(moves);

  THubLine level("level");
  if (maxDepth > 0) level.Add("depth", std::to_string(maxDepth));
  if (moveTimeCs > 0) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", moveTimeCs / 100.0);
    level.Add("move-time", seconds);
  }
  if (level.args.empty()) level.Flag("infinite");

  const auto onInfo = [&](const THubLine& info) {
    // The line as moves of the position, as far as they are legal.
    TPV pv;
    TBoard b = board;
    TDColor s = side;
    const std::string text = info.Get("pv").value_or("");
    for (size_t pos = 0; pos < text.size() && pv.Length < TPV::MaxLength;) {
      const size_t end = std::min(text.find(' ', pos), text.size());
      const auto m = FindHubMove(std::string_view(text).substr(pos, end - pos), b, s, type);
      pos = end + 1;
      if (!m) break;
      pv.Mvs[pv.Length++] = *m;
      ApplyMove(*m, b, type);
      s = Opponent(s);
    }
    if (pv.Length == 0) return;
    auto best = std::find_if(moves.begin(), moves.end(),
                             [&](const TRootMove& r) { return r.move.mv == pv.Mvs[0].mv && r.move.lt == pv.Mvs[0].lt; });
    if (best == moves.end()) return;
    std::rotate(moves.begin(), best, best + 1);
    moves[0].score = moves[0].lower = moves[0].upper = Hundredths(Number(info, "score", 0.0));
    moves[0].pv = pv;
    TSearchStats stats;
    stats.counters.nodes = Number<uint64_t>(info, "nodes", 0);
    stats.elapsedMs = std::llround(Number(info, "time", 0.0) * 1000);
    stats.elapsedCs = std::max<int64_t>(1, stats.elapsedMs / 10);
    result.depth = Number(info, "depth", result.depth);
    result.score = moves[0].score;
    result.pv = pv;
    result.stats = stats;
    listener.IterationDone(result.depth, moves, stats);
  };
  const int64_t timeout = hardLimitCs > 0 ? hardLimitCs * 10 : -1;
  const THubSearchReply reply =
      client_.Search(HubPositionText(board, side, type), {}, level, timeout, onInfo, stopRequested);
  if (!reply.ok) {
    error = command + ": " + (reply.error.empty() ? "no answer" : reply.error);
    return false;
  }
  const auto move = FindHubMove(reply.move, board, side, type);
  if (!move) {
    error = command + ": the engine's move \"" + reply.move + "\" is not legal here";
    return false;
  }
  result.hasMove = true;
  result.bestMove = *move;
  if (result.pv.Length == 0 || !(result.pv.Mvs[0].mv == move->mv)) {
    result.pv = TPV{};
    result.pv.Length = 1;
    result.pv.Mvs[0] = *move;
  }
  return true;
}

void LabelExternalEngine(const std::string& command, TSearchStart& start) {
  std::string program = command.substr(0, command.find_first_of(" \t"));
  if (!command.empty() && command.front() == '"') program = command.substr(1, command.find('"', 1) - 1);
  start.engineName = "External (Hub)";
  start.engineFile = std::filesystem::path(program).filename().string();
}

}  // namespace kestrel
