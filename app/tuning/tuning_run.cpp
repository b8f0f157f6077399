#include "app/tuning/tuning_run.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/match/engine_player.h"
#include "app/play/result_detection.h"
#include "app/settings/atomic_file.h"
#include "engine/tuning/eval_features.h"
#include "rules/game_types.h"

namespace kestrel {

TTuneOutcome RunTuning(const TTuneSettings& s, const std::function<void(const std::string&)>& log,
                       std::atomic<bool>* stop) {
  const auto say = [&](const std::string& line) {
    if (log) log(line);
  };
  TTuneOutcome out;
  TEngineParams params;
  params.Engine = EngineNew;
  params.UseBook = false;
  params.EvalFunc = s.base;
  CompileEvalFunc(params.EvalFunc);
  const TMatchEntry player{"self", [params] { return std::make_unique<TEnginePlayer>("self", params, 1); }};
  int lastShown = 0;
  const std::vector<TPlayedGame> games = PlaySelfPlayGames(
      player, s.play,
      [&](int done, int total) {
        if (done == total || done - lastShown >= std::max(total / 20, 1)) {
          lastShown = done;
          say("games " + std::to_string(done) + "/" + std::to_string(total));
        }
      },
      stop);
  out.games = static_cast<int>(games.size());
  for (const TPlayedGame& g : games) out.decisive += g.result != ResultDraw;
  say("results: " + std::to_string(out.decisive) + " of " + std::to_string(out.games) + " games decisive");
  if (stop && stop->load()) {
    out.cancelled = true;
    return out;
  }

  const TEvalFeatureMap map(s.base, s.play.gametype);
  std::vector<TSparseRow> rows;
  const std::vector<TTrainingPosition> positions = LabelPositions(games, s.play.gametype, s.label);
  for (const TTrainingPosition& p : positions) {
    TBitBoard64 pos;
    BoardToBit64(p.board, pos, s.play.gametype);
    if (p.side == TDColor::black) FlipBitBoard(pos, s.play.gametype);
    TSparseRow row = map.Features(pos);
    row.target = p.target;
    rows.push_back(std::move(row));
  }
  out.positions = rows.size();
  const std::vector<double> start = map.Weights();
  out.k = FitScale(rows, start);
  char line[160];
  std::snprintf(line, sizeof line, "positions %zu  k %.6f", rows.size(), out.k);
  say(line);
  // The scale is the results' own, so a search score and an evaluation
  // mean the same probability; the targets change only after it is fitted.
  const double w = std::clamp(s.scoreWeight, 0.0, 1.0);
  if (w > 0)
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (positions[i].scored)
        rows[i].target = BlendedTarget(rows[i].target, positions[i].score, out.k, w);

  TFitOptions o;
  o.k = out.k;
  o.epochs = s.epochs;
  o.learningRate = s.learningRate;
  o.l2 = s.l2;
  o.frozen = map.Frozen(s.holdKings);
  const TFitResult fit = FitLogistic(rows, start, o, [&](int epoch, double loss) {
    if (epoch % 50 == 0) {
      std::snprintf(line, sizeof line, "epoch %d  loss %.6f", epoch, loss);
      say(line);
    }
    return !(stop && stop->load());
  });
  out.cancelled = stop && stop->load();
  out.lossBefore = fit.lossBefore;
  out.lossAfter = fit.lossAfter;
  out.tuned = map.Apply(fit.weights, s.runName);
  return out;
}

std::string DefaultRunName(const TSelfPlaySettings& p) {
  return "s" + std::to_string(p.seed) + "-g" + std::to_string(p.games) + "-d" + std::to_string(p.depth);
}

std::string TunedFileName(int gametype, const std::string& runName) {
  return std::string(GameTypeNames[gametype]) + "-tune-" + runName + ".eng";
}

std::string ContentHash(std::string_view bytes) {
  uint64_t h = 14695981039346656037ull;
  for (const unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

namespace {

constexpr const char* RecordHeading =
    "# Tuning runs of the shipped engine files\n"
    "\n"
    "Every tuned engine file under EvalFunc was written by `kestrel-cli tune`; its row gives the\n"
    "command that makes it again and the hash of its bytes (64-bit FNV-1a). The tests check that\n"
    "each tuned file is one of these.\n"
    "\n"
    "| file | variant | base | seed | games | depth | epochs | hash | command |\n"
    "|---|---|---|---|---|---|---|---|---|\n";

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  if (line.size() < 2 || line.front() != '|') return cells;
  std::string cell;
  bool code = false;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '`') code = !code;
    if (c == '|' && !code) {
      const auto b = cell.find_first_not_of(' '), e = cell.find_last_not_of(' ');
      cells.push_back(b == std::string::npos ? "" : cell.substr(b, e - b + 1));
      cell.clear();
    } else {
      cell += c;
    }
  }
  return cells;
}

}  // namespace

std::string RecordRow(const TTuningRecord& r) {
  return "| " + r.file + " | " + r.variant + " | " + r.base + " | " + std::to_string(r.seed) + " | " +
         std::to_string(r.games) + " | " + std::to_string(r.depth) + " | " + std::to_string(r.epochs) + " | " +
         r.hash + " | `" + r.command + "` |";
}

std::vector<TTuningRecord> ParseRecord(const std::string& text) {
  std::vector<TTuningRecord> rows;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> c = Cells(line);
    if (c.size() != 9 || c[0] == "file" || c[0].rfind("---", 0) == 0) continue;
    TTuningRecord r;
    r.file = c[0];
    r.variant = c[1];
    r.base = c[2];
    try {
      r.seed = std::stoull(c[3]);
      r.games = std::stoi(c[4]);
      r.depth = std::stoi(c[5]);
      r.epochs = std::stoi(c[6]);
    } catch (const std::exception&) {
      continue;
    }
    r.hash = c[7];
    r.command = c[8].size() >= 2 && c[8].front() == '`' ? c[8].substr(1, c[8].size() - 2) : c[8];
    rows.push_back(std::move(r));
  }
  return rows;
}

bool AddToRecord(const std::filesystem::path& path, const TTuningRecord& r, std::string& error) {
  std::string text;
  if (std::ifstream in(path, std::ios::binary); in) {
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
  }
  if (text.empty()) text = RecordHeading;
  // A run made again replaces its row; a new row goes after the table's
  // last, before any notes that follow the table.
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  std::size_t after = 0;
  while (std::getline(in, line)) {
    const std::vector<std::string> c = Cells(line);
    if (c.size() == 9 && c[0] == r.file) continue;
    lines.push_back(line);
    if (!c.empty()) after = lines.size();
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), RecordRow(r));
  std::string kept;
  for (const std::string& l : lines) kept += l + "\n";
  return WriteFileAtomically(path, kept, &error);
}

}  // namespace kestrel
