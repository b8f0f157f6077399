#include "app/tuning/self_play.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "app/match/match_openings.h"
#include "app/play/result_detection.h"
#include "engine/bitboard.h"
#include "engine/bitboard_movegen.h"
#include "rules/move_generator.h"

namespace kestrel {

std::vector<TPlayedGame> PlaySelfPlayGames(const TMatchEntry& player, const TSelfPlaySettings& s,
                                           const std::function<void(int, int)>& progress, std::atomic<bool>* stop) {
  const int total = std::max(s.games, 0);
  std::vector<TPlayedGame> games(total);
  const std::vector<TOpening> openings = RandomOpenings(s.gametype, total, s.openingPlies, s.seed);
  if (openings.empty() || !player.makePlayer) return {};
  std::atomic<bool> localStop{false};
  std::atomic<bool>& halt = stop ? *stop : localStop;
  std::atomic<int> next{0};
  std::mutex mutex;
  int done = 0;
  const auto work = [&] {
    const std::unique_ptr<TMatchPlayer> a = player.makePlayer(), b = player.makePlayer();
    TGameSettings settings;
    settings.gametype = s.gametype;
    settings.time.maxDepth = s.depth;
    settings.maxPlies = s.maxPlies;
    settings.stop = &halt;
    for (;;) {
      const int i = next.fetch_add(1);
      if (i >= total || halt.load()) return;
      // Each game starts from fresh tables (NewGame), so it depends only on its opening.
      games[i] = PlayMatchGame(*a, *b, openings[i % openings.size()], settings);
      if (games[i].end == TGameEnd::startFailed) halt.store(true);
      std::lock_guard lock(mutex);
      ++done;
      if (progress) progress(done, total);
    }
  };
  {
    std::vector<std::jthread> pool;
    for (int t = 1; t < std::clamp(s.concurrency, 1, 64); ++t) pool.emplace_back(work);
    work();
  }
  std::erase_if(games, [](const TPlayedGame& g) {
    return g.end == TGameEnd::stopped || g.end == TGameEnd::startFailed || g.result == ResultUnknown;
  });
  return games;
}

std::vector<TTrainingPosition> LabelPositions(const std::vector<TPlayedGame>& games, int gametype,
                                             const TLabelOptions& o) {
  std::vector<TTrainingPosition> out;
  for (int game = 0; game < static_cast<int>(games.size()); ++game) {
    const TPlayedGame& g = games[game];
    float whiteScore;
    switch (g.result) {
      case ResultWhiteWon:
      case ResultWhiteWonOnTime: whiteScore = 1; break;
      case ResultBlackWon:
      case ResultBlackWonOnTime: whiteScore = 0; break;
      case ResultDraw: whiteScore = 0.5f; break;
      default: continue;
    }
    TBoard board = g.opening.board;
    TDColor side = g.opening.side;
    int ply = 0;
    // The position before game move `next` is the one that move's search
    // scored; the opening's positions were not searched.
    std::size_t next = g.opening.moves.empty() ? 0 : g.scores.size();
    const auto visit = [&] {
      if (ply < o.skipPlies) return;
      if (o.quietOnly) {
        TBitBoard64 pos;
        BoardToBit64(board, pos, gametype);
        if (side == TDColor::black) FlipBitBoard(pos, gametype);
        if (pos.w == 0 || pos.b == 0 || CaptureMask(pos, gametype) != 0) return;
      }
      TTrainingPosition p{board, side, side == TDColor::white ? whiteScore : 1 - whiteScore, ply};
      p.game = game;
      if (next < g.scores.size()) {
        p.scored = true;
        p.score = g.scores[next];
      }
      out.push_back(p);
    };
    const auto play = [&](const TMove& m) {
      ApplyMove(m, board, gametype);
      side = Opponent(side);
      ++ply;
      visit();
    };
    for (std::size_t i = 0; i < g.opening.moves.size(); ++i) {
      if (i + 1 == g.opening.moves.size()) next = 0;
      play(g.opening.moves[i]);
    }
    // The final position (no moves, or adjudicated) is labelled too.
    for (const TMove& m : g.moves) {
      ++next;
      play(m);
    }
  }
  return out;
}

}  // namespace kestrel
