#include "app/match/engine_tournament.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "app/match/engine_player.h"
#include "app/match/match_game.h"
#include "app/play/game_clock.h"
#include "app/play/play_texts.h"
#include "app/settings/atomic_file.h"
#include "database/db_error.h"
#include "database/game_io.h"
#include "engine/eval_crossing.h"

namespace kestrel {
namespace {

std::string RightAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string NowText() {
  const std::tm t = LocalNow();
  char text[64];  // room for any int the fields may hold
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

TGameDate Today() {
  const std::tm t = LocalNow();
  return {static_cast<uint8_t>(t.tm_mday), static_cast<uint8_t>(t.tm_mon + 1), static_cast<uint16_t>(t.tm_year + 1900)};
}

// The program's controls in match form: a whole-game clock runs down and
// can fall; a control per move count gives each move its share, as the
// play controller does.
TTimeSettings MatchTime(const TTimeControl& tc) {
  TTimeSettings t;
  if (tc.movesPerControl == 0) {
    t.timeMs = int64_t{tc.time[0]} * 10;
    t.timeMs1 = int64_t{tc.time[1]} * 10;
  } else {
    t.moveTimeMs = std::max<int64_t>(int64_t{tc.time[0]} * 10 / tc.movesPerControl, 10);
  }
  return t;
}

// "+w-l=d   points/(2 games) =percent%"; "-" for the percent of no result.
std::string PairResultLine(const TMatchScore& s) {
  const int games = s.Games();
  return " +" + std::to_string(s.wins) + "-" + std::to_string(s.losses) + "=" + std::to_string(s.draws) + "   " +
         std::to_string(s.Points()) + "/" + std::to_string(2 * games) + " =" +
         (games ? std::to_string((200 * s.wins + 100 * s.draws) / (2 * games)) : std::string("-")) + "%";
}

}  // namespace

void TActivePlayers::Set(TMatchPlayer* a, TMatchPlayer* b) {
  std::lock_guard lock(mutex_);
  players_[0] = a;
  players_[1] = b;
}

void TActivePlayers::StopAll() {
  std::lock_guard lock(mutex_);
  for (TMatchPlayer* p : players_)
    if (p) p->Stop();
}

bool TResultFile::Create(std::string& error) {
  text_.clear();
  return WriteFileAtomically(path_, text_, &error);
}

bool TResultFile::AppendLine(const std::string& line, std::string& error) {
  text_ += line;
  text_ += "\r\n";
  return WriteFileAtomically(path_, text_, &error);
}

std::string PairProgressText(const TMatchScore& s) {
  return "+" + std::to_string(s.wins) + "-" + std::to_string(s.losses) + "=" + std::to_string(s.draws) + " (" +
         PairPercentText(s) + "%)";
}

TMatchScore PlayPairOfGames(const TGame& position, const TEngineParams& x, const TEngineParams& y,
                            const TPairNames& names, const TPairContext& c) {
  TMatchScore forX;
  TEngineParams px = x, py = y;
  px.Engine = py.Engine = EngineNew;  // matches compare functions of the current generation
  px.UseBook = py.UseBook = false;
  TEnginePlayer playerX(names.white, px, c.hashMegabytes), playerY(names.black, py, c.hashMegabytes);
  const TOpening opening = OpeningOfGame(position);
  // Whatever ends the pair, the players are no longer reachable afterwards.
  struct TPlayingGuard {
    const TPairContext& c;
    ~TPlayingGuard() {
      if (c.playing) c.playing(nullptr, nullptr);
    }
  } guard{c};
  if (c.playing) c.playing(&playerX, &playerY);

  TGameSettings settings;
  settings.gametype = c.gametype;
  settings.maxPlies = c.maxPlies;
  settings.adjudicate = c.adjudicate;
  settings.stop = c.stop;
  for (int sub = 1; sub <= 2; ++sub) {
    if (c.stop && c.stop->load()) break;
    TTimeControl tc = c.timeControl;
    if (sub == 2) std::swap(tc.time[0], tc.time[1]);
    settings.time = MatchTime(tc);
    settings.time.maxDepth = c.maxDepth;
    TMatchPlayer& side0 = sub == 1 ? static_cast<TMatchPlayer&>(playerX) : playerY;
    TMatchPlayer& side1 = sub == 1 ? static_cast<TMatchPlayer&>(playerY) : playerX;
    const TPlayedGame played = PlayMatchGame(side0, side1, opening, settings);
    if (played.end == TGameEnd::startFailed) throw TPlayerStartError(played.error);
    if (played.end == TGameEnd::stopped) break;
    forX += ScoreOfResult(played.result, sub == 1);

    TGame game = GameOfPlayed(played, c.gametype);
    game.Header.Date = Today();
    game.WhiteName = sub == 1 ? names.white : names.black;
    game.BlackName = sub == 1 ? names.black : names.white;
    game.Tournament = names.tournament.empty()
                          ? Lang(LtNewGame) + " " + std::to_string(tc.time[0] / 6000) + " min"
                          : names.tournament;
    game.Site = names.site;
    game.Header.Round = names.round;
    game.Header.Subround = sub;
    if (!game.CommentsBef.empty()) {
      const bool clocks = tc.movesPerControl == 0;
      game.CommentsBef[std::min(1, game.SlotCount() - 1)] =
          ClockText2(clocks ? played.clockMs[0] / 10 : 0) + "-" + ClockText2(clocks ? played.clockMs[1] / 10 : 0);
    }
    if (c.post) c.post(PairProgressText(forX));
    if (c.save) WriteDBGame(game, 0, *c.save, true);
  }
  return forX;
}

// ---- Tournament ----

TEngineTournament::TEngineTournament(TTournamentSettings settings, TPairContext context)
    : s_(std::move(settings)), context_(std::move(context)), rng_(static_cast<std::mt19937::result_type>(s_.seed)) {
  s_.totalFunctions = std::max(s_.totalFunctions, 2);
  s_.bestInRound = std::clamp(s_.bestInRound, 1, s_.totalFunctions);
  s_.gamesPerRound = std::max(s_.gamesPerRound, 1);
  context_.stop = &stop_;
  context_.playing = [this](TMatchPlayer* a, TMatchPlayer* b) { active_.Set(a, b); };
  entries_.resize(s_.totalFunctions + 1);
  entries_[0].func = s_.current;
  cross_.assign(entries_.size(), std::vector<int>(entries_.size(), 0));
}

TEvalFuncNew TEngineTournament::Offspring(int parentsA, int parentsB) {
  const int a = std::uniform_int_distribution<int>(0, std::max(parentsA, 1) - 1)(rng_);
  const int b = std::uniform_int_distribution<int>(0, std::max(parentsB, 1) - 1)(rng_);
  TEvalFuncNew child;
  std::mt19937 crossRng(static_cast<std::mt19937::result_type>(rng_()));
  CrossEvalFuncs(entries_[a].func, entries_[b].func, child, s_.dynamicFlag, s_.staticFlag, s_.mutateStage, crossRng);
  return child;
}

void TEngineTournament::MakeEntries(int round) {
  const int n = s_.totalFunctions;
  const auto name = [&](TTournamentEntry& e) {
    e.number = nextNumber_++;
    e.func.Name = s_.namePrefix + "-" + std::to_string(e.number);
  };
  if (round == 1) {
    for (int j = 1; j <= n; ++j) {
      TTournamentEntry& e = entries_[j];
      if (j <= static_cast<int>(s_.engineFiles.size()) && ReadEngine(s_.engineFiles[j - 1], e.func)) {
        e.number = nextNumber_++;
        continue;
      }
      // Parents among the entries before, entry 0 (the variant's function) included.
      e.func = Offspring(j, j);
      name(e);
    }
    return;
  }
  const int best = s_.bestInRound;
  // Entry 0 stays the variant's function; the kept ones are entries 1..B.
  for (int j = best + 1; j <= n; ++j) {
    const int a = 1 + std::uniform_int_distribution<int>(0, std::max(best / 2, 1) - 1)(rng_);
    const int b = 1 + std::uniform_int_distribution<int>(0, best - 1)(rng_);
    std::mt19937 crossRng(static_cast<std::mt19937::result_type>(rng_()));
    TEvalFuncNew child;
    CrossEvalFuncs(entries_[a].func, entries_[b].func, child, s_.dynamicFlag, s_.staticFlag, s_.mutateStage,
                   crossRng);
    entries_[j].func = std::move(child);
    name(entries_[j]);
  }
}

std::vector<int> TEngineTournament::RoundPositions() {
  const int size = static_cast<int>(s_.positions.size());
  std::vector<int> positions;
  if (s_.gamesPerRound >= size) {
    for (int p = 1; p <= size; ++p) positions.push_back(p);
  } else {
    std::uniform_int_distribution<int> pick(1, size);
    for (int p = 0; p < s_.gamesPerRound; ++p) positions.push_back(pick(rng_));
  }
  return positions;
}

std::string TEngineTournament::CrossTableText(const std::string& heading) const {
  std::string text = heading + "\r\n";
  const int n = static_cast<int>(entries_.size()) - 1;
  for (int j = 1; j <= n; ++j) {
    text += RightAligned(entries_[j].func.Name + " ", 15);
    for (int k = 1; k <= n; ++k) text += RightAligned(j == k ? "*" : std::to_string(cross_[j][k]), 4);
    text += " = " + std::to_string(entries_[j].total) + "\r\n";
  }
  return text;
}

void TEngineTournament::SortByTotal() {
  const int n = static_cast<int>(entries_.size()) - 1;
  for (int place = 1; place < n; ++place) {
    int best = place;
    for (int j = place + 1; j <= n; ++j)
      if (entries_[j].total > entries_[best].total) best = j;
    if (best != place) std::swap(entries_[place], entries_[best]);
  }
}

std::string TEngineTournament::Run() {
  if (s_.positions.empty()) return "The sortition database holds no positions";
  const int n = s_.totalFunctions;
  std::string error;
  for (int round = 1;; ++round) {
    const std::vector<int> positions = RoundPositions();
    TResultFile roundFile(s_.folder / ("Round" + std::to_string(round) + ".txt"));
    TResultFile tableFile(s_.folder / ("Round" + std::to_string(round) + "tb.txt"));
    if (!roundFile.Create(error)) return "Cannot write " + roundFile.Path().string() + ": " + error;
    MakeEntries(round);
    for (int j = 1; j <= n; ++j) {
      const auto path = s_.folder / (entries_[j].func.Name + ".eng");
      if (const TEngineFileResult w = WriteEngine(path, entries_[j].func); !w)
        return "Cannot write " + path.string() + ": " + w.message;
    }
    for (auto& row : cross_) std::fill(row.begin(), row.end(), 0);
    for (auto& e : entries_) e.total = 0;

    int p = 0;
    for (const int position : positions) {
      ++p;
      for (int j = 1; j <= n; ++j)
        for (int k = j + 1; k <= n; ++k) {
          if (stop_.load()) return "";
          TPairNames names;
          names.white = entries_[j].func.Name;
          names.black = entries_[k].func.Name;
          names.tournament = std::to_string(round) + "/ " + std::to_string(j) + " vs " + std::to_string(k);
          names.site = ClockText2(context_.timeControl.time[0]) + " vs " + ClockText2(context_.timeControl.time[1]);
          names.round = p;
          TEngineParams x, y;
          x.EvalFunc = entries_[j].func;
          y.EvalFunc = entries_[k].func;
          TMatchScore s;
          try {
            s = PlayPairOfGames(s_.positions[position - 1], x, y, names, context_);
          } catch (const TPlayerStartError& e) {
            return e.what();
          } catch (const std::exception& e) {
            return std::string("Cannot save the game: ") + e.what();
          }
          if (stop_.load()) return "";
          cross_[j][k] += s.Points();
          cross_[k][j] += s.Reversed().Points();
          for (int e = 1; e <= n; ++e) {
            entries_[e].total = 0;
            for (int c = 1; c <= n; ++c) entries_[e].total += cross_[e][c];
          }
          const std::string heading = "Table after round " + std::to_string(p) + ", " + std::to_string(j) + "/" +
                                      std::to_string(k);
          if (!roundFile.AppendLine(names.white + " - " + names.black + PairResultLine(s), error) ||
              !roundFile.AppendLine("\r\n[" + NowText() + "] \r\n" + CrossTableText(heading), error))
            return "Cannot write " + roundFile.Path().string() + ": " + error;
        }
      std::string tableError;
      TResultFile table(tableFile.Path());
      if (!table.AppendLine(CrossTableText("Table after round " + std::to_string(round) + ", " + std::to_string(n - 1) +
                                           "/" + std::to_string(n)),
                            tableError))
        return "Cannot write " + tableFile.Path().string() + ": " + tableError;
    }
    SortByTotal();
    std::string ranks;
    for (int j = 1; j <= n; ++j)
      ranks += std::to_string(j) + "." + entries_[j].func.Name + " = " + std::to_string(entries_[j].total) + "\r\n";
    if (!roundFile.AppendLine(ranks, error)) return "Cannot write " + roundFile.Path().string() + ": " + error;
    rounds_ = round;
    if (!s_.runNext) return "";
  }
}

// ---- Engine match ----

TEngineMatch::TEngineMatch(TEngineMatchSettings settings, TPairContext context)
    : s_(std::move(settings)), context_(std::move(context)), rng_(static_cast<std::mt19937::result_type>(s_.seed)) {
  context_.stop = &stop_;
  context_.playing = [this](TMatchPlayer* a, TMatchPlayer* b) { active_.Set(a, b); };
}

std::string TEngineMatch::Run() {
  if (s_.positions.empty()) return "The sortition database holds no positions";
  std::string error;
  TEngineParams opponent;
  opponent.EvalFunc = s_.current;
  const auto cross = [&](int a, int b) {
    TEvalFuncNew child;
    std::mt19937 crossRng(static_cast<std::mt19937::result_type>(rng_()));
    CrossEvalFuncs(candidates_[a].first, candidates_[b].first, child, true, true, 4, crossRng);
    return child;
  };
  for (int round = 1; s_.maxRounds == 0 || round <= s_.maxRounds; ++round) {
    TResultFile file(s_.folder / ("Round" + std::to_string(round) + ".txt"));
    if (!file.Create(error)) return "Cannot write " + file.Path().string() + ": " + error;
    int firstNew = 0;
    if (round == 1) {
      candidates_.assign(Candidates, {});
      for (int k = 0; k < Candidates; ++k) {
        const auto path = s_.folder / (std::to_string(k + 1) + ".eng");
        if (ReadEngine(path, candidates_[k].first)) continue;
        // Children of two candidates before; the first is the variant's function.
        if (k == 0) {
          candidates_[k].first = s_.current;
        } else {
          std::uniform_int_distribution<int> pick(0, k - 1);
          candidates_[k].first = cross(pick(rng_), pick(rng_));
        }
      }
    } else {
      firstNew = 4;
      for (int k = 4; k < Candidates; ++k)
        candidates_[k].first = cross(std::uniform_int_distribution<int>(0, 1)(rng_),
                                     std::uniform_int_distribution<int>(0, 3)(rng_));
    }
    for (int k = firstNew; k < Candidates; ++k) {
      TEngineParams candidate;
      candidate.EvalFunc = candidates_[k].first;
      TMatchScore total;
      int position = 0;
      for (const TGame& g : s_.positions) {
        if (stop_.load()) return "";
        TPairNames names;
        names.tournament = std::to_string(k + 1);
        names.round = ++position;
        try {
          total += PlayPairOfGames(g, candidate, opponent, names, context_);
        } catch (const TPlayerStartError& e) {
          return e.what();
        } catch (const std::exception& e) {
          return std::string("Cannot save the game: ") + e.what();
        }
      }
      if (stop_.load()) return "";
      const int score = total.Points();
      candidates_[k].second = score;
      const int games = static_cast<int>(s_.positions.size()) * 2;
      const auto path = s_.folder / (std::to_string(score) + "#" + std::to_string(round) + "_" +
                                     std::to_string(k + 1) + ".eng");
      if (const TEngineFileResult w = WriteEngine(path, candidates_[k].first); !w)
        return "Cannot write " + path.string() + ": " + w.message;
      if (!file.AppendLine("", error) || !file.AppendLine("function " + std::to_string(k + 1), error) ||
          !file.AppendLine("+" + std::to_string(total.wins) + "-" + std::to_string(total.losses) + "=" +
                               std::to_string(total.draws), error) ||
          !file.AppendLine(std::to_string(score) + "/" + std::to_string(games) + " =" +
                               (total.Games() ? std::to_string(score * 100 / games) : std::string("-")) + "%",
                           error))
        return "Cannot write " + file.Path().string() + ": " + error;
    }
    std::string places;
    for (int k = 0; k < Candidates; ++k)
      places += std::to_string(k + 1) + "=" + std::to_string(candidates_[k].second) + "\r\n";
    for (int place = 0; place + 1 < Candidates; ++place) {
      int best = place;
      for (int k = place + 1; k < Candidates; ++k)
        if (candidates_[k].second > candidates_[best].second) best = k;
      if (best != place) std::swap(candidates_[place], candidates_[best]);
    }
    places += "\r\n";
    for (int k = 0; k < Candidates; ++k)
      places += std::to_string(k + 1) + "=" + std::to_string(candidates_[k].second) + "\r\n";
    if (!file.AppendLine(places, error)) return "Cannot write " + file.Path().string() + ": " + error;
  }
  return "";
}

}  // namespace kestrel
