// kestrel-cli dxp: the engine plays International draughts against another
// program over the DamExchange Protocol, as server or as client.
#include <cmath>
#include <iostream>
#include <string>

#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "formats/pdn_tags.h"
#include "protocols/dxp_player.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

struct TDxpOptions {
  int port = DxpDefaultPort;
  std::string connect;
  double secondsPerMove = 0;
  int games = 1;
  int minutes = 0;
  bool listenAll = false;
  std::string evalFile;
  uint64_t hashMb = 16;
  int generation = -1;
};

int RunDxp(const TDxpOptions& o) {
  const auto params = CommandEngineParams(gtInternational, o.generation, o.evalFile);
  if (!params) return ExitBadInput;
  TEngine engine(0);
  if (!AllocateHash(engine, o.hashMb)) return ExitFailure;
  std::string error;
  std::optional<TSocket> socket;
  if (!o.connect.empty()) {
    const size_t colon = o.connect.rfind(':');
    std::string host = o.connect.substr(0, colon);
    int port = DxpDefaultPort;
    if (colon != std::string::npos) {
      try {
        port = std::stoi(o.connect.substr(colon + 1));
      } catch (const std::exception&) {
        port = -1;
      }
      if (port <= 0 || port > 65535) {
        std::cerr << "bad port in " << o.connect << "\n";
        return ExitBadInput;
      }
    }
    socket = ConnectTcp(host, port, error);
    if (!socket) {
      std::cerr << error << "\n";
      return ExitFailure;
    }
    std::cout << "connected to " << host << ":" << port << std::endl;
  } else {
    const auto listener = ListenTcp(o.port, o.listenAll, error);
    if (!listener) {
      std::cerr << error << "\n";
      return ExitFailure;
    }
    std::cout << "listening on " << (o.listenAll ? "*" : "127.0.0.1") << ":" << BoundPort(*listener) << std::endl;
    socket = AcceptTcp(*listener, -1, error);
    if (!socket) {
      std::cerr << error << "\n";
      return ExitFailure;
    }
    std::cout << "connected" << std::endl;
  }
  TDxpConnection connection(std::move(*socket));
  TDxpPlayerSetup setup;
  setup.secondsPerMove = o.secondsPerMove;
  setup.engine = &engine;
  setup.params = &*params;
  setup.log = [](const std::string& line) { std::cout << line << std::endl; };
  setup.gameEnded = [](int, uint8_t result) { std::cout << "game end " << PdnResultText(result, 0) << std::endl; };
  TDxpPlayer player(connection, setup);
  // Without a time per move the game time covers about 75 moves.
  const int minutes = o.minutes > 0 ? o.minutes
                                    : std::max(1, static_cast<int>(std::ceil(o.secondsPerMove * 75 / 60)));
  const bool ok = o.connect.empty() ? player.RunFollower() : player.RunInitiator(o.games, minutes);
  return ok ? ExitOk : ExitFailure;
}

const CommandRegistrar registrar("dxp", [](CLI::App& app, int& exitCode) {
  auto o = std::make_shared<TDxpOptions>();
  auto* cmd = app.add_subcommand(
      "dxp",
      "Play International draughts over the DamExchange Protocol (DXP). Without --connect the engine waits for one "
      "connection on 127.0.0.1 (every interface only with --listen-all) and plays the games the peer asks for; with "
      "--connect it asks for --games games, alternating colours. The log ends each game with \"game end RESULT\".");
  cmd->add_option("--port", o->port, "Port to listen on (0: any free port)")->check(CLI::Range(0, 65535));
  cmd->add_option("--connect", o->connect, "HOST:PORT of the peer to connect to");
  cmd->add_option("--time", o->secondsPerMove, "Search time per move in seconds (default: from the game time)")
      ->check(CLI::Range(0.01, 3600.0));
  cmd->add_option("--games", o->games, "Games to ask for as client")->check(CLI::Range(1, 10000));
  cmd->add_option("--minutes", o->minutes, "Game time in minutes per player sent in the game request")
      ->check(CLI::Range(1, 999));
  cmd->add_flag("--listen-all", o->listenAll, "Accept connections on every network interface, not only 127.0.0.1");
  cmd->add_option("--eval", o->evalFile, "Engine parameter file (default: International's own)");
  cmd->add_option("--hash", o->hashMb, "Transposition table size in MB")->check(CLI::Range(1, 1 << 20));
  cmd->add_option("--generation", o->generation,
                  "Engine generation: 0 (Kestrel 2.11), 1 (Kestrel 3.0) or 2 (Kestrel 4); default: International's")
      ->check(CLI::Range(0, 2));
  cmd->callback([o, &exitCode] { exitCode = RunDxp(*o); });
});

}  // namespace
}  // namespace kestrel::cli
