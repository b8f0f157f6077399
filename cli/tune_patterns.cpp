#include "cli/tune_patterns.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/match/engine_player.h"
#include "app/match/match_game.h"
#include "app/play/result_detection.h"
#include "app/tuning/self_play.h"
#include "app/settings/atomic_file.h"
#include "app/settings/program_folder.h"
#include "cli/command_registry.h"
#include "cli/engine_setup.h"
#include "database/code_page.h"
#include "engine/bitboard_movegen.h"
#include "engine/gen2/gen2_eval.h"
#include "engine/gen2/gen2_tune.h"
#include "engine/packed_board.h"
#include "engine/score_text.h"
#include "formats/pdn_writer.h"
#include "formats/pdn_game_reader.h"
#include "formats/pdn_source.h"
#include "game/move_tree.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel::cli {
namespace {

namespace fs = std::filesystem;

// The main line of every PDN game of the variant with a result, as a game
// the runner could have played.
bool ReadGames(const std::string& path, int gametype, std::vector<TPlayedGame>& out, int& skipped) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << path << '\n';
    return false;
  }
  TPdnSource source(in);
  TPdnRawGame raw;
  while (source.Next(raw)) {
    TGame game;
    const TPdnGameReport report = ReadPdnGame(raw, gametype, game);
    TPlayedGame played;
    if (!report.complete || game.Header.TypeOfGame != gametype || game.Header.Result == ResultUnknown ||
        !UnpackBoard(game.StartBoard, played.opening.board.b)) {
      ++skipped;
      continue;
    }
    played.opening.side = game.Header.FirstMove;
    played.result = game.Header.Result;
    // A move commented "score/depth - seconds" (as matches and --save-games
    // write them) carries its search's score. The moves before the first
    // such move are the game's opening; the scores are kept only when every
    // later move has one, since they are read by move number.
    std::vector<TMove> moves;
    std::vector<int> scores;
    size_t first = std::string::npos;
    bool scored = true;
    for (int slot = FirstChild(game, 0); slot > 0; slot = FirstChild(game, slot)) {
      const std::string comment = slot < static_cast<int>(game.CommentsAft.size()) ? game.CommentsAft[slot] : "";
      int score = 0;
      const bool hasScore = ReadScoreText(std::string_view(comment).substr(0, comment.find('/')), score);
      if (hasScore && first == std::string::npos) first = moves.size();
      scored = scored && (hasScore || first == std::string::npos);
      moves.push_back(game.Moves[slot]);
      scores.push_back(score);
    }
    if (scored && first != std::string::npos) {
      played.opening.moves.assign(moves.begin(), moves.begin() + static_cast<std::ptrdiff_t>(first));
      played.moves.assign(moves.begin() + static_cast<std::ptrdiff_t>(first), moves.end());
      played.scores.assign(scores.begin() + static_cast<std::ptrdiff_t>(first), scores.end());
    } else {
      played.moves = std::move(moves);
    }
    out.push_back(std::move(played));
  }
  return true;
}

std::unique_ptr<TMatchPlayer> Kestrel4Player(const TEngineParams& params) {
  return std::make_unique<TEnginePlayer>("gen2", params, 8);
}

}  // namespace

std::string WeightText(double w) {
  char text[32];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, w);
    if (std::strtod(text, nullptr) == w) break;
  }
  return text;
}

void AddPatternTuneOptions(CLI::App* cmd, TPatternTuneArgs& a) {
  cmd->add_option("--games-file", a.gamesFiles, "Generation 2: learn from the games of this PDN file instead of self-play (repeatable)");
  cmd->add_option("--out-weights", a.out, "Generation 2: weights file to write (default: the program's Patterns/<Variant>.k4w)");
  cmd->add_option("--start-weights", a.start, "Generation 2: weights to start from and to play the self-play games with (default: material only, games with the engine file)");
  cmd->add_option("--skip-plies", a.skipPlies, "Generation 2: opening plies not learnt from (default 8)");
  cmd->add_option("--save-games", a.saveGames, "Generation 2: PDN file that receives the self-play games, with their search scores (read back by --games-file)");
  cmd->add_option("--hold-out", a.holdOut, "Generation 2: every Nth game is not fitted but chooses the epoch whose weights are kept (0: none)");
  cmd->add_option("--material-pull", a.materialPull, "Generation 2: pull of the men and king weights towards their start values");
  cmd->add_flag("--kings-over-men", a.kingsOverMen, "Generation 2: keep a king's weight at least a man's in both phases");
  cmd->add_option("--family", a.family, "Generation 2: regions of the weights: diamonds (default), blocks or blocks+diamonds");
  cmd->add_option("--min-count", a.minCount, "Generation 2: region states seen in fewer positions keep their start weights");
  cmd->add_option("--base", a.base, "Generation 2: none (default), or engine-file: the weights add to the engine file's evaluation and learn what it misses");
}

int RunPatternTune(const TPatternTuneArgs& a) {
  const auto type = ParseGameType(a.variant);
  if (!type || !HasBitBoardGenerator(*type)) {
    std::cerr << "Kestrel 4 does not play " << a.variant << '\n';
    return ExitBadInput;
  }
  const int family = gen2::FamilyOfName(a.family);
  if (a.epochs < 1 || a.skipPlies < 0 || a.games < 2 || a.depth < 1 || a.holdOut < 0 || a.holdOut == 1 ||
      !(a.materialPull >= 0) || !(a.scoreWeight >= 0 && a.scoreWeight <= 1) || family < 0 || a.minCount < 0 ||
      (a.base != "none" && a.base != "engine-file")) {
    std::cerr << "--epochs at least 1, --skip-plies not negative, --games at least 2, --depth at least 1, "
                 "--hold-out 0 or at least 2, --material-pull not negative, --score-weight 0 to 1, "
                 "--family diamonds, blocks or blocks+diamonds, --min-count not negative, "
                 "--base none or engine-file\n";
    return ExitBadInput;
  }
  const bool onEngineFile = a.base == "engine-file";
  gen2::TPatternWeights start = gen2::TPatternWeights::Plain(*type, family);
  std::string error;
  if (!a.start.empty() && (!gen2::ReadWeights(a.start, start, error) || start.gametype != *type)) {
    std::cerr << (error.empty() ? a.start + " holds weights of another variant" : error) << '\n';
    return ExitBadInput;
  }
  if (!a.start.empty() && start.onEngineFile != onEngineFile) {
    std::cerr << a.start << (onEngineFile ? " does not add to" : " adds to")
              << " the engine file's evaluation: give --base " << (onEngineFile ? "none" : "engine-file") << '\n';
    return ExitBadInput;
  }
  if (a.start.empty() && onEngineFile) {
    start.term = {};  // the engine file scores the material
    start.onEngineFile = true;
  }
  // Weights of another family start the regions both have.
  if (start.family != family) start = gen2::WithFamily(start, family);
  auto params = VariantEngineParams(*type, EngineGen2, "", error);
  if (!params) {
    std::cerr << error << '\n';
    return ExitBadInput;
  }
  std::vector<TPlayedGame> games;
  int skipped = 0;
  for (const std::string& file : a.gamesFiles)
    if (!ReadGames(file, *type, games, skipped)) return ExitBadInput;
  if (a.gamesFiles.empty()) {
    // The games are played with the start weights only (or, without them,
    // the engine file), never the program's current weights, so that the
    // same command makes the same file again.
    params->PatternWeights = a.start;
    TSelfPlaySettings play;
    play.gametype = *type;
    play.games = a.games;
    play.depth = a.depth;
    play.seed = a.seed;
    play.openingPlies = a.openingPlies;
    play.concurrency = std::max(1, a.concurrency);
    const auto shared = std::make_shared<const TEngineParams>(*params);
    games = PlaySelfPlayGames({"gen2", [shared] { return Kestrel4Player(*shared); }}, play, [](int done, int total) {
      if (done % 100 == 0 || done == total) std::cerr << "games " << done << " of " << total << std::endl;
    });
    if (!a.saveGames.empty()) {
      std::string text;
      for (const TPlayedGame& g : games) text += AnsiToUtf8(PDNGameText(GameOfPlayed(g, *type)));
      if (!WriteFileAtomically(a.saveGames, text, &error)) {
        std::cerr << "cannot write " << a.saveGames << ": " << error << '\n';
        return ExitFailure;
      }
    }
  }
  TLabelOptions label;
  label.skipPlies = a.skipPlies;
  std::vector<gen2::TLabelledPosition> positions;
  // What the search will add the weights to.
  const gen2::TEvaluator engineFile(params->EvalFunc, nullptr, *type);
  for (const TTrainingPosition& t : LabelPositions(games, *type, label)) {
    TBitBoard64 pos;
    BoardToBit64(t.board, pos, *type);
    if (t.side == TDColor::black) FlipBitBoard(pos, *type);
    const int base = onEngineFile ? std::clamp(engineFile(pos, 0), -EvalMaxScore, EvalMaxScore) : 0;
    positions.push_back({pos, t.target, t.scored, t.score, t.game, base});
  }
  if (positions.empty()) {
    std::cerr << "no positions: " << games.size() << " games read, " << skipped
              << " skipped (other variant, no result or damaged)\n";
    return ExitFailure;
  }
  gen2::TFitOptions options;
  options.seed = a.seed;
  options.epochs = a.epochs;
  options.scoreWeight = a.scoreWeight;
  if (a.l2 >= 0) options.l2 = a.l2;
  options.materialPull = a.materialPull;
  options.kingsOverMen = a.kingsOverMen;
  options.holdOut = a.holdOut;
  options.minCount = a.minCount;
  gen2::TFitReport report;
  const gen2::TPatternWeights tuned =
      gen2::FitPatternWeights(positions, start, options, report, [](int epoch, double loss) {
        std::fprintf(stderr, "epoch %d loss %.6f\n", epoch, loss);
        return true;
      });
  const fs::path out = a.out.empty() ? gen2::DefaultWeightsPath(ProgramFolder(), *type) : fs::path(a.out);
  std::error_code ec;
  if (out.has_parent_path()) fs::create_directories(out.parent_path(), ec);
  // The file says how to make it again.
  std::string made = "# made by: kestrel-cli tune --generation 2 --variant " + std::string(GameTypeNames[*type]);
  for (const std::string& file : a.gamesFiles) made += " --games-file " + fs::path(file).filename().string();
  if (a.gamesFiles.empty())
    made += " --games " + std::to_string(a.games) + " --depth " + std::to_string(a.depth) + " --opening-plies " +
            std::to_string(a.openingPlies);
  if (!a.start.empty()) made += " --start-weights " + fs::path(a.start).filename().string();
  made += " --seed " + std::to_string(a.seed) + " --epochs " + std::to_string(a.epochs) + " --skip-plies " +
          std::to_string(a.skipPlies);
  // Options added later appear only when used, so that the files made
  // before them carry the same line (and the same bytes) as ever.
  if (a.scoreWeight > 0) made += " --score-weight " + WeightText(a.scoreWeight);
  if (a.l2 >= 0) made += " --l2 " + WeightText(a.l2);
  if (a.materialPull > 0) made += " --material-pull " + WeightText(a.materialPull);
  if (a.kingsOverMen) made += " --kings-over-men";
  if (a.holdOut > 0) made += " --hold-out " + std::to_string(a.holdOut);
  if (family != gen2::familyDiamonds) made += " --family " + a.family;
  if (a.minCount > 0) made += " --min-count " + std::to_string(a.minCount);
  if (onEngineFile) made += " --base engine-file";
  made += "\n";
  made += "# positions " + std::to_string(report.positions) + ", loss " + std::to_string(report.lossBefore) + " -> " +
          std::to_string(report.lossAfter) + "\n";
  if (a.holdOut > 0)
    made += "# held out " + std::to_string(report.heldOut) + ", loss " + std::to_string(report.heldOutLoss) +
            " after epoch " + std::to_string(report.bestEpoch) + "\n";
  if (!WriteFileAtomically(out, made + gen2::WeightsText(tuned), &error)) {
    std::cerr << "cannot write " << out.string() << ": " << error << '\n';
    return ExitFailure;
  }
  std::printf("games %zu skipped %d positions %zu k %.6f loss %.6f -> %.6f\n", games.size(), skipped, report.positions,
              report.k, report.lossBefore, report.lossAfter);
  std::cout << "wrote " << out.string() << '\n';
  return ExitOk;
}

}  // namespace kestrel::cli
