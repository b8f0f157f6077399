// Opening-book files written and read record by record for tests.
#pragma once

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/opening_book.h"

namespace kestrel::testing {

// Writes `records` as a book file, sorted by position as a book must be
// unless `sort` is false (for tests of what a reader makes of other files).
inline void WriteBookFile(const std::filesystem::path& path, std::vector<TOpen> records, bool sort = true) {
  if (sort)
    std::stable_sort(records.begin(), records.end(),
                     [](const TOpen& a, const TOpen& b) { return ComparePacked(a.position, b.position) < 0; });
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const TOpen& r : records) {
    const auto bytes = EncodeBookRecord(r);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

inline std::vector<TOpen> ReadBookFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<TOpen> out;
  std::array<uint8_t, BookRecordSize> bytes{};
  while (in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    out.push_back(DecodeBookRecord(bytes));
  return out;
}

}  // namespace kestrel::testing
