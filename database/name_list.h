// One name list of a database (players, tournaments or sites): names are
// appended and never removed, so an index names the same entry for as long
// as the database is open. Lookup ignores letter case and finds the lowest
// index among equal names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrel {

class TNameList {
 public:
  int32_t Count() const { return static_cast<int32_t>(names_.size()); }
  bool Contains(int32_t index) const { return index >= 0 && index < Count(); }
  const std::string& operator[](int32_t index) const { return names_[index]; }
  const std::vector<std::string>& Names() const { return names_; }

  // Lowest index of a name equal to `name` ignoring case; -1 when none.
  int32_t Find(std::string_view name) const;

  // Appends without looking for an equal entry (a names file may hold
  // duplicates). Returns the new index.
  int32_t Append(std::string name);

  // The index of `name`, appending it when absent; `added` tells which.
  int32_t FindOrAdd(std::string_view name, bool& added);

  void Clear();

 private:
  std::vector<std::string> names_;
  std::unordered_map<std::string, int32_t> lowest_;  // upper-cased name -> lowest index
};

// A names file holds one name per line, so a line break inside a name would
// split it and shift every later index. Names get blanks in their place
// before they enter a list.
std::string NameWithoutLineBreaks(std::string_view name);

}  // namespace kestrel
