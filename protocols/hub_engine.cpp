#include "protocols/hub_engine.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "game/opening_tree.h"
#include "protocols/standard_squares.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"

namespace kestrel {

namespace {

std::optional<int> VariantOf(const std::string& name) {
  if (name == "international") return gtInternational;
  for (int t = 1; t <= GameTypeCount; ++t)
    if (HubVariantName(t) == name) return t;
  return std::nullopt;
}

std::string Fixed(double value, int decimals) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

// Scores in men. Won and lost lines read as about 99 (a game end ahead) or
// 89 (an endgame database result), less a hundredth per ply to go.
std::string HubScore(int score) {
  const int magnitude = std::abs(score);
  const double sign = score < 0 ? -1 : 1;
  if (magnitude >= 1740) return Fixed(sign * (99 + std::max(0, 99 - (2001 - std::min(magnitude, 2001))) / 100.0), 2);
  if (magnitude >= 1400) return Fixed(sign * (89 + std::max(0, 99 - std::max(0, 1501 - magnitude)) / 100.0), 2);
  return Fixed(score / 100.0, 2);
}

int CountPieces(const TBrd& board) {
  return static_cast<int>(std::count_if(board.cells.begin(), board.cells.end(), [](int8_t c) { return c != Empty; }));
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

struct THubEngine::TJob {
  enum Mode { think, ponder, analyze };
  Mode mode = think;
  THubPosition position;
  int type = gtInternational;
  THubLevel level;
};

class THubEngine::TListener : public TSearchListener {
 public:
  TListener(THubEngine& hub, const TJob& job) : hub_(hub), job_(job), budget_(HubTimeBudget(job.level)) {}

  void RootMoves(const std::vector<TRootMove>&) override { CheckStop(); }
  void Searching(int, int, int) override { CheckStop(); }
  void RootMovesSorted(const std::vector<TRootMove>&, const TSearchStats& stats) override {
    CheckNodes(stats);
  }
  void IterationDone(int depth, const std::vector<TRootMove>& moves, const TSearchStats& stats) override {
    const TRootMove& best = moves[0];
    std::string pv;
    for (int i = 0; i < best.pv.Length; ++i) {
      if (i > 0) pv += ' ';
      pv += HubMoveText(best.pv.Mvs[i], job_.type);
    }
    const double seconds = stats.elapsedMs / 1000.0;
    THubLine info{"info"};
    info.Add("depth", std::to_string(depth))
        .Add("score", HubScore(best.score))
        .Add("nodes", std::to_string(stats.counters.nodes))
        .Add("time", Fixed(seconds, 3))
        .Add("nps", Fixed(stats.NodesPerSecond() / 1e6, 2))
        .Add("pv", pv);
    hub_.Send(info);
    CheckNodes(stats);
    // No iteration starts once the time for it is spent.
    if (budget_) {
      std::lock_guard lock(hub_.timerMutex_);
      if (hub_.timingStart_ && Seconds(std::chrono::steady_clock::now() - *hub_.timingStart_) >= budget_->startBy)
        hub_.engine_->Stop();
    }
  }

 private:
  void CheckStop() {
    if (hub_.stopRequested_.load()) hub_.engine_->Stop();
  }
  void CheckNodes(const TSearchStats& stats) {
    CheckStop();
    if (job_.level.nodes > 0 && stats.counters.nodes >= job_.level.nodes) hub_.engine_->Stop();
  }

  THubEngine& hub_;
  const TJob& job_;
  std::optional<THubBudget> budget_;
};

THubEngine::THubEngine(THubEngineSetup setup, Sink protocol, Sink diagnostics)
    : setup_(std::move(setup)),
      protocol_(std::move(protocol)),
      diagnostics_(std::move(diagnostics)),
      gametype_(gtInternational),
      hashMb_(setup_.hashMb) {}

THubEngine::~THubEngine() { StopSearch(); }

void THubEngine::Send(const THubLine& line) {
  std::lock_guard lock(outMutex_);
  protocol_(line.Text());
}

void THubEngine::Complain(const std::string& message) {
  std::lock_guard lock(outMutex_);
  diagnostics_("error: " + message);
}

bool THubEngine::Handle(std::string_view text) {
  std::string error;
  const auto line = ParseHubLine(text, error);
  if (!line) {
    if (error != "missing command") Complain(error + ": " + std::string(text));
    return true;
  }
  const std::string& cmd = line->command;
  if (searching_.load()) {
    if (cmd == "ping") {
      Send(THubLine{"pong"});
      return true;
    }
    if (cmd == "ponder-hit") {
      std::lock_guard lock(timerMutex_);
      if (pondering_.exchange(false)) {
        timingStart_ = std::chrono::steady_clock::now();
        timerWake_.notify_all();
      }
      return true;
    }
    // Anything else ends the search first and is handled after its "done".
    StopSearch();
    if (cmd == "stop") return true;
  }
  JoinSearch();
  if (cmd == "hub") {
    Identify();
  } else if (cmd == "set-param") {
    SetParam(*line);
  } else if (cmd == "init") {
    ready_ = false;
    if (EnsureReady()) Send(THubLine{"ready"});
  } else if (cmd == "new-game") {
    if (engine_) engine_->Table().Clear();
  } else if (cmd == "pos") {
    SetPosition(*line);
  } else if (cmd == "level") {
    if (auto level = ParseHubLevel(*line, error)) {
      level_ = *level;
    } else {
      Complain(error);
    }
  } else if (cmd == "go") {
    Go(*line);
  } else if (cmd == "ping") {
    Send(THubLine{"pong"});
  } else if (cmd == "stop" || cmd == "ponder-hit") {
    // Nothing runs: nothing to do.
  } else if (cmd == "quit") {
    return false;
  } else {
    Complain("unknown command " + cmd);
  }
  return true;
}

void THubEngine::Identify() {
  THubLine id{"id"};
  id.Add("name", setup_.name);
  if (!setup_.version.empty()) id.Add("version", setup_.version);
  if (!setup_.author.empty()) id.Add("author", setup_.author);
  Send(id);
  std::string variants;
  for (int t = 1; t <= GameTypeCount; ++t) variants += (t > 1 ? " " : "") + HubVariantName(t);
  Send(THubLine{"param"}.Add("name", "variant").Add("value", HubVariantName(gametype_))
           .Add("type", "enum").Add("values", variants));
  Send(THubLine{"param"}.Add("name", "eval").Add("value", evalFile_).Add("type", "string"));
  Send(THubLine{"param"}.Add("name", "hash").Add("value", std::to_string(hashMb_)).Add("type", "int")
           .Add("min", "1").Add("max", std::to_string(setup_.maxHashMb)));
  Send(THubLine{"param"}.Add("name", "threads").Add("value", std::to_string(threads_)).Add("type", "int")
           .Add("min", "1").Add("max", std::to_string(MaxSearchThreads)));
  Send(THubLine{"param"}.Add("name", "book").Add("value", bookFile_).Add("type", "string"));
  Send(THubLine{"wait"});
}

void THubEngine::SetParam(const THubLine& line) {
  const auto name = line.Get("name");
  const auto value = line.Get("value");
  if (!name || !value) {
    Complain("set-param needs name= and value=");
    return;
  }
  const auto number = [&](uint64_t low, uint64_t high) -> std::optional<uint64_t> {
    uint64_t n = 0;
    const auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), n);
    if (ec != std::errc() || end != value->data() + value->size() || n < low || n > high) {
      Complain("value of " + *name + " must be " + std::to_string(low) + ".." + std::to_string(high));
      return std::nullopt;
    }
    return n;
  };
  if (*name == "variant") {
    const auto type = VariantOf(*value);
    if (!type) {
      Complain("unknown variant " + *value);
      return;
    }
    if (*type != gametype_) position_.reset();
    gametype_ = *type;
    params_.reset();
  } else if (*name == "eval") {
    evalFile_ = *value;
    params_.reset();
  } else if (*name == "hash") {
    const auto mb = number(1, setup_.maxHashMb);
    if (!mb) return;
    hashMb_ = *mb;
    if (engine_ && !engine_->AllocateHashTable(hashMb_)) Complain("cannot allocate " + *value + " MB of hash");
  } else if (*name == "threads") {
    const auto n = number(1, MaxSearchThreads);
    if (!n) return;
    threads_ = static_cast<int>(*n);
    if (engine_) engine_->SetThreadsCount(threads_);
  } else if (*name == "book") {
    bookFile_ = *value;
    if (bookFile_.empty()) {
      book_.Close();
    } else {
      book_.BookIni(bookFile_);
      if (!book_.IsOpen()) Complain("cannot open the book " + bookFile_);
    }
  } else {
    Complain("unknown parameter " + *name);
  }
}

// The engine is made on "init", or on the first search without one.
bool THubEngine::EnsureReady() {
  if (!engine_) {
    engine_ = std::make_unique<TEngine>(0);
    if (!engine_->AllocateHashTable(hashMb_)) {
      Complain("cannot allocate " + std::to_string(hashMb_) + " MB of hash");
      engine_->AllocateHashTable(1);
    }
    engine_->SetThreadsCount(threads_);
  }
  if (!params_) {
    std::string error;
    params_ = setup_.loadParams(gametype_, evalFile_, error);
    if (!params_ && !evalFile_.empty()) {
      Complain(error + "; the variant's own engine file is used");
      params_ = setup_.loadParams(gametype_, "", error);
    }
    if (!params_) {
      Complain(error);
      return false;
    }
  }
  // A later generation sets up its table now rather than on the first move's clock.
  engine_->PrepareGeneration(gametype_, *params_);
  ready_ = true;
  return true;
}

void THubEngine::SetPosition(const THubLine& line) {
  THubPosition p{InitialPosition(gametype_), TDColor::white};
  if (const auto text = line.Get("pos"); text && !line.Has("start")) {
    std::string error;
    const auto parsed = ParseHubPosition(*text, gametype_, error);
    if (!parsed) {
      Complain("bad position: " + error);
      position_.reset();
      return;
    }
    p = *parsed;
  }
  if (const auto moves = line.Get("moves")) {
    size_t pos = 0;
    while (pos < moves->size()) {
      const size_t end = std::min(moves->find(' ', pos), moves->size());
      const std::string text = moves->substr(pos, end - pos);
      pos = end + 1;
      if (text.empty()) continue;
      const auto move = FindHubMove(text, p.board, p.side, gametype_);
      if (!move) {
        // As other engines do: the moves before it stand, the rest is dropped.
        Complain("illegal move " + text + "; the rest of the list is ignored");
        break;
      }
      ApplyMove(*move, p.board, gametype_);
      p.side = Opponent(p.side);
    }
  }
  position_ = p;
}

void THubEngine::Go(const THubLine& line) {
  TJob job;
  if (line.Has("ponder")) {
    job.mode = TJob::ponder;
  } else if (line.Has("analyze") || line.Has("analyse")) {
    job.mode = TJob::analyze;
  }
  job.type = gametype_;
  job.level = level_;
  // Each search needs its own level line.
  level_ = THubLevel{};
  if (!position_) {
    Complain("go without a valid position");
    Send(THubLine{"error"}.Add("message", "no position"));
    Send(THubLine{"done"});
    return;
  }
  if (!EnsureReady()) {
    Send(THubLine{"error"}.Add("message", "the engine is not ready"));
    Send(THubLine{"done"});
    return;
  }
  job.position = *position_;
  {
    std::lock_guard lock(timerMutex_);
    pondering_ = job.mode == TJob::ponder;
    timingStart_.reset();
    if (job.mode != TJob::ponder) timingStart_ = std::chrono::steady_clock::now();
    searchOver_ = false;
  }
  stopRequested_ = false;
  searching_ = true;
  worker_ = std::thread([this, job] { RunSearch(job); });
}

std::optional<TMove> THubEngine::BookMove(const TJob& job) {
  if (job.mode != TJob::think || !book_.IsOpen() || CountPieces(job.position.board.b) <= BookMinPieces)
    return std::nullopt;
  TMoveList list;
  uint8_t count = 0;
  BookMoveList(job.position.board, job.position.side, job.type, list, count);
  TOpenMoves tree;
  BuildOpeningTree(book_, job.position.board, job.position.side, job.type, tree);
  const int num = ChooseBookMove(tree, BookLevelBest, random_);
  if (num < 1 || num > count) return std::nullopt;
  return list[num - 1];
}

void THubEngine::RunSearch(const TJob& job) {
  THubLine done{"done"};
  if (const auto book = BookMove(job)) {
    done.Add("move", HubMoveText(*book, job.type));
  } else {
    const auto budget = HubTimeBudget(job.level);
    // The hard stop, timed from the start of the search or from "ponder-hit".
    std::thread timer;
    if (budget) {
      timer = std::thread([this, hard = budget->hardStop] {
        std::unique_lock lock(timerMutex_);
        while (!searchOver_) {
          if (!timingStart_) {
            timerWake_.wait(lock);
            continue;
          }
          const auto deadline =
              *timingStart_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(hard));
          if (timerWake_.wait_until(lock, deadline, [&] { return searchOver_; })) break;
          engine_->Stop();
          break;
        }
      });
    }
    TSearchLimits limits;
    limits.maxDepth = job.level.depth > 0 ? std::min(job.level.depth, MaxSearchPly + 1) : MaxSearchPly + 1;
    // A forced move is played at once, but still analysed on request.
    limits.singleMove = job.mode != TJob::think;
    TListener listener(*this, job);
    const TSearchResult result =
        engine_->SearchRoot(job.position.board, job.position.side, job.type, limits, *params_, &listener);
    {
      std::lock_guard lock(timerMutex_);
      searchOver_ = true;
      timerWake_.notify_all();
    }
    if (timer.joinable()) timer.join();
    if (result.hasMove) {
      done.Add("move", HubMoveText(result.bestMove, job.type));
      if (result.pv.Length >= 2) done.Add("ponder", HubMoveText(result.pv.Mvs[1], job.type));
    } else {
      Send(THubLine{"error"}.Add("message", "no legal move"));
    }
  }
  // A ponder search that ended by itself waits for "ponder-hit" or "stop":
  // the GUI buffers the answer, so it is sent at once.
  Send(done);
  pondering_ = false;
  searching_ = false;
}

void THubEngine::StopSearch() {
  stopRequested_ = true;
  if (engine_) engine_->Stop();
  JoinSearch();
}

void THubEngine::JoinSearch() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace kestrel
