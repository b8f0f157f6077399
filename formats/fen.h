// The FEN text of a position: "W:W21,22,K5:B1,2." and its reader.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rules/board.h"

namespace kestrel {

struct TFenPosition {
  TBoard board;
  TDColor firstMover = TDColor::white;
};

// English and Pool files name the colours the other way round.
// English and Pool files call the program's white "B" (and "Black" in the
// name tags) and its black "W".
bool NamesExchanged(int type);

std::string WriteFEN(const TBoard& board, TDColor firstMover, int type);
// Bad text gives nullopt and a message in `error`; never a half-read board.
std::optional<TFenPosition> ReadFEN(std::string_view text, int type, std::string* error = nullptr);

}  // namespace kestrel
