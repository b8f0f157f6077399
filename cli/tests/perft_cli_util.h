// kestrel-cli perft as the perft tests run it: exit code, output lines and
// the error text.
#pragma once

#include <string>
#include <vector>

#include "run_cli.h"

namespace kestrel::testing {

struct CliRun {
  int exitCode = -1;
  std::vector<std::string> out;
  std::string err;
};

inline CliRun Perft(const std::string& args) {
  const auto r = RunCliCommand("perft " + args);
  return {r.exitCode, r.Lines(), r.err};
}

}  // namespace kestrel::testing
