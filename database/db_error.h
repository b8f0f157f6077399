// Input/output failures of database files, raised to the user action that
// caused them.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrel {

class TDatabaseError : public std::runtime_error {
 public:
  explicit TDatabaseError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace kestrel
