// The opening book of the current variant: a file of 36-byte position records
// sorted by their packed position, with a comment file beside it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/packed_board.h"
#include "rules/board.h"

namespace kestrel {

// The "no evaluation" value of TOpen::eval.
constexpr int16_t BookNoEval = -32000;
// Signs 0..8; 4 is no sign, 8 shows the character with code 127.
constexpr uint8_t BookSignNone = 4;
constexpr uint8_t BookSignCount = 9;
constexpr std::size_t BookRecordSize = 36;

// One book record, seen by the side to move of its normal form: `wh` counts
// that side's wins, `bl` the other side's.
struct TOpen {
  TPackedBoardNew position{};
  uint16_t wh = 0;
  uint16_t dr = 0;
  uint16_t bl = 0;
  int16_t eval = 0;
  uint8_t sign = 0;
  uint16_t comm = 0;  // line of the comment file; 0 none

  bool operator==(const TOpen&) const = default;
};

// The 36 stored bytes of a record (little-endian, padding byte 0) and back.
std::array<uint8_t, BookRecordSize> EncodeBookRecord(const TOpen& rec);
TOpen DecodeBookRecord(const std::array<uint8_t, BookRecordSize>& bytes);

// The book key of a position: packed as seen by the side to move, the board
// turned over first when the second side moves.
TPackedBoardNew BookNormalForm(const TBrd& board, TDColor sideToMove, int type);

// Byte-wise order of packed positions, as the file is sorted.
int ComparePacked(const TPackedBoardNew& a, const TPackedBoardNew& b);

// Text appended to a book move for its sign; empty for a sign out of range.
std::string BookSignText(int sign);

// The open book. Lookups and insertions may come from the interface thread
// and from an engine worker; an internal lock keeps them apart.
class TOpeningBook {
 public:
  TOpeningBook();

  // BookIni: closes the open book and resets the comments to a single empty
  // line, then opens `path` if it is a readable file of whole records (kept
  // read-only when it cannot be written) and reads the ".cbn" beside it.
  void BookIni(const std::filesystem::path& path);
  void Close();
  bool IsOpen() const;
  std::filesystem::path Path() const;
  // Records in the file (numbered 1..RecordCount()).
  int RecordCount() const;

  // Record number of `position`, or 0. On an unsorted (damaged) file the
  // search may miss entries but never reads outside the file.
  int FindBookEntry(const TPackedBoardNew& position);
  // Record `number` (1-based); nullopt beyond the file.
  std::optional<TOpen> ReadEntry(int number);
  // The entry of `position` when the book has it.
  std::optional<TOpen> Lookup(const TPackedBoardNew& position);

  // Gives `position` the sign, inserting a zeroed entry in its sorted place
  // when the book lacks it. False when no book is open, the file is
  // read-only or a write fails.
  bool SetBookSign(const TPackedBoardNew& position, uint8_t sign);

  // Comment line `n` (0-based lines of the ".cbn"); nullopt beyond the list.
  std::optional<std::string> Comment(int n) const;
  int CommentCount() const;

 private:
  bool ReadLocked(int number, TOpen& rec);
  bool WriteLocked(int number, const TOpen& rec);
  int SearchLocked(const TPackedBoardNew& position, int& lo);
  void CloseLocked();

  mutable std::mutex mutex_;
  std::fstream file_;
  std::filesystem::path path_;
  bool open_ = false;
  bool writable_ = false;
  int count_ = 0;
  std::vector<std::string> comments_;
};

}  // namespace kestrel
