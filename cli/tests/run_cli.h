// Runs the built kestrel-cli with arguments and collects what it printed.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kestrel::testing {

struct CliOutput {
  int exitCode = -1;
  std::string out;
  std::string err;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

// `args` go to the shell as they are; stderr is captured through a temporary
// file. `program` is the built tool or a copy of it placed elsewhere.
inline CliOutput RunCliProgram(const std::string& program, const std::string& args) {
  static std::atomic<int> counter{0};
  const std::string errFile = ::testing::TempDir() + "kestrel_cli_err_" + std::to_string(::getpid()) + "_" +
                              std::to_string(counter++);
  const std::string command = program + " " + args + " 2>" + errFile;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  CliOutput result;
  std::array<char, 4096> buf;
  size_t n;
  while (pipe && (n = fread(buf.data(), 1, buf.size(), pipe.get())) > 0) result.out.append(buf.data(), n);
  const int status = pipe ? pclose(pipe.release()) : -1;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile, std::ios::binary);
  result.err.assign(std::istreambuf_iterator<char>(err), {});
  std::remove(errFile.c_str());
  return result;
}

inline CliOutput RunCliCommand(const std::string& args) { return RunCliProgram(KESTREL_CLI, args); }

}  // namespace kestrel::testing
