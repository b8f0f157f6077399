// kestrel-cli egdb: endgame databases: generate, probe, verify, stats.
#include <atomic>
#include <bit>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <memory>
#include <string>

#include "app/settings/program_folder.h"
#include "cli/command_registry.h"
#include "engine/bitboard_movegen.h"
#include "engine/endgame/edb_tables.h"
#include "engine/endgame/endgame_cache.h"
#include "engine/tools/edb_generator.h"
#include "engine/tools/edb_verify.h"
#include "formats/fen.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

namespace fs = std::filesystem;

struct TEgdbOptions {
  std::string variant;
  std::string out;
  int pieces = 0;
  std::string split;
  int threads = 1;
  bool ranged = false;
  std::string fen;
};

// Tables are the user's own files: beside a portable program, in the data
// folder of an installed one.
fs::path Root(const TEgdbOptions& o) { return o.out.empty() ? RunningProgramFolders().data / "ED" : fs::path(o.out); }

std::optional<int> Variant(const TEgdbOptions& o) {
  const auto gametype = ParseGameType(o.variant);
  if (!gametype) {
    std::cerr << "unknown variant " << o.variant << "\n";
    return std::nullopt;
  }
  if (!HasBitBoardGenerator(*gametype)) {
    std::cerr << "no endgame databases for " << GameTypeNames[*gametype] << "\n";
    return std::nullopt;
  }
  return gametype;
}

std::atomic<bool> interrupted{false};

int RunGenerate(const TEgdbOptions& o) {
  const auto gametype = Variant(o);
  if (!gametype) return ExitBadInput;
  TEdbGenOptions g;
  g.gametype = *gametype;
  g.root = Root(o);
  g.threads = o.threads;
  g.mtw = o.ranged;
  if (!o.split.empty()) {
    int a = 0, b = 0;
    char dash = 0;
    std::istringstream in(o.split);
    if (!(in >> a >> dash >> b) || dash != '-' || !in.eof() || a < 1 || b < 1) {
      std::cerr << "--split wants A-B, for example 3-2\n";
      return ExitBadInput;
    }
    g.splitStrong = a;
    g.splitWeak = b;
  } else {
    g.fullPieces = o.pieces;
  }
  // Ctrl+C stops between steps; the tables finished so far stay whole.
  std::signal(SIGINT, [](int) { interrupted = true; });
  g.cancel = &interrupted;
  g.log = [](const std::string& line) { std::cerr << "\r\033[K" << line << "\n"; };
  g.progress = [](const std::string& step) { std::cerr << "\r\033[K" << step << std::flush; };
  const TEdbGenStats s = GenerateEndgameTables(g);
  std::cerr << "\r\033[K";
  if (!s.ok) {
    std::cerr << s.error << "\n";
    return ExitFailure;
  }
  std::cout << (s.cancelled ? "stopped" : "done") << " tables " << s.tablesSolved << " skipped " << s.tablesSkipped
            << " positions " << s.positions << " seconds " << s.seconds;
  if (o.ranged) std::cout << " max " << s.maxDistance << " " << s.maxPosition << " runout " << s.runout;
  std::cout << "\n";
  return s.cancelled ? ExitFailure : ExitOk;
}

int RunProbe(const TEgdbOptions& o) {
  const auto gametype = Variant(o);
  if (!gametype) return ExitBadInput;
  std::string error;
  const auto position = ReadFEN(o.fen, *gametype, &error);
  if (!position) {
    std::cerr << "bad FEN: " << error << "\n";
    return ExitBadInput;
  }
  TBitBoard64 pos;
  BoardToBit64(position->board, pos, *gametype);
  if (position->firstMover == TDColor::black) FlipBitBoard(pos, *gametype);
  if (CaptureMask(pos, *gametype) != 0) {
    std::cout << "no answer: a capture is pending\n";
    return ExitFailure;
  }
  TEndgameCache cache;
  cache.Configure(Root(o), 1024);
  cache.SetGameType(*gametype);
  cache.SetMessageSink([](const std::string& m) { std::cerr << m << "\n"; });
  const TEdbAnswer a = cache.Lookup(pos, *gametype);
  if (!a.found) {
    std::cout << "no answer: no table holds this position\n";
    return ExitFailure;
  }
  std::cout << "wdl " << (a.wdl > 0 ? "win" : a.wdl < 0 ? "loss" : "draw") << "\n";
  if (a.plies > 0) std::cout << "plies " << a.plies << "\n";
  return ExitOk;
}

int RunVerify(const TEgdbOptions& o) {
  const auto gametype = Variant(o);
  if (!gametype) return ExitBadInput;
  const TEdbVerifyStats s = VerifyEndgameTables(Root(o), *gametype, o.pieces, o.ranged, [](const std::string& t) {
    std::cerr << "\r\033[K" << t << std::flush;
  });
  std::cerr << "\r\033[K";
  if (!s.error.empty()) std::cerr << s.error << "\n";
  std::cout << "tables " << s.tables << " positions " << s.positions << " wrong " << s.wrong << " mismatched "
            << s.mismatched << "\n";
  if (!s.firstWrong.empty()) std::cout << "first wrong " << s.firstWrong << "\n";
  return s.ok ? ExitOk : ExitFailure;
}

int RunStats(const TEgdbOptions& o) {
  const auto gametype = Variant(o);
  if (!gametype) return ExitBadInput;
  for (bool mtw : {false, true}) {
    const fs::path folder = TableFolder(Root(o), *gametype, mtw);
    int files = 0;
    uint64_t bytes = 0, positions = 0;
    std::map<int, std::pair<int, uint64_t>> byPieces;
    const TEdbBoard board(*gametype);
    ForEachEndgameTable(*gametype, 2 * board.MaxMen(), [&](uint32_t number) {
      TEdbMaterial m;
      MaterialFromNumber(number, m);
      std::error_code ec;
      const auto size = fs::file_size(folder / TableFileName(m), ec);
      if (ec) return;
      ++files;
      bytes += size;
      positions += board.TableSize(m);
      auto& p = byPieces[m.Pieces()];
      ++p.first;
      p.second += size;
    });
    std::cout << (mtw ? "MTW" : "WDL") << " tables " << files << " positions " << positions << " bytes " << bytes
              << "\n";
    for (const auto& [n, p] : byPieces)
      std::cout << "  pieces " << n << " tables " << p.first << " bytes " << p.second << "\n";
  }
  return ExitOk;
}

const CommandRegistrar registrar("egdb", [](CLI::App& app, int& exitCode) {
  auto o = std::make_shared<TEgdbOptions>();
  auto* egdb = app.add_subcommand("egdb", "Endgame databases: generate, probe, verify, stats");
  egdb->require_subcommand(1);
  const auto common = [&](CLI::App* cmd) {
    cmd->add_option("--variant", o->variant, "Game type: name or number 1..12")->required();
    cmd->add_option("--out", o->out, "Endgame folder (default: ED in the program folder)");
  };
  auto* generate = egdb->add_subcommand("generate", "Solve and compress the tables");
  common(generate);
  auto* pieces = generate->add_option("--pieces", o->pieces, "Every table with 2 up to N pieces")
                     ->check(CLI::Range(2, 10));
  auto* split = generate->add_option("--split", o->split, "The tables of one split, e.g. 3-2");
  pieces->excludes(split);
  generate->add_option("--threads", o->threads, "Worker threads")->check(CLI::Range(1, 16));
  generate->add_flag("--ranged", o->ranged, "Distance (MTW) tables instead of WDL tables");
  generate->callback([o, &exitCode, pieces, split] {
    if (pieces->count() + split->count() == 0) {
      std::cerr << "give --pieces N or --split A-B\n";
      exitCode = ExitBadInput;
      return;
    }
    exitCode = RunGenerate(*o);
  });
  auto* probe = egdb->add_subcommand("probe", "The value of a position for the side to move");
  common(probe);
  probe->add_option("--fen", o->fen, "The position")->required();
  probe->callback([o, &exitCode] { exitCode = RunProbe(*o); });
  auto* verify = egdb->add_subcommand("verify", "Check every position of every table against its successors");
  common(verify);
  verify->add_option("--pieces", o->pieces, "Tables with 2 up to N pieces")->required()->check(CLI::Range(2, 10));
  verify->add_flag("--ranged", o->ranged, "Check the MTW tables instead of the WDL tables");
  verify->callback([o, &exitCode] { exitCode = RunVerify(*o); });
  auto* stats = egdb->add_subcommand("stats", "Tables present, their positions and sizes");
  common(stats);
  stats->callback([o, &exitCode] { exitCode = RunStats(*o); });
});

}  // namespace
}  // namespace kestrel::cli
