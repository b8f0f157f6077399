// Frisian and Canadian have no bitboard twin, so their rules core is checked
// against a second generator written here as plainly as possible: board
// coordinates instead of the mailbox, every complete capture sequence
// collected first and the choice rules applied afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "test_support/capture_maze.h"

namespace kestrel {
namespace {

// A move as the position it leads to: start, end and the pieces taken.
using MoveKey = std::tuple<int, int, std::vector<int>>;

class SimpleGenerator {
 public:
  SimpleGenerator(const TBoard& board, TDColor side, int type)
      : b_(board.b), type_(type), shape_(BoardShape(type)), sign_(side == TDColor::white ? 1 : -1) {
    dirs_ = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    if (type == gtFrisian) dirs_.insert(dirs_.end(), {{0, 2}, {0, -2}, {2, 0}, {-2, 0}});
  }

  std::set<MoveKey> Moves() {
    for (int s = 1; s <= shape_.files * shape_.ranks / 2; ++s)
      if (b_[s] * sign_ > 0) {
        start_ = s;
        std::vector<int> taken;
        Capture(s, b_[s] * sign_ == 2, taken, 0);
      }
    std::set<MoveKey> moves;
    if (captures_.empty()) {
      PlainMoves(moves);
      return moves;
    }
    // Most pieces; Frisian: then a king's capture before a man's, then most kings.
    int best = 0;
    for (const auto& c : captures_) best = std::max<int>(best, c.taken.size());
    std::erase_if(captures_, [&](const Sequence& c) { return static_cast<int>(c.taken.size()) < best; });
    if (type_ == gtFrisian) {
      if (std::any_of(captures_.begin(), captures_.end(), [](const Sequence& c) { return c.byKing; }))
        std::erase_if(captures_, [](const Sequence& c) { return !c.byKing; });
      int kings = 0;
      for (const auto& c : captures_) kings = std::max(kings, c.kings);
      std::erase_if(captures_, [&](const Sequence& c) { return c.kings < kings; });
    }
    for (auto c : captures_) {
      std::sort(c.taken.begin(), c.taken.end());
      moves.insert({c.from, c.to, c.taken});
    }
    return moves;
  }

 private:
  struct Sequence {
    int from, to;
    std::vector<int> taken;
    bool byKing;
    int kings;
  };

  int At(int x, int y) const {
    if (x < 0 || y < 0 || x >= shape_.files || y >= shape_.ranks || (x + y) % 2 != 0) return 0;
    return y * shape_.squaresPerRank + x / 2 + 1;
  }
  std::pair<int, int> Xy(int s) const {
    const int y = (s - 1) / shape_.squaresPerRank;
    return {2 * ((s - 1) % shape_.squaresPerRank) + y % 2, y};
  }
  // The moving piece has left its start square; taken pieces stay until the end.
  bool IsEmpty(int s) const { return s != 0 && (b_[s] == 0 || s == start_); }
  bool IsPrey(int s, const std::vector<int>& taken) const {
    return s != 0 && b_[s] * sign_ < 0 && std::find(taken.begin(), taken.end(), s) == taken.end();
  }

  void Capture(int at, bool king, std::vector<int>& taken, int kings) {
    const auto [x, y] = Xy(at);
    bool goesOn = false;
    for (const auto& [dx, dy] : dirs_) {
      int k = 1;
      if (king)
        while (IsEmpty(At(x + k * dx, y + k * dy))) ++k;
      const int victim = At(x + k * dx, y + k * dy);
      if (!IsPrey(victim, taken)) continue;
      for (int j = k + 1; IsEmpty(At(x + j * dx, y + j * dy)); ++j) {
        goesOn = true;
        taken.push_back(victim);
        Capture(At(x + j * dx, y + j * dy), king, taken, kings + (b_[victim] * sign_ == -2 ? 1 : 0));
        taken.pop_back();
        if (!king) break;
      }
    }
    // Shorter sequences never win, so they need not be kept.
    if (goesOn || taken.empty() || static_cast<int>(taken.size()) < best_) return;
    best_ = static_cast<int>(taken.size());
    captures_.push_back({start_, at, taken, king, kings});
  }

  void PlainMoves(std::set<MoveKey>& moves) const {
    for (int s = 1; s <= shape_.files * shape_.ranks / 2; ++s) {
      if (b_[s] * sign_ <= 0) continue;
      const auto [x, y] = Xy(s);
      const bool king = b_[s] * sign_ == 2;
      for (int i = 0; i < 4; ++i) {
        const auto [dx, dy] = dirs_[i];
        if (!king && dy != sign_) continue;
        for (int k = 1, t = At(x + dx, y + dy); t != 0 && b_[t] == 0; ++k, t = At(x + k * dx, y + k * dy)) {
          moves.insert({s, t, {}});
          if (!king) break;
        }
      }
    }
  }

  TBrd b_;
  int type_;
  TBoardShape shape_;
  int sign_;
  int start_ = 0;
  int best_ = 0;
  std::vector<std::pair<int, int>> dirs_;
  std::vector<Sequence> captures_;
};

std::set<MoveKey> RulesCoreMoves(const TBoard& board, TDColor side, int type, int& count) {
  TMoveList list;
  uint8_t n = 0;
  GenerateMoveList(board, side, list, type, n);
  count = n;
  std::set<MoveKey> moves;
  for (int i = 0; i < n; ++i) {
    const TMove& m = list[i];
    std::vector<int> taken;
    for (int k = 1; k <= m.lt; ++k) taken.push_back(m.mv[2 * k - 1]);
    std::sort(taken.begin(), taken.end());
    moves.insert({m.From(), m.To(), taken});
  }
  return moves;
}

std::string Describe(const TBoard& board, TDColor side, int type) {
  std::ostringstream out;
  out << GameTypeNames[type] << ", " << (side == TDColor::white ? "White" : "Black") << " to move:";
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
    if (board.b[s] != 0) out << ' ' << (board.b[s] > 0 ? "w" : "b") << (std::abs(board.b[s]) == 2 ? "K" : "") << s;
  return out.str();
}

class SimpleEnumerator : public ::testing::TestWithParam<int> {};

TEST_P(SimpleEnumerator, AgreesWithTheRulesCore) {
  const int type = GetParam();
  std::mt19937 rng(4000 + type);
  int failures = 0, longest = 0, compared = 0;
  for (int i = 0; i < 1200; ++i) {
    const TDColor side = i % 2 == 0 ? TDColor::white : TDColor::black;
    // Half the positions crowded with men and kings, half around long routes.
    testing::CaptureMazeOptions options{14, 3, 8};
    if (i % 4 >= 2) options = {3, 4, GameTypes[type].SquareCount / 3};
    const TBoard board = testing::CaptureMaze(type, side, rng, options);
    int n = 0;
    const auto core = RulesCoreMoves(board, side, type, n);
    if (n >= MaxMoves) continue;
    ++compared;
    const auto simple = SimpleGenerator(board, side, type).Moves();
    for (const auto& m : core) longest = std::max<int>(longest, std::get<2>(m).size());
    if (core != simple && ++failures <= 3)
      ADD_FAILURE() << Describe(board, side, type) << ": the rules core has " << core.size()
                    << " moves, the simple enumerator " << simple.size();
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GE(longest, 10);
  EXPECT_GT(compared, 1150);
}

INSTANTIATE_TEST_SUITE_P(Variants, SimpleEnumerator, ::testing::Values(gtFrisian, gtCanadian),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(GameTypeNames[info.param]);
                         });

}  // namespace
}  // namespace kestrel
