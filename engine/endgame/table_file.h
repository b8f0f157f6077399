// The final table files: I and D (signed 64-bit), a block index of I/4
// 32-bit offsets into the data, then D bytes of blocks. MTW blocks are zlib
// streams of 2048 one-byte values; WDL blocks run-length code 8192 values.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kestrel {

// A checked view of a table file held in memory.
class TTableFileView {
 public:
  // Checks the header and the block index against the table's size; on a
  // damaged file returns false with the reason in `error`.
  bool Open(std::span<const uint8_t> bytes, uint64_t positions, bool mtw, std::string& error);

  bool Mtw() const { return mtw_; }
  uint64_t Blocks() const { return blocks_; }
  // The coded bytes of block b (b < Blocks()).
  std::span<const uint8_t> Block(uint64_t b) const;
  int BlockPositions() const;
  // Positions held by block b (the last block may be shorter).
  int PositionsInBlock(uint64_t b) const;
  // Decodes block b into `out` (BlockPositions() bytes, one value each);
  // false when the block does not inflate or decode to its full length.
  bool DecodeBlock(uint64_t b, uint8_t* out) const;
  // The value of one position; -1 on a damaged block.
  int Value(uint64_t index) const;

 private:
  std::span<const uint8_t> data_;
  std::span<const uint8_t> index_;
  uint64_t blocks_ = 0;
  uint64_t positions_ = 0;
  bool mtw_ = false;
};

// Builds a whole table file from one value per position (MTW: 0..255; WDL:
// 0..3 with 3 never probed).
std::vector<uint8_t> BuildTableFile(std::span<const uint8_t> values, bool mtw);

// Writes `bytes` to a temporary name beside `path`, then renames it, so that
// an interrupted write never leaves a partial file under the final name.
bool WriteWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes, std::string& error);
// The whole file, or false with a message.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace kestrel
