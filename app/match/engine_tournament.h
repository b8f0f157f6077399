// Engine matches and tournaments of the program: evaluation functions play
// pairs of games from the positions of a sortition database, every game goes
// into a save database, result files record each round, and after a round
// the weakest functions make way for offspring of the strongest.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/match/match_game.h"
#include "app/match/match_player.h"
#include "app/match/match_stats.h"
#include "app/play/time_control.h"
#include "database/kestrel_db.h"
#include "engine/engine_params.h"
#include "game/game.h"

namespace kestrel {

// A text file rewritten whole after every addition: a failed write leaves
// the last complete version under the final name, never half a file.
class TResultFile {
 public:
  explicit TResultFile(std::filesystem::path path) : path_(std::move(path)) {}
  // Appends `line` and CR LF; false with `error` when the file cannot be written.
  bool AppendLine(const std::string& line, std::string& error);
  bool Create(std::string& error);
  const std::string& Text() const { return text_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::string text_;
};

// "+" wins "-" losses "=" draws " (" percent "%)", the line posted after
// each game of a pair; the percent is "-" while no game has a result.
std::string PairProgressText(const TMatchScore& score);

// What both procedures need for a pair of games.
struct TPairContext {
  int gametype = 1;
  TTimeControl timeControl;
  uint64_t hashMegabytes = 8;
  int maxPlies = 1000;
  TAdjudicator adjudicate;                           // endgame tables; may be empty
  TKestrelDB* save = nullptr;                        // receives every game
  std::function<void(const std::string&)> post;      // a line for the information panel
  const std::atomic<bool>* stop = nullptr;
  int maxDepth = 0;                                  // 0: as deep as the time allows
  // Told the two players of the games in progress, and nullptrs when they
  // end, so that a stop can cut their searches short.
  std::function<void(TMatchPlayer*, TMatchPlayer*)> playing;
};

// Stops the players a run has in play, from any thread.
class TActivePlayers {
 public:
  void Set(TMatchPlayer* a, TMatchPlayer* b);
  void StopAll();

 private:
  std::mutex mutex_;
  TMatchPlayer* players_[2] = {nullptr, nullptr};
};

struct TPairNames {
  std::string white, black, tournament, site;
  int round = 0;  // the position's sequence number in the round
};

// A player that could not start a game (raised by PlayPairOfGames).
struct TPlayerStartError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Plays game `position` twice, X with side 0 and then Y with side 0, saves
// both games and answers X's wins, draws and losses. Raises TDatabaseError
// when a game cannot be saved. Games cut short by the stop request count
// nothing and are not saved. Raises TPlayerStartError when a player cannot
// start a game.
TMatchScore PlayPairOfGames(const TGame& position, const TEngineParams& x, const TEngineParams& y,
                            const TPairNames& names, const TPairContext& context);

struct TTournamentSettings {
  int gametype = 1;
  std::vector<TGame> positions;         // the sortition database, game n = position n
  int gamesPerRound = 1;                // M
  std::filesystem::path folder;         // D: result files and engine files
  std::vector<std::filesystem::path> engineFiles;
  int totalFunctions = 20;              // N
  int bestInRound = 1;                  // B
  int mutateStage = 4;                  // 0..3, 4 for any
  bool staticFlag = true;
  bool dynamicFlag = true;
  std::string namePrefix;
  bool runNext = false;
  TEvalFuncNew current;                 // entry 0: the variant's function
  uint64_t seed = 0;
};

struct TTournamentEntry {
  TEvalFuncNew func;       // func.Name is the entry's name
  int64_t number = 0;      // running number
  int64_t total = 0;
};

// The engine tournament. Run it on a worker; RequestStop ends it after the
// game in progress (which counts nothing), from any thread.
class TEngineTournament {
 public:
  TEngineTournament(TTournamentSettings settings, TPairContext context);

  // Plays rounds until a round ends with "Run next genetics functions"
  // clear, a stop, or a failure. Answers the message that ended a failed
  // run, empty otherwise.
  std::string Run();
  void RequestStop() {
    stop_.store(true);
    active_.StopAll();
  }
  bool Stopped() const { return stop_.load(); }

  int RoundsPlayed() const { return rounds_; }
  // Entries 0..N in their last order.
  const std::vector<TTournamentEntry>& Entries() const { return entries_; }
  const std::vector<std::vector<int>>& Cross() const { return cross_; }

  // The cross table text with its heading, as the round and table files
  // hold it.
  std::string CrossTableText(const std::string& heading) const;

 private:
  void MakeEntries(int round);
  TEvalFuncNew Offspring(int parentsA, int parentsB);
  std::vector<int> RoundPositions();
  void SortByTotal();

  TTournamentSettings s_;
  TPairContext context_;
  std::atomic<bool> stop_{false};
  TActivePlayers active_;
  std::mt19937 rng_;
  std::vector<TTournamentEntry> entries_;
  std::vector<std::vector<int>> cross_;
  int64_t nextNumber_ = 1;
  int rounds_ = 0;
};

// The engine match: ten candidates against the variant's function, round
// after round, in `folder`; ends only when stopped (or on a failure, whose
// message it answers).
struct TEngineMatchSettings {
  int gametype = 1;
  std::vector<TGame> positions;
  std::filesystem::path folder;
  TEvalFuncNew current;
  uint64_t seed = 0;
  int maxRounds = 0;  // 0: until stopped
};

class TEngineMatch {
 public:
  static constexpr int Candidates = 10;
  TEngineMatch(TEngineMatchSettings settings, TPairContext context);
  std::string Run();
  void RequestStop() {
    stop_.store(true);
    active_.StopAll();
  }
  // The candidates in their last order, with their scores.
  const std::vector<std::pair<TEvalFuncNew, int>>& Scored() const { return candidates_; }

 private:
  TEngineMatchSettings s_;
  TPairContext context_;
  std::atomic<bool> stop_{false};
  TActivePlayers active_;
  std::mt19937 rng_;
  std::vector<std::pair<TEvalFuncNew, int>> candidates_;  // function and score
};

}  // namespace kestrel
