// The search information: what the running search last published, written by
// the engine worker and read by the interface thread, both under one lock
// that is held only while texts and numbers are copied.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/endgame/endgame_cache.h"
#include "engine/score_text.h"
#include "engine/search_listener.h"
#include "engine/search_types.h"
#include "rules/board.h"

namespace kestrel {

struct TRootMoveRecord {
  bool excluded = false;  // "Don't analyse"
  TMove move;
  std::string text;       // move number, move and best line
  int16_t lower = -ScorePairOpen;
  int16_t upper = ScorePairOpen;
  TPV pv;
};

struct TEngineSearchInfo {
  std::string engineName;
  std::string engineFile;
  std::string depthText;
  std::string progressText;  // " (3/7)"
  std::string speedText;     // "1234kN/s"
  std::string lineText;      // the best line with move numbers
  std::string timeText;      // "12.05"
  std::string endgameText;
  int currentMovePos = 0;    // the game's current slot when the search began
  int16_t bestLower = -ScorePairOpen;
  int16_t bestUpper = ScorePairOpen;
  bool hasBest = false;
  TPV bestLine;
  bool changed = false;
  bool extended = false;
  int rootCount = 0;
  int currentRoot = -1;      // row being searched; -1 none
  std::vector<TRootMoveRecord> roots;
};

// Where a search starts, for the texts of its lines.
struct TSearchStart {
  std::string engineName;
  std::string engineFile;
  TBoard board;
  TDColor side = TDColor::white;
  int type = 1;
  int firstMoveNumber = 1;
  int currentMovePos = 0;
  bool extended = false;
};

class TSearchInfoBoard : public TSearchListener {
 public:
  // Before a search: names and the position. The "Don't analyse" marks stay
  // when the search is on the same position as the last one.
  void BeginSearch(const TSearchStart& start);
  // Empties everything (new game, set-up).
  void Clear();

  // A copy; `takeChanged` clears the changed flag.
  TEngineSearchInfo Snapshot(bool takeChanged = false);
  bool Changed() const;
  void MarkChanged();
  // The depth text cleared (engine games between moves).
  void ClearDepth();
  // The endgame cache whose counters the endgame text shows.
  void SetEndgameSource(std::shared_ptr<const TEndgameCache> cache);

  // Toggles "Don't analyse" on a row of the root move list.
  void ToggleExcluded(int row);
  // The same for the row of `move`, wherever the sorting has put it.
  void ToggleExcludedMove(const TMove& move);

  void RootMoves(const std::vector<TRootMove>& moves) override;
  void Searching(int depth, int number, int count) override;
  void BestLine(int16_t score, const TRootMove& move) override;
  void RootMovesSorted(const std::vector<TRootMove>& moves, const TSearchStats& stats) override;
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) override;
  bool Excluded(const TMove& move) override;

 private:
  void CopyMovesLocked(const std::vector<TRootMove>& moves);
  void StatsLocked(const TSearchStats& stats);
  std::shared_ptr<const TEndgameCache> endgame_;
  std::string LineLocked(const TPV& pv) const;
  bool IsExcludedLocked(const TMove& move) const;

  mutable std::mutex mutex_;
  TEngineSearchInfo info_;
  TSearchStart start_;
  std::vector<TMove> excluded_;
};

// "nodes / e / 10" thousand nodes per second, e in centiseconds (at least 1).
std::string SpeedText(uint64_t nodes, int64_t elapsedCs);
// "12.05": seconds and hundredths.
std::string ElapsedText(int64_t elapsedCs);

// The information label: engine, depth, progress, speed, time and the
// endgame counters (also the header of the root move list) ...
std::string SearchInfoHeader(const TEngineSearchInfo& info);
// ... followed by the best score and line.
std::string SearchInfoText(const TEngineSearchInfo& info);

struct TRootMoveRow {
  std::string mark;  // "x" excluded, "*" being searched
  std::string score;
  std::string text;
};
std::vector<TRootMoveRow> RootMoveRows(const TEngineSearchInfo& info);

}  // namespace kestrel
