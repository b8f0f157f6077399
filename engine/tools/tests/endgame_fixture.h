// Tables generated once per test program into a scratch folder, shared by
// the tests that read them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "engine/tools/edb_generator.h"
#include "test_support/temp_dir.h"

namespace kestrel::testing {

// The folder holding the WDL and MTW tables of `gametype` up to `pieces`
// (generated on first use; 4 means all tables up to 3 and the 3-1 split).
inline const std::filesystem::path& GeneratedTables(int gametype, int pieces) {
  static TempDir dir;
  static std::map<std::pair<int, int>, bool> made;
  if (!made[{gametype, pieces}]) {
    for (bool mtw : {false, true}) {
      TEdbGenOptions o;
      o.gametype = gametype;
      o.root = dir.path();
      o.threads = 2;
      o.mtw = mtw;
      o.fullPieces = std::min(pieces, 3);
      EXPECT_TRUE(GenerateEndgameTables(o).ok);
      if (pieces == 4 && !mtw) {
        o.fullPieces = 0;
        o.splitStrong = 3;
        o.splitWeak = 1;
        EXPECT_TRUE(GenerateEndgameTables(o).ok);
      }
    }
    made[{gametype, pieces}] = true;
  }
  return dir.path();
}

}  // namespace kestrel::testing
