#include "database/name_list.h"

#include "database/ansi_case.h"

namespace kestrel {

int32_t TNameList::Find(std::string_view name) const {
  const auto it = lowest_.find(AnsiUpperCase(name));
  return it == lowest_.end() ? -1 : it->second;
}

int32_t TNameList::Append(std::string name) {
  const int32_t index = Count();
  lowest_.try_emplace(AnsiUpperCase(name), index);  // an earlier equal entry stays the one found
  names_.push_back(std::move(name));
  return index;
}

int32_t TNameList::FindOrAdd(std::string_view name, bool& added) {
  const std::string clean = NameWithoutLineBreaks(name);
  const int32_t found = Find(clean);
  added = found < 0;
  return added ? Append(clean) : found;
}

void TNameList::Clear() {
  names_.clear();
  lowest_.clear();
}

std::string NameWithoutLineBreaks(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace kestrel
