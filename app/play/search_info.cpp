#include "app/play/search_info.h"

#include <algorithm>
#include <cstdio>

#include "app/play/play_texts.h"
#include "engine/endgame/endgame_verdict.h"
#include "engine/principal_variation.h"
#include "game/move_tree.h"
#include "rules/notation.h"

namespace kestrel {

std::string SpeedText(uint64_t nodes, int64_t elapsedCs) {
  const uint64_t e = static_cast<uint64_t>(std::max<int64_t>(elapsedCs, 1));
  return std::to_string(nodes / e / 10) + "kN/s";
}

std::string ElapsedText(int64_t elapsedCs) {
  const int64_t e = std::max<int64_t>(elapsedCs, 1);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld.%02lld", static_cast<long long>(e / 100), static_cast<long long>(e % 100));
  return buf;
}

void TSearchInfoBoard::BeginSearch(const TSearchStart& start) {
  std::lock_guard lock(mutex_);
  const bool samePosition = start.board.b == start_.board.b && start.side == start_.side && start.type == start_.type;
  if (!samePosition) excluded_.clear();
  start_ = start;
  info_.engineName = start.engineName;
  info_.engineFile = start.engineFile;
  info_.depthText.clear();
  info_.progressText.clear();
  info_.speedText.clear();
  info_.timeText.clear();
  info_.lineText.clear();
  info_.endgameText = "EDB n/a";
  info_.currentMovePos = start.currentMovePos;
  info_.bestLower = -ScorePairOpen;
  info_.bestUpper = ScorePairOpen;
  info_.hasBest = false;
  info_.bestLine = TPV{};
  info_.extended = start.extended;
  info_.rootCount = 0;
  info_.currentRoot = -1;
  info_.roots.clear();
  info_.changed = true;
}

void TSearchInfoBoard::Clear() {
  std::lock_guard lock(mutex_);
  info_ = TEngineSearchInfo{};
  info_.changed = true;
  excluded_.clear();
  start_ = TSearchStart{};
}

TEngineSearchInfo TSearchInfoBoard::Snapshot(bool takeChanged) {
  std::lock_guard lock(mutex_);
  TEngineSearchInfo copy = info_;
  if (takeChanged) info_.changed = false;
  return copy;
}

bool TSearchInfoBoard::Changed() const {
  std::lock_guard lock(mutex_);
  return info_.changed;
}

void TSearchInfoBoard::MarkChanged() {
  std::lock_guard lock(mutex_);
  info_.changed = true;
}

void TSearchInfoBoard::ClearDepth() {
  std::lock_guard lock(mutex_);
  info_.depthText.clear();
  info_.changed = true;
}

bool TSearchInfoBoard::IsExcludedLocked(const TMove& move) const {
  return std::any_of(excluded_.begin(), excluded_.end(),
                     [&](const TMove& m) { return SameMovePath(m, move) && m.lt == move.lt; });
}

void TSearchInfoBoard::ToggleExcludedMove(const TMove& move) {
  int row = -1;
  {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < static_cast<int>(info_.roots.size()); ++i)
      if (SameMovePath(info_.roots[i].move, move) && info_.roots[i].move.lt == move.lt) row = i;
  }
  ToggleExcluded(row);
}

void TSearchInfoBoard::ToggleExcluded(int row) {
  std::lock_guard lock(mutex_);
  if (row < 0 || row >= static_cast<int>(info_.roots.size())) return;
  TRootMoveRecord& r = info_.roots[row];
  r.excluded = !r.excluded;
  if (r.excluded) {
    excluded_.push_back(r.move);
  } else {
    std::erase_if(excluded_, [&](const TMove& m) { return SameMovePath(m, r.move) && m.lt == r.move.lt; });
  }
  info_.changed = true;
}

std::string TSearchInfoBoard::LineLocked(const TPV& pv) const {
  return PVText(pv, start_.type, start_.side, start_.firstMoveNumber, true, NotationMode, TakeChar);
}

void TSearchInfoBoard::CopyMovesLocked(const std::vector<TRootMove>& moves) {
  info_.roots.resize(moves.size());
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const TRootMove& m = moves[i];
    TRootMoveRecord& r = info_.roots[i];
    r.move = m.move;
    r.lower = m.lower;
    r.upper = m.upper;
    r.pv = m.pv;
    r.excluded = IsExcludedLocked(m.move);
    if (m.pv.Length > 0) {
      r.text = LineLocked(m.pv);
    } else {
      TPV single;
      single.Length = 1;
      single.Mvs[0] = m.move;
      r.text = LineLocked(single);
    }
  }
  info_.rootCount = static_cast<int>(moves.size());
}

void TSearchInfoBoard::StatsLocked(const TSearchStats& stats) {
  info_.speedText = SpeedText(stats.counters.nodes, stats.elapsedCs);
  info_.timeText = ElapsedText(stats.elapsedCs);
  info_.endgameText = endgame_ ? EndgameText(endgame_->Stats())
                     : stats.counters.edbAnswers == 0 ? std::string("EDB n/a")
                                                      : "EDB=" + std::to_string(stats.counters.edbAnswers);
}

void TSearchInfoBoard::SetEndgameSource(std::shared_ptr<const TEndgameCache> cache) {
  std::lock_guard lock(mutex_);
  endgame_ = std::move(cache);
}

void TSearchInfoBoard::RootMoves(const std::vector<TRootMove>& moves) {
  std::lock_guard lock(mutex_);
  CopyMovesLocked(moves);
  info_.changed = true;
}

void TSearchInfoBoard::Searching(int depth, int number, int count) {
  std::lock_guard lock(mutex_);
  info_.depthText = std::to_string(depth);
  info_.progressText = " (" + std::to_string(number) + "/" + std::to_string(count) + ")";
  info_.currentRoot = number - 1;
  info_.changed = true;
}

void TSearchInfoBoard::BestLine(int16_t score, const TRootMove& move) {
  std::lock_guard lock(mutex_);
  info_.bestLower = info_.bestUpper = score;
  info_.hasBest = true;
  info_.bestLine = move.pv;
  info_.lineText = LineLocked(move.pv);
  info_.changed = true;
}

void TSearchInfoBoard::RootMovesSorted(const std::vector<TRootMove>& moves, const TSearchStats& stats) {
  std::lock_guard lock(mutex_);
  CopyMovesLocked(moves);
  StatsLocked(stats);
  info_.changed = true;
}

void TSearchInfoBoard::IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) {
  std::lock_guard lock(mutex_);
  CopyMovesLocked(moves);
  StatsLocked(stats);
  info_.changed = true;
}

bool TSearchInfoBoard::Excluded(const TMove& move) {
  std::lock_guard lock(mutex_);
  return IsExcludedLocked(move);
}

std::string SearchInfoHeader(const TEngineSearchInfo& info) {
  return info.engineName + " [" + info.engineFile + "]: " + Lang(LtDepth) + " " + info.depthText + info.progressText +
         ", " + Lang(LtSpeed) + "=" + info.speedText + ",  " + Lang(LtTime) + "=" + info.timeText + ",  " +
         info.endgameText;
}

std::string SearchInfoText(const TEngineSearchInfo& info) {
  const std::string score = info.hasBest ? ScorePairText(info.bestLower, info.bestUpper) : std::string();
  return SearchInfoHeader(info) + "\n" + score + " " + info.lineText + "\n\n";
}

std::vector<TRootMoveRow> RootMoveRows(const TEngineSearchInfo& info) {
  std::vector<TRootMoveRow> rows;
  rows.reserve(info.roots.size());
  for (std::size_t i = 0; i < info.roots.size(); ++i) {
    const TRootMoveRecord& r = info.roots[i];
    TRootMoveRow row;
    if (r.excluded) row.mark = "x";
    if (static_cast<int>(i) == info.currentRoot) row.mark = "*";
    row.score = r.lower == -ScorePairOpen && r.upper == ScorePairOpen ? std::string() : ScorePairText(r.lower, r.upper);
    row.text = r.text;
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace kestrel
