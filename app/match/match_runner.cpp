#include "app/match/match_runner.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>

namespace kestrel {

TMatchScore TMatchSummary::Total(int entry) const {
  TMatchScore total;
  if (entry < 0 || entry >= static_cast<int>(scores.size())) return total;
  for (const TMatchScore& s : scores[entry]) total += s;
  return total;
}

std::vector<TScheduledGame> ScheduleRoundRobin(int entries, int openings, int gamesPerPair) {
  std::vector<TScheduledGame> games;
  if (entries < 2 || openings < 1 || gamesPerPair < 1) return games;
  const int pairsOfGames = (gamesPerPair + 1) / 2;
  for (int p = 0; p < pairsOfGames; ++p) {
    const int opening = p % openings;
    for (int a = 0; a < entries; ++a)
      for (int b = a + 1; b < entries; ++b) {
        games.push_back({opening, a, b});
        games.push_back({opening, b, a});
      }
  }
  return games;
}

TMatchSummary RunMatch(const std::vector<TMatchEntry>& entries, const TMatchOptions& options,
                       const std::function<void(const TFinishedGame&, const TMatchSummary&)>& onGame,
                       std::atomic<bool>* stop) {
  const int n = static_cast<int>(entries.size());
  TMatchSummary summary;
  summary.scores.assign(n, std::vector<TMatchScore>(n));
  const std::vector<TScheduledGame> schedule =
      ScheduleRoundRobin(n, static_cast<int>(options.openings.size()), options.gamesPerPair);
  if (schedule.empty()) return summary;

  std::atomic<bool> localStop{false};
  std::atomic<bool>& halt = stop ? *stop : localStop;
  std::atomic<bool> decided{false};
  std::atomic<std::size_t> next{0};
  std::mutex mutex;
  const bool useSprt = options.sprt.has_value() && n == 2;
  // Two entries play games 2k and 2k + 1 with one opening, colours
  // exchanged: the first entry's half points of the game of each pair that
  // ended first, until the other ends (-1: none yet; 5: a game without a
  // result, which leaves the pair out).
  constexpr int8_t NoHalf = -1, VoidPair = 5;
  std::vector<int8_t> firstHalves(n == 2 ? schedule.size() / 2 : 0, NoHalf);

  const auto work = [&] {
    // This thread's players, made when first needed.
    std::vector<std::unique_ptr<TMatchPlayer>> players(n);
    TGameSettings settings = options.game;
    settings.stop = &halt;
    for (;;) {
      if (halt.load() || decided.load()) return;
      const std::size_t index = next.fetch_add(1);
      if (index >= schedule.size()) return;
      const TScheduledGame& s = schedule[index];
      for (int e : {s.white, s.black})
        if (!players[e]) players[e] = entries[e].makePlayer();
      TFinishedGame finished;
      finished.number = static_cast<int>(index) + 1;
      finished.white = s.white;
      finished.black = s.black;
      finished.opening = s.opening;
      finished.played = PlayMatchGame(*players[s.white], *players[s.black], options.openings[s.opening], settings);
      if (finished.played.end == TGameEnd::startFailed) {
        std::lock_guard lock(mutex);
        if (summary.failure.empty()) summary.failure = finished.played.error;
        halt.store(true);
        return;
      }
      if (finished.played.end == TGameEnd::stopped) return;

      std::lock_guard lock(mutex);
      const TMatchScore whiteScore = ScoreOfResult(finished.played.result, true);
      summary.scores[s.white][s.black] += whiteScore;
      summary.scores[s.black][s.white] += whiteScore.Reversed();
      ++summary.gamesPlayed;
      if (finished.played.end == TGameEnd::time) ++summary.timeLosses;
      if (const std::size_t pair = index / 2; pair < firstHalves.size()) {
        const TMatchScore first = s.white == 0 ? whiteScore : whiteScore.Reversed();
        const int half = first.Games() == 1 ? first.Points() : VoidPair;
        int8_t& other = firstHalves[pair];
        if (other == NoHalf) other = static_cast<int8_t>(half);
        else if (other != VoidPair && half != VoidPair) ++summary.pairs.counts[other + half];
      }
      if (useSprt) {
        summary.sprt = options.sprt->Decide(summary.scores[0][1]);
        if (summary.sprt != TSprtDecision::running) decided.store(true);
      }
      if (onGame) onGame(finished, summary);
    }
  };

  const int threads = std::clamp(options.concurrency, 1, static_cast<int>(schedule.size()));
  {
    std::vector<std::jthread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
  }
  summary.stopped = halt.load() && summary.failure.empty();
  return summary;
}

std::string RoundRobinTable(const std::vector<TMatchEntry>& entries, const TMatchSummary& summary) {
  const int n = static_cast<int>(entries.size());
  std::vector<int> order(n);
  for (int i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return summary.Total(a).Points() > summary.Total(b).Points(); });
  std::size_t width = 4;
  for (const TMatchEntry& e : entries) width = std::max(width, e.name.size());
  std::string text;
  char cell[64];
  int rank = 0;
  for (int row : order) {
    const TMatchScore total = summary.Total(row);
    std::snprintf(cell, sizeof cell, "%2d. ", ++rank);
    text += cell;
    text += entries[row].name;
    text.append(width - entries[row].name.size(), ' ');
    std::snprintf(cell, sizeof cell, " %5d/%-5d %5.1f%% %+7.1f |", total.Points(), 2 * total.Games(),
                  100 * total.Fraction(), EloFromFraction(total.Fraction()));
    text += cell;
    for (int col : order) {
      if (col == row) {
        text += "     *";
      } else {
        const TMatchScore& s = summary.scores[row][col];
        std::snprintf(cell, sizeof cell, " %5s", s.Games() ? std::to_string(s.Points()).c_str() : "-");
        text += cell;
      }
    }
    text += '\n';
  }
  return text;
}

}  // namespace kestrel
