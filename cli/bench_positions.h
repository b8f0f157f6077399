// The fixed positions of `kestrel-cli bench`: an opening, a middlegame and an
// endgame of every variant, as FEN texts.
#pragma once

#include <span>
#include <string_view>

namespace kestrel::cli {

struct TBenchPosition {
  int gametype;
  std::string_view fen;
};

std::span<const TBenchPosition> BenchPositions();

}  // namespace kestrel::cli
