// kestrel-cli match: engine files of one variant play each other, two games
// per opening with colours exchanged, several games at once.
//   match --variant V --engine A.eng --engine B.eng [--engine C.eng ...]
//         (an engine may be hub:"COMMAND", an external engine speaking Hub,
//         gen1, gen2, gen2:WEIGHTS, gen2@SETTINGS or gen2:WEIGHTS@SETTINGS)
//         (--games N | --sprt ELO0,ELO1) [--time MS | --tc MOVES/SECONDS+INC]
//         [--depth D] [--concurrency K] [--openings DB.abd | --ballots 2move|full]
//         [--seed S] [--pdn OUT.pdn] [--db OUT.abd] [--adjudicate [--edb DIR]] [--max-moves N] [--hash MB]
// A line per finished game, then "score W D L  elo E +- X  los P%" of the
// first engine against the second, the same of the pairs of games
// ("pairs N0 N1 N2 N3 N4 ..."), the SPRT line when asked, and the round
// robin table for more than two engines. Ctrl+C (or SIGTERM) stops the match:
// games in play are dropped, the finished ones are counted and saved.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>

#include "app/settings/atomic_file.h"
#include "app/match/endgame_adjudicator.h"
#include "app/match/engine_player.h"
#include "app/match/hub_player.h"
#include "app/match/match_cli_options.h"
#include "app/match/match_runner.h"
#include "app/settings/program_folder.h"
#include "cli/command_registry.h"
#include "database/code_page.h"
#include "cli/engine_setup.h"
#include "database/database_file.h"
#include "database/db_error.h"
#include "database/game_io.h"
#include "engine/endgame/edb_tables.h"
#include "engine/engine_params.h"
#include "engine/gen2/gen2_patterns.h"
#include "engine/gen2/gen2_search_shape.h"
#include "formats/pdn_writer.h"
#include "rules/game_types.h"

namespace kestrel::cli {
namespace {

constexpr const char* HubEnginePrefix = "hub:";
constexpr const char* Gen2EnginePrefix = "gen2";

namespace fs = std::filesystem;

// The PDN file is rewritten whole this often, so a match cut off by a crash
// or a kill loses at most this much of its games.
constexpr std::chrono::seconds PdnSaveInterval{30};

// Set by SIGINT / SIGTERM; the handler then restores the default action, so
// a second Ctrl+C ends the program at once.
std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int sig) {
  interrupted = true;
  std::signal(sig, SIG_DFL);
}

struct TMatchArgs {
  std::string variant;
  std::vector<std::string> engines;
  int games = 0;
  std::string sprt;
  int64_t timeMs = 0;
  std::string tc;
  int depth = 0;
  int concurrency = 1;
  std::string openings;
  std::string ballots;
  uint64_t seed = DefaultOpeningSeed;
  std::string pdn;
  std::string db;
  bool adjudicate = false;
  std::string edb;
  int maxMoves = 0;
  int hash = 0;
};

const char* ResultText(uint8_t result) {
  switch (result) {
    case 1:
    case 4: return "1-0";
    case 3:
    case 5: return "0-1";
    case 2: return "1/2-1/2";
    default: return "*";
  }
}

// Closes the save database whatever ends the run.
struct TSaveDatabase {
  TKestrelDB db;
  ~TSaveDatabase() {
    try {
      CloseDatabase(db);
    } catch (...) {
    }
  }
};

int RunMatchCommand(const TMatchArgs& a) {
  const auto type = ParseGameType(a.variant);
  if (!type) {
    std::cerr << "unknown variant " << a.variant << '\n';
    return ExitBadInput;
  }
  if (a.engines.size() < 2) {
    std::cerr << "a match needs at least two --engine files\n";
    return ExitBadInput;
  }
  std::string error;
  TMatchOptions options;
  options.game.gametype = *type;
  if (!ParseTimeOptions(a.timeMs, a.tc, a.depth, options.game.time, error)) {
    std::cerr << error << '\n';
    return ExitBadInput;
  }
  std::optional<TSprt> sprt;
  if (!a.sprt.empty()) {
    sprt = ParseSprt(a.sprt, error);
    if (!sprt) {
      std::cerr << error << '\n';
      return ExitBadInput;
    }
    if (a.engines.size() != 2) {
      std::cerr << "--sprt compares exactly two engines\n";
      return ExitBadInput;
    }
  }
  if (a.games <= 0 && !sprt) {
    std::cerr << "give --games N or --sprt ELO0,ELO1\n";
    return ExitBadInput;
  }
  options.sprt = sprt;
  // An SPRT runs until it decides, within --games when given.
  options.gamesPerPair = a.games > 0 ? a.games : 100000;
  options.concurrency = std::max(a.concurrency, 1);
  if (a.maxMoves > 0) options.game.maxPlies = 2 * a.maxMoves;
  else if (a.adjudicate) options.game.maxPlies = 2 * DefaultAdjudicationMoves;
  // Endgame tables of the program's "ED" folder (or --edb) decide the
  // positions they know; without them only the move limit applies.
  TEndgameCache tables;
  if (a.adjudicate) {
    const fs::path root = a.edb.empty() ? EndgameRoot(ProgramFolder(), "") : fs::path(a.edb);
    if (HasEndgameTables(root, *type)) {
      tables.Configure(root, 256);
      tables.SetGameType(*type);
      tables.SetMessageSink([](const std::string& text) { std::cerr << text << '\n'; });
      options.game.adjudicate = EndgameAdjudicator(tables);
      std::cerr << "endgame tables: " << root.string() << '\n';
    } else {
      std::cerr << "no endgame tables of " << GameTypeNames[*type] << " in " << root.string()
                << ": only the move limit adjudicates\n";
    }
  } else if (!a.edb.empty()) {
    std::cerr << "--edb needs --adjudicate\n";
    return ExitBadInput;
  }

  if (!a.openings.empty() && !a.ballots.empty()) {
    std::cerr << "give --openings or --ballots, not both\n";
    return ExitBadInput;
  }
  if (!a.openings.empty() || !a.ballots.empty()) {
    std::string path = a.openings;
    if (!a.ballots.empty()) {
      const fs::path ballots = BallotDatabasePath(ProgramFolder(), *type, a.ballots, error);
      if (ballots.empty()) {
        std::cerr << error << '\n';
        return ExitBadInput;
      }
      path = ballots.string();
    }
    auto read = DatabaseOpenings(path, error);
    if (!read) {
      std::cerr << error << '\n';
      return ExitBadInput;
    }
    options.openings = std::move(*read);
  } else {
    options.openings = RandomOpenings(*type, std::max(1, (options.gamesPerPair + 1) / 2), 4, a.seed);
  }

  // Engines: each file read once; every game gets players of its own.
  std::vector<TMatchEntry> entries;
  std::map<std::string, int> names;
  const uint64_t hash = a.hash > 0 ? a.hash : (TEnginePlayer::IsShallow(a.depth) ? 1 : 8);
  for (const std::string& file : a.engines) {
    // An external engine: hub:"COMMAND LINE".
    if (file.rfind(HubEnginePrefix, 0) == 0) {
      const std::string command = file.substr(std::string_view(HubEnginePrefix).size());
      if (command.empty()) {
        std::cerr << "hub: needs the engine's command line\n";
        return ExitBadInput;
      }
      // Tried once first: the runner cannot say why a player fails to start.
      if (THubPlayer probe(command, ""); !probe.NewGame(*type, error)) {
        std::cerr << error << '\n';
        return ExitFailure;
      }
      std::string name = HubCommandName(command);
      if (const int seen = names[name]++; seen > 0) name += "#" + std::to_string(seen + 1);
      entries.push_back({name, [name, command] { return std::make_unique<THubPlayer>(command, name); }});
      continue;
    }
    // gen1, gen2 and gen2:WEIGHTS name a generation with the variant's own
    // files; gen2...@SETTINGS changes Kestrel 4's search.
    std::optional<TEngineParams> params;
    std::string name;
    if (file == "gen1") {
      params = VariantEngineParams(*type, EngineNew, "", error);
      name = "gen1";
    } else if (file.rfind(Gen2EnginePrefix, 0) == 0 && (file.size() == 4 || file[4] == ':' || file[4] == '@')) {
      const size_t at = file.rfind('@');
      const std::string settings = at == std::string::npos ? "" : file.substr(at + 1);
      const std::string weightsText = file.substr(0, at).size() > 5 ? file.substr(5, at - 5) : "";
      gen2::TSearchShape shape;
      if (at != std::string::npos && (settings.empty() || !gen2::ParseSearchShape(settings, shape, error))) {
        std::cerr << file << ": " << (settings.empty() ? "nothing after @" : error) << '\n';
        return ExitBadInput;
      }
      params = VariantEngineParams(*type, EngineGen2, "", error);
      name = "gen2";
      if (params) params->SearchSettings = settings;
      if (params && !weightsText.empty()) {
        const fs::path weights = weightsText;
        gen2::TPatternWeights check;
        if (!gen2::ReadWeights(weights, check, error)) {
          std::cerr << error << '\n';
          return ExitBadInput;
        }
        if (check.gametype != *type) {
          std::cerr << weights.string() << " holds weights of another variant\n";
          return ExitBadInput;
        }
        params->PatternWeights = weights;
        name = "gen2-" + weights.stem().string();
      } else if (params && params->PatternWeights.empty()) {
        std::cerr << "warning: no Kestrel 4 weights for " << GameTypeNames[*type]
                  << ", it evaluates with the engine file\n";
      }
      if (!settings.empty()) name += "@" + settings;
    } else {
      // An engine file plays with Kestrel 3.0, the generation that evaluates
      // with it: Kestrel 4 would play with the variant's pattern weights and
      // leave the file unused, so two files would play the same games.
      params = VariantEngineParams(*type, HasNewEngine(*type) ? EngineNew : -1, file, error);
      name = fs::path(file).stem().string();
    }
    if (!params) {
      std::cerr << error << '\n';
      return ExitBadInput;
    }
    if (const int seen = names[name]++; seen > 0) name += "#" + std::to_string(seen + 1);
    auto shared = std::make_shared<const TEngineParams>(std::move(*params));
    entries.push_back({name, [name, shared, hash] { return std::make_unique<TEnginePlayer>(name, *shared, hash); }});
  }

  TSaveDatabase save;
  if (!a.db.empty()) {
    const TOpenResult r = OpenOrCreateDatabase(a.db, save.db, [](std::string_view) { return true; });
    if (!r.ok()) {
      std::cerr << "cannot open or create " << a.db << (r.message.empty() ? "" : ": " + r.message) << '\n';
      return ExitFailure;
    }
  }
  std::string pdnText;
  bool saveFailed = false;  // the database
  bool pdnFailed = false;
  std::atomic<bool>& stop = interrupted;
  stop = false;
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);

  const auto started = std::chrono::steady_clock::now();
  auto pdnSaved = started;
  const auto savePdn = [&] {
    if (WriteFileAtomically(a.pdn, pdnText, &error)) return true;
    std::cerr << "cannot write " << a.pdn << ": " << error << '\n';
    pdnFailed = true;
    return false;
  };
  const TMatchSummary summary = RunMatch(
      entries, options,
      [&](const TFinishedGame& g, const TMatchSummary& s) {
        const TMatchScore first = s.scores[0][1];
        std::printf("game %d  %s - %s  %s  (%s, %zu plies)  %d %d %d\n", g.number, entries[g.white].name.c_str(),
                    entries[g.black].name.c_str(), ResultText(g.played.result), GameEndText(g.played.end),
                    g.played.moves.size(), first.wins, first.draws, first.losses);
        std::fflush(stdout);
        if (a.pdn.empty() && a.db.empty()) return;
        TGame game = GameOfPlayed(g.played, *type);
        game.Tournament = "Match " + entries[0].name + " - " + entries[1].name;
        game.Header.Round = g.opening + 1;
        game.Header.Subround = (g.number - 1) % 2 + 1;  // the schedule pairs the games in turn
        if (!a.pdn.empty()) {
          pdnText += AnsiToUtf8(PDNGameText(game));
          if (const auto now = std::chrono::steady_clock::now(); now - pdnSaved >= PdnSaveInterval) {
            pdnSaved = now;
            if (!savePdn()) stop = true;
          }
        }
        if (!a.db.empty() && !saveFailed) {
          try {
            WriteDBGame(game, 0, save.db, false);
          } catch (const std::exception& e) {
            std::cerr << "cannot save to " << a.db << ": " << e.what() << '\n';
            saveFailed = true;
            stop = true;
          }
        }
      },
      &stop);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  if (!a.pdn.empty() && !pdnFailed) savePdn();
  if (summary.stopped && !saveFailed && !pdnFailed)
    std::cerr << "match stopped: the " << summary.gamesPlayed << " games finished are counted"
              << (a.pdn.empty() && a.db.empty() ? "" : " and saved") << '\n';
  if (!summary.failure.empty()) {
    std::cerr << "match ended: a player failed to start: " << summary.failure << '\n';
    return ExitFailure;
  }
  if (entries.size() == 2) {
    std::cout << ScoreLine(summary.scores[0][1]) << '\n';
    if (summary.pairs.Pairs() > 0) std::cout << PairsLine(summary.pairs) << '\n';
    if (sprt) std::cout << SprtLine(*sprt, summary.scores[0][1]) << '\n';
  } else {
    std::cout << RoundRobinTable(entries, summary);
  }
  // The clock check of a time control: a sound time plan loses no game on time.
  if (options.game.time.timeMs > 0) std::cout << "losses on time " << summary.timeLosses << '\n';
  std::fprintf(stderr, "%d games in %.1f s, %.1f games/s\n", summary.gamesPlayed, seconds,
               seconds > 0 ? summary.gamesPlayed / seconds : 0.0);
  return saveFailed || pdnFailed ? ExitFailure : ExitOk;
}

const CommandRegistrar registrar("match", [](CLI::App& app, int& exitCode) {
  auto* cmd = app.add_subcommand("match", "Engine files play each other; results, Elo and SPRT");
  static TMatchArgs a;
  cmd->add_option("--variant", a.variant, "Variant name or number")->required();
  cmd->add_option("--engine", a.engines,
                  "Engine file, gen1, gen2 or gen2:WEIGHTS (Kestrel 4 with a weights file), or hub:\"COMMAND\" for "
                  "an external Hub engine (twice or more). gen2@SETTINGS or gen2:WEIGHTS@SETTINGS changes Kestrel 4's "
                  "search, SETTINGS being KEY=VALUE,... of:\n" + gen2::SearchShapeKeys())->required();
  cmd->add_option("--games", a.games, "Games per pair of engines (with --sprt: at most)");
  cmd->add_option("--sprt", a.sprt, "ELO0,ELO1: stop when the test decides (alpha = beta = 0.05)");
  cmd->add_option("--time", a.timeMs, "Milliseconds per move");
  cmd->add_option("--tc", a.tc, "Clock: MOVES/SECONDS+INC, MOVES 0 or left out for the whole game");
  cmd->add_option("--depth", a.depth, "Deepest iteration");
  cmd->add_option("--concurrency", a.concurrency, "Games played at once");
  cmd->add_option("--openings", a.openings, "Database whose games are the openings");
  cmd->add_option("--ballots", a.ballots, "Ballot openings of the program folder: 2move or full");
  cmd->add_option("--seed", a.seed, "Seed of the random 4-ply openings");
  cmd->add_option("--pdn", a.pdn, "PDN file that receives every game");
  cmd->add_option("--db", a.db, "Database that receives every game (created when missing)");
  cmd->add_flag("--adjudicate", a.adjudicate, "Adjudicate by endgame tables and a move limit");
  cmd->add_option("--edb", a.edb, "Endgame table folder for --adjudicate (default: the program's ED folder)");
  cmd->add_option("--max-moves", a.maxMoves, "Draw after this many moves of the game");
  cmd->add_option("--hash", a.hash, "Megabytes of each engine's table");
  cmd->callback([&exitCode] { exitCode = RunMatchCommand(a); });
});

}  // namespace
}  // namespace kestrel::cli
