#include "engine/endgame/wdl_runs.h"

#include <algorithm>

namespace kestrel {

namespace {

class TSymbolWriter {
 public:
  void Put(int s) {
    if (count_ % 4 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<uint8_t>(s << (2 * (count_ % 4)));
    ++count_;
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
  int64_t count_ = 0;
};

class TSymbolReader {
 public:
  explicit TSymbolReader(std::span<const uint8_t> code) : code_(code) {}
  // -1 past the end.
  int Get() {
    if (next_ >= code_.size() * 4) return -1;
    const int s = code_[next_ / 4] >> (2 * (next_ % 4)) & 3;
    ++next_;
    return s;
  }

 private:
  std::span<const uint8_t> code_;
  size_t next_ = 0;
};

constexpr int MinRun = 5;
constexpr int MaxRun = 4184;

void PutRun(TSymbolWriter& out, int length, int value) {
  out.Put(3);
  if (length <= 8) {
    out.Put(0);
    out.Put(length - 5);
  } else if (length <= 24) {
    const int x = length - 9;
    out.Put(1);
    out.Put(x >> 2);
    out.Put(x & 3);
  } else if (length <= 88) {
    const int x = length - 25;
    out.Put(2);
    out.Put(x >> 4);
    out.Put(x >> 2 & 3);
    out.Put(x & 3);
  } else {
    const int x = length - 89;
    out.Put(3);
    for (int shift = 10; shift >= 0; shift -= 2) out.Put(x >> shift & 3);
  }
  out.Put(value);
}

// One item: its value and length; false at the end or on a damaged code.
bool ReadItem(TSymbolReader& in, int& value, int& length) {
  const int s = in.Get();
  if (s < 0) return false;
  if (s < 3) {
    value = s;
    length = 1;
    return true;
  }
  const int h = in.Get();
  if (h < 0) return false;
  static constexpr int digits[4] = {1, 2, 3, 6};
  static constexpr int base[4] = {5, 9, 25, 89};
  int x = 0;
  for (int i = 0; i < digits[h]; ++i) {
    const int d = in.Get();
    if (d < 0) return false;
    x = x * 4 + d;
  }
  value = in.Get();
  if (value < 0) return false;
  length = base[h] + x;
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeWdlRuns(std::span<const uint8_t> values) {
  TSymbolWriter out;
  const size_t n = values.size();
  // A never-probed stretch at the start takes the first real value.
  uint8_t current = 0;
  for (uint8_t v : values)
    if (v != WdlNeverProbed) {
      current = v;
      break;
    }
  size_t i = 0;
  while (i < n) {
    if (values[i] != WdlNeverProbed) current = values[i];
    size_t j = i + 1;
    while (j < n && (values[j] == current || values[j] == WdlNeverProbed)) ++j;
    int64_t length = static_cast<int64_t>(j - i);
    while (length >= MinRun) {
      const int chunk = static_cast<int>(std::min<int64_t>(length, MaxRun));
      PutRun(out, chunk, current);
      length -= chunk;
    }
    for (; length > 0; --length) out.Put(current);
    i = j;
  }
  return out.Take();
}

int DecodeWdlRun(std::span<const uint8_t> code, int d) {
  TSymbolReader in(code);
  int total = 0, value = 0, length = 0;
  while (ReadItem(in, value, length)) {
    total += length;
    if (total > d) return value;
    if (total > WdlBlockPositions) return -1;
  }
  return -1;
}

bool DecodeWdlBlock(std::span<const uint8_t> code, int count, uint8_t* out) {
  TSymbolReader in(code);
  int total = 0, value = 0, length = 0;
  while (total < count) {
    if (!ReadItem(in, value, length)) return false;
    const int take = std::min(length, count - total);
    std::fill(out + total, out + total + take, static_cast<uint8_t>(value));
    total += take;
  }
  return true;
}

}  // namespace kestrel
