// The position of the export commands: --variant and --fen read together.
#pragma once

#include <optional>
#include <string>

#include "rules/board.h"

namespace kestrel::cli {

struct TExportPosition {
  int type;
  TBoard board;
  TDColor sideToMove;
};

// The start position of the variant when `fen` is empty; nullopt with a
// message on stderr for an unknown variant or bad FEN.
std::optional<TExportPosition> ReadExportPosition(const std::string& variant, const std::string& fen);

}  // namespace kestrel::cli
