// "Kestrel 4" as a generation of TEngine: the root driver (iterative
// deepening one ply at a time with aspiration windows, lazy SMP helper
// threads sharing the table) and its registration.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "engine/engine.h"
#include "engine/generation_search.h"
#include "engine/gen2/gen2_patterns.h"
#include "engine/gen2/gen2_search.h"
#include "engine/gen2/gen2_table.h"

namespace kestrel::gen2 {

// Makes generation 2 playable by every TEngine of the program.
void RegisterKestrel4();

class TKestrel4 final : public TGenerationSearch {
 public:
  TKestrel4();
  TSearchResult SearchRoot(const TBoard& board, TDColor side, int gametype, const TSearchLimits& limits,
                           const TEngineParams& params, TSearchListener& listener,
                           const TGenerationContext& context) override;
  // The table of the context's size and the weights read.
  void Prepare(int gametype, const TEngineParams& params, const TGenerationContext& context) override;
  // For tests: the selective parts of the search.
  void SetShape(const TSearchShape& shape) { shape_ = shape; }

 private:
  std::shared_ptr<const TPatternWeights> WeightsFor(const TEngineParams& params, int gametype);

  TTable table_;
  TSearchShape shape_;
  // The weights last read, by file and time of change.
  std::filesystem::path weightsPath_;
  std::filesystem::file_time_type weightsTime_{};
  std::shared_ptr<const TPatternWeights> weights_;
};

// The line of positions `line` (each with the side to move in `w`) as moves
// of the rules core, starting with `first` played in `board` by `side`.
TPV LineToPV(const TBoard& board, TDColor side, const TMove& first, const std::vector<TBitBoard64>& line,
             int gametype);

}  // namespace kestrel::gen2
