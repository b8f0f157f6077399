// The book grid beside the game panel: signs set on the positions its moves
// lead to, "Add on click", and how a row is coloured. No window here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/opening_book.h"
#include "game/open_moves.h"
#include "rules/board.h"
#include "rules/move.h"

namespace kestrel {

// Width of the grid beside the game panel: its two columns and a frame.
inline constexpr int BookGridWidth = 70 + 170 + 4;

// The sign menu of the grid in menu order; the menu entry k sets sign k + 1.
extern const std::array<std::string_view, 7> BookSignMenuTexts;

// Text colour of a row by its class.
enum class TBookRowColor : uint8_t { notInBook, weak, playable, good };
TBookRowColor BookRowColor(const TOpenMove& entry);

// The legal move a row stands for (its `num` in the book's move list).
std::optional<TMove> BookRowMove(const TOpenMove& entry, const TBoard& board, TDColor side, int type);

// Sets `sign` (1..7) on the position after the row's move. False without an
// open, writable book or for a row that names no legal move.
bool SetBookRowSign(TOpeningBook& book, const TOpenMove& entry, const TBoard& board, TDColor side, int type,
                    uint8_t sign);

// "Add on click": a move the book lacks, or has without a sign, is written
// with no sign before it is played; a sign already given stays. True when
// the book was written.
bool AddRowOnClick(TOpeningBook& book, const TOpenMove& entry, const TBoard& board, TDColor side, int type);

}  // namespace kestrel
