// Numbers in database files: header records are little-endian, the numbers
// inside a game blob big-endian. Reading goes through a cursor that never
// passes the end of its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace kestrel {

inline void PutLE(uint8_t* p, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t GetLE(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

inline void AppendBE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Bounded reading of untrusted bytes: every read reports whether the bytes
// were there, and a failed read leaves the cursor where it was.
class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size() - pos_; }
  std::size_t Position() const { return pos_; }

  bool U8(uint8_t& v) {
    if (Remaining() < 1) return false;
    v = bytes_[pos_++];
    return true;
  }

  // Big-endian number of `bytes` (1..4) bytes.
  bool BE(uint32_t& v, int bytes) {
    if (Remaining() < static_cast<std::size_t>(bytes)) return false;
    v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | bytes_[pos_++];
    return true;
  }

  bool Bytes(uint8_t* dest, std::size_t count) {
    if (Remaining() < count) return false;
    if (count != 0) std::memcpy(dest, bytes_.data() + pos_, count);
    pos_ += count;
    return true;
  }

  // A view of the next `count` bytes, skipping them.
  bool View(std::span<const uint8_t>& out, std::size_t count) {
    if (Remaining() < count) return false;
    out = bytes_.subspan(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace kestrel
