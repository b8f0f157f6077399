// kestrel-cli hub: the engine behind the Hub protocol on stdin and stdout,
// for draughts GUIs and match programs. Only protocol lines go to stdout.
#include <iostream>
#include <string>

#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "engine/system_memory.h"
#include "protocols/hub_engine.h"

namespace kestrel::cli {
namespace {

int RunHub(uint64_t hashMb, int generation) {
  THubEngineSetup setup;
  setup.version = KESTREL_VERSION;
  setup.loadParams = [generation](int gametype, const std::string& evalFile, std::string& error) {
    // A variant the asked generation does not play gets its own default.
    const bool has = generation < 0 || (generation == EngineNew && HasNewEngine(gametype)) ||
                     (generation == EngineGen2 && HasGen2Engine(gametype)) || generation == EngineOld;
    return VariantEngineParams(gametype, has ? generation : -1, evalFile, error);
  };
  const uint64_t memoryMb = GetMemoryTotalPhys() >> 20;
  if (memoryMb >= 2) setup.maxHashMb = memoryMb / 2;
  setup.hashMb = std::min(hashMb, setup.maxHashMb);
  THubEngine hub(
      setup, [](const std::string& line) { std::cout << line << std::endl; },
      [](const std::string& line) { std::cerr << line << std::endl; });
  for (std::string line; std::getline(std::cin, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!hub.Handle(line)) break;
  }
  // End of input ends the session at once, even in the middle of a search.
  hub.StopSearch();
  return ExitOk;
}

const CommandRegistrar registrar("hub", [](CLI::App& app, int& exitCode) {
  auto hashMb = std::make_shared<uint64_t>(16);
  auto generation = std::make_shared<int>(-1);
  auto* cmd = app.add_subcommand("hub", "Run the engine under the Hub protocol (version 2) on stdin and stdout");
  cmd->add_option("--hash", *hashMb, "Transposition table size in MB until the GUI sets \"hash\"")
      ->check(CLI::Range(1, 1 << 20));
  cmd->add_option("--generation", *generation,
                  "Engine generation: 0 (Kestrel 2.11), 1 (Kestrel 3.0) or 2 (Kestrel 4); default: each variant's")
      ->check(CLI::Range(0, 2));
  cmd->callback([hashMb, generation, &exitCode] { exitCode = RunHub(*hashMb, *generation); });
});

}  // namespace
}  // namespace kestrel::cli
