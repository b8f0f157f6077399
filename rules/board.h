// Positions of the rules core: the square-indexed board and the padded
// mailbox used inside the move generator.
#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

enum class TDColor : uint8_t { white = 0, black = 1 };

constexpr TDColor Opponent(TDColor c) { return c == TDColor::white ? TDColor::black : TDColor::white; }
constexpr int ColorIndex(TDColor c) { return static_cast<int>(c); }

// Cell codes shared by TBrd and TNewBoard.
constexpr int8_t Empty = 0;
constexpr int8_t WhiteMan = 1;
constexpr int8_t WhiteKing = 2;
constexpr int8_t BlackMan = -1;
constexpr int8_t BlackKing = -2;
constexpr int8_t OffBoard = 50;

constexpr int MaxSquares = 72;

// 72 cells indexed by square number 1..72; the first entry is square 1.
struct TBrd {
  std::array<int8_t, MaxSquares> cells{};

  int8_t& operator[](int square) { return cells[square - 1]; }
  int8_t operator[](int square) const { return cells[square - 1]; }
  bool operator==(const TBrd&) const = default;
};

struct TBoard {
  TBrd b;
  // Square of the king that made the side's last non-capturing move (0: none),
  // and how many such moves in a row it has made. Only Frisian reads them.
  std::array<uint8_t, 2> nmpiece{};
  std::array<uint8_t, 2> nmcount{};
};

// Mailbox form: cells 0..91, then the Frisian counters.
constexpr int MailboxSize = 92;
constexpr int NmPieceWhiteCell = 92;
constexpr int NmPieceBlackCell = 93;
constexpr int NmCountWhiteCell = 94;
constexpr int NmCountBlackCell = 95;
using TNewBoard = std::array<int8_t, 96>;

bool SameBoard(const TBrd& a, const TBrd& b);
bool SameNewBoard(const TNewBoard& a, const TNewBoard& b);

}  // namespace kestrel
