// The seam through which the search asks endgame databases about positions
// with few pieces. Until databases are loaded the engine uses the null
// prober, which knows no table and answers nothing.
#pragma once

#include <array>
#include <cstdint>

#include "engine/bitboard.h"

namespace kestrel {

// Table numbers whose win/loss answers the search must not use (those of
// the root position seen from both sides); 0 stands for none.
using TExcludedTables = std::array<uint32_t, 2>;

class TEndgameProber {
 public:
  virtual ~TEndgameProber() = default;

  // `pos` has the side to move in `w`, both sides have pieces and the side to
  // move has no capture. On an answer, `score` is counted from this node:
  // 0 a draw, 1500 / -1500 a database win / loss, 2001 - v / v - 2001 a win
  // or loss in v plies. Called by many search threads at once.
  virtual bool ProbeEDB(const TBitBoard64& pos, int gametype, int ply, int16_t& score,
                        const TExcludedTables& excluded) = 0;

  // The number of the table holding the material of `pos`; 0 for none.
  virtual uint32_t TableNumber(const TBitBoard64& pos, int gametype) const = 0;

  // Most pieces of a position the tables of `gametype` may answer; 0 when
  // there are none. The search asks once and probes no larger position.
  virtual int Pieces(int gametype) = 0;
};

class TNullEndgameProber final : public TEndgameProber {
 public:
  bool ProbeEDB(const TBitBoard64&, int, int, int16_t&, const TExcludedTables&) override { return false; }
  uint32_t TableNumber(const TBitBoard64&, int) const override { return 0; }
  int Pieces(int) override { return 0; }
};

}  // namespace kestrel
