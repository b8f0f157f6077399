// kestrel-cli perft: the number of leaf nodes of the legal-move tree at each
// depth, capture routes to the same position counted once at every node.
#include <chrono>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command_registry.h"
#include "engine/bitboard_movegen.h"
#include "engine/bitboard_perft.h"
#include "formats/fen.h"
#include "rules/game_types.h"
#include "rules/notation.h"
#include "rules/perft.h"

namespace kestrel::cli {
namespace {

constexpr int MaxPerftDepth = 20;

struct TPerftOptions {
  std::string variant;
  int depth = 0;
  std::string fen;
  bool divide = false;
  std::string engine = "rules";
};

using TDivideLines = std::vector<std::pair<std::string, uint64_t>>;

// A move generator perft can count with. One that is not built in yet has
// no functions.
struct TPerftEngine {
  std::string_view name;
  std::function<uint64_t(const TFenPosition& position, int type, int depth)> count;
  // One line per distinct root move: its text and the leaf nodes below it.
  std::function<TDivideLines(const TFenPosition& position, int type, int depth)> divide;
};

uint64_t RulesCount(const TFenPosition& position, int type, int depth) {
  return Perft(position.board, position.firstMover, type, depth);
}

TDivideLines RulesDivide(const TFenPosition& position, int type, int depth) {
  TDivideLines lines;
  for (const auto& line : PerftDivide(position.board, position.firstMover, type, depth))
    lines.emplace_back(PlainMoveTextAt(line.move, position.board, position.firstMover, type), line.count);
  return lines;
}

uint64_t BitBoardCount(const TFenPosition& position, int type, int depth) {
  return BitBoardPerft(position.board, position.firstMover, type, depth);
}

// Root moves named by the rules-core move that reaches the same position; a
// position only the bitboard reaches is shown as "?".
TDivideLines BitBoardDivide(const TFenPosition& position, int type, int depth) {
  TDivideLines lines;
  for (const auto& line : BitBoardPerftDivide(position.board, position.firstMover, type, depth))
    lines.emplace_back(line.move.mv[0] == 0 ? std::string("?")
                                            : PlainMoveTextAt(line.move, position.board, position.firstMover, type),
                       line.count);
  return lines;
}

const std::vector<TPerftEngine>& PerftEngines() {
  static const std::vector<TPerftEngine> engines{
      {"rules", RulesCount, RulesDivide},
      {"bitboard", BitBoardCount, BitBoardDivide},
  };
  return engines;
}

int RunPerft(const TPerftOptions& o) {
  const auto type = ParseGameType(o.variant);
  if (!type) {
    std::cerr << "unknown variant " << o.variant << " (a name or a number 1.." << GameTypeCount << ")\n";
    return ExitBadInput;
  }
  if (o.depth < 1 || o.depth > MaxPerftDepth) {
    std::cerr << "--depth must be 1.." << MaxPerftDepth << "\n";
    return ExitBadInput;
  }
  const TPerftEngine* engine = nullptr;
  for (const auto& e : PerftEngines())
    if (e.name == o.engine) engine = &e;
  if (!engine) {
    std::cerr << "unknown engine " << o.engine << " (rules or bitboard)\n";
    return ExitBadInput;
  }
  if (!engine->count) {
    std::cerr << "the " << engine->name << " generator is not available\n";
    return ExitBadInput;
  }
  if (engine->name == "bitboard" && !HasBitBoardGenerator(*type)) {
    std::cerr << "the bitboard generator does not cover " << GameTypeNames[*type] << "; use --engine rules\n";
    return ExitBadInput;
  }
  TFenPosition position{InitialPosition(*type), TDColor::white};
  if (!o.fen.empty()) {
    std::string error;
    const auto read = ReadFEN(o.fen, *type, &error);
    if (!read) {
      std::cerr << "bad FEN: " << error << "\n";
      return ExitBadInput;
    }
    position = *read;
  }
  if (o.divide) {
    for (const auto& [move, count] : engine->divide(position, *type, o.depth)) std::cout << move << ' ' << count << '\n';
  }
  for (int d = 1; d <= o.depth; ++d) {
    const auto start = std::chrono::steady_clock::now();
    const uint64_t count = engine->count(position, *type, d);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::cout << "perft " << d << ' ' << count << ' ' << ms << std::endl;
  }
  return ExitOk;
}

const CommandRegistrar registrar("perft", [](CLI::App& app, int& exitCode) {
  auto options = std::make_shared<TPerftOptions>();
  auto* cmd = app.add_subcommand("perft", "Count the leaf nodes of the legal-move tree: perft DEPTH COUNT MILLISECONDS");
  cmd->add_option("--variant", options->variant, "Game type: a name in any case or a number 1..12")->required();
  cmd->add_option("--depth", options->depth, "Depth 1..20")->required();
  cmd->add_option("--fen", options->fen, "Start from this position instead of the start position");
  cmd->add_flag("--divide", options->divide, "First one line per root move: MOVE COUNT");
  cmd->add_option("--engine", options->engine, "Move generator: rules (default) or bitboard");
  cmd->callback([options, &exitCode] { exitCode = RunPerft(*options); });
});

}  // namespace
}  // namespace kestrel::cli
