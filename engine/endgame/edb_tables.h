// Numbering of endgame tables: the board facts they need, the men tables
// (every set of men of one side ranked within its row sum), table numbers,
// file names and the index of a position within its table.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/bitboard.h"

namespace kestrel {

// Binomial coefficients C(n, k) for n < 64, k < 8.
uint64_t EdbBinomial(int n, int k);

// The material and men row sums that select one table; the first side is the
// side to move.
struct TEdbMaterial {
  int wm = 0, bm = 0, wk = 0, bk = 0;  // men and kings of the side to move, of the other side
  int rsw = 0, rsb = 0;                 // men row sums, each seen from its own side
  int Pieces() const { return wm + bm + wk + bk; }
  uint32_t Number() const;
  // The same table seen from the other side.
  TEdbMaterial Mirror() const { return {bm, wm, bk, wk, rsb, rsw}; }
  bool operator==(const TEdbMaterial&) const = default;
};

// Decodes a table number; false when it cannot be one.
bool MaterialFromNumber(uint32_t number, TEdbMaterial& m);

// "4-1120-3-0": pieces, kings and men of both sides, row sums.
std::string TableFileName(const TEdbMaterial& m);

// Folder of the variant's tables of one kind: root / variant name / "WDL" or "MTW".
std::filesystem::path TableFolder(const std::filesystem::path& root, int gametype, bool mtw);

// The endgame folder: `edPath` when set, else program folder + "ED".
std::filesystem::path EndgameRoot(const std::filesystem::path& programFolder, const std::string& edPath);

// Board facts and men tables of one board kind (32, 40 or 50 squares).
class TEdbBoard {
 public:
  // Builds the men tables for the board of `gametype` (BuildMenTables); a type
  // without a bitboard form gives a board that knows no table.
  explicit TEdbBoard(int gametype);

  int GameType() const { return gametype_; }
  bool Valid() const { return squares_ != 0; }
  int Squares() const { return squares_; }          // S
  int PerRow() const { return perRow_; }            // R
  int MenRows() const { return squares_ / perRow_ - 1; }  // F
  int MaxMen() const { return maxMen_; }            // men of one side in the men tables
  int MaxSidePieces() const { return squares_ == 50 ? 4 : 5; }  // probed material per side
  int NumberLimit() const { return squares_ == 32 ? 7 : squares_ == 40 ? 6 : 5; }

  int IndexOfBit(int bit) const { return bitToIndex_[bit]; }
  int BitOfIndex(int index) const { return indexToBit_[index]; }

  // Rank and count of an n-set of men given as 0-based square indices seen
  // from its own side; -1 rank for a set outside the men squares.
  struct TMenEntry {
    uint32_t rank = 0;
    uint32_t count = 0;  // sets of its row sum
    uint8_t rowSum = 0;
  };
  // Row sums reachable by n men, and how many sets have each.
  uint32_t MenCount(int n, int rowSum) const;
  int MinRowSum(int n) const;
  int MaxRowSum(int n) const;
  // The sets of n men with this row sum in rank order, as bit sets of own-side square indices.
  const std::vector<uint64_t>& MenSets(int n, int rowSum) const;

  // Table of a position with the side to move in `w`. False when a side has
  // more men than the men tables hold.
  bool MaterialOf(const TBitBoard64& pos, TEdbMaterial& m) const;
  // Table number (0 when a side has more pieces than NumberLimit or the men
  // tables do not cover the position).
  uint32_t TableNumber(const TBitBoard64& pos) const;

  // Number of positions (index range) of a table.
  uint64_t TableSize(const TEdbMaterial& m) const;
  // Index of `pos` within its table `m` (which must be MaterialOf(pos)).
  uint64_t Index(const TBitBoard64& pos, const TEdbMaterial& m) const;
  // MaterialOf and Index at once, sharing the work: the generator and the
  // probe ask this for every position they look up.
  bool Locate(const TBitBoard64& pos, TEdbMaterial& m, uint64_t& index) const;
  // The position of an index; false when the two men sets overlap (a number
  // that no position has) or the index is out of range.
  bool Position(const TEdbMaterial& m, uint64_t index, TBitBoard64& pos) const;

  // Bit sets of square indices to and from the engine's bit layout.
  uint64_t IndexSetToBits(uint64_t indexSet) const {
    uint64_t bits = 0;
    for (int byte = 0; indexSet != 0; ++byte, indexSet >>= 8) bits |= indexToBits_[byte][indexSet & 255];
    return bits;
  }
  uint64_t BitsToIndexSet(uint64_t bits) const {
    uint64_t set = 0;
    for (int byte = 0; bits != 0; ++byte, bits >>= 8) set |= bitsToIndex_[byte][bits & 255];
    return set;
  }
  // Index set seen from the other side (square i becomes S-1-i).
  uint64_t TurnIndexSet(uint64_t indexSet) const {
    return squares_ == 0 ? 0 : Reverse64(indexSet & ((uint64_t{1} << squares_) - 1)) >> (64 - squares_);
  }

 private:
  // The entry of an n-set of men; null for a set outside the men squares.
  const TMenEntry* MenLookup(uint64_t indexSet, int n) const;
  // The index from the men entries and the square index sets of the pieces.
  uint64_t IndexOf(const TEdbMaterial& m, const TMenEntry& white, const TMenEntry& black, uint64_t menAll,
                   uint64_t wkings, uint64_t bkings) const;

  int gametype_ = 0;
  int squares_ = 0;
  int perRow_ = 0;
  int maxMen_ = 0;
  std::array<int8_t, 64> bitToIndex_{};
  std::array<int8_t, 64> indexToBit_{};
  // The two conversions byte by byte: [byte][its value] -> the bits it gives.
  std::array<std::array<uint64_t, 256>, 8> bitsToIndex_{};
  std::array<std::array<uint64_t, 256>, 8> indexToBits_{};
  // [n][colex rank of the set] -> rank within its row sum and the row sum.
  std::vector<std::vector<TMenEntry>> men_;
  // [n][row sum] -> sets in rank order.
  std::vector<std::vector<std::vector<uint64_t>>> sets_;
};

}  // namespace kestrel
