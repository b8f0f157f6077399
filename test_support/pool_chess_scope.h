// Sets the Pool chess-names display option for one scope and puts the old
// value back, so that the tests after it see the setting as it was.
#pragma once

#include "rules/notation.h"

namespace kestrel::testing {

class PoolChessScope {
 public:
  explicit PoolChessScope(bool on) : saved_(PoolChessNotation) { PoolChessNotation = on; }
  ~PoolChessScope() { PoolChessNotation = saved_; }
  PoolChessScope(const PoolChessScope&) = delete;
  PoolChessScope& operator=(const PoolChessScope&) = delete;

 private:
  bool saved_;
};

}  // namespace kestrel::testing
