// The bitboard generator against the rules core: at every position of many
// random games and random positions with kings, both must reach the same set
// of positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "engine/bitboard.h"
#include "engine/bitboard_movegen.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "test_support/capture_maze.h"

namespace kestrel {
namespace {

using PositionSet = std::set<std::tuple<uint64_t, uint64_t, uint64_t>>;

// Games and random positions per variant, sized for a few seconds in all.
constexpr int GamesPerVariant = 1000;
constexpr int MaxPlies = 200;
constexpr int RandomPositionsPerVariant = 8000;
constexpr int CaptureMazesPerVariant = 6000;

std::string Describe(const TBrd& brd, int type) {
  std::ostringstream out;
  for (const auto& [side, sign] : {std::pair{"W", 1}, std::pair{"B", -1}}) {
    out << side << ':';
    for (int s = 1; s <= GameTypes[type].SquareCount; ++s)
      if (brd[s] * sign > 0) out << (brd[s] * sign == 2 ? "K" : "") << s << ' ';
  }
  return out.str();
}

class Agreement : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    type_ = GetParam();
    SetGameType(type_);
    mask_ = GameTypes[type_].BoardMask;
  }

  // Compares both generators on `board` with `side` to move; returns the
  // rules core's moves for the caller to continue the game.
  uint8_t Compare(const TBoard& board, TDColor side, TMoveList& moves) {
    uint8_t n = 0;
    GenerateMoveList(board, side, moves, type_, n);

    TBitBoard64 pos;
    BoardToBit64(board, pos, type_);
    if (side == TDColor::black) FlipBitBoard(pos, type_);
    TBitMoveList list;
    uint8_t count = 0;
    GenerateMoves(pos, list, count, type_);
    // Both lists hold every distinct position while there are fewer than
    // MaxMoves of them, however many routes lead there; a full bitboard
    // list may have been cut short.
    if (count >= MaxMoves) {
      ++skipped_;
      return n;
    }
    ++compared_;

    PositionSet fromRules;
    for (int i = 0; i < n; ++i) {
      TBoard after = board;
      ApplyMove(moves[i], after, type_);
      TBitBoard64 bb;
      BoardToBit64(after, bb, type_);
      if (side == TDColor::black) FlipBitBoard(bb, type_);
      fromRules.insert({bb.w, bb.b, bb.k});
    }
    PositionSet fromBits;
    for (int i = 0; i < count; ++i) {
      const TBitBoard64& r = list[i];
      EXPECT_EQ((r.w | r.b | r.k) & ~mask_, 0u) << "bit outside the board";
      EXPECT_EQ(r.w & r.b, 0u);
      EXPECT_EQ(r.k & ~(r.w | r.b), 0u);
      fromBits.insert({r.w, r.b, r.k});
    }

    // The rules core's own removal of repeated routes keeps one move per
    // position.
    if (n > 1 && moves[0].lt > 0) {
      TMoveList distinct = moves;
      uint8_t left = n;
      removedoublemoves(left, distinct, board, type_);
      EXPECT_EQ(left, fromRules.size()) << Describe(board.b, type_);
    }

    const bool mustCapture = n > 0 && moves[0].lt > 0;
    TBitBoard64 seenByOpponent = pos;
    FlipBitBoard(seenByOpponent, type_);
    const bool masksAgree = (CaptureMask(pos, type_) != 0) == mustCapture &&
                            (OpponentCaptureMask(seenByOpponent, type_) != 0) == mustCapture;

    if (fromRules != fromBits || !masksAgree) {
      ++failures_;
      if (failures_ <= 5) ADD_FAILURE() << Report(board, side, fromRules, fromBits, masksAgree);
    }
    return n;
  }

  std::string Report(const TBoard& board, TDColor side, const PositionSet& rules, const PositionSet& bits,
                     bool masksAgree) {
    std::ostringstream out;
    out << GameTypeNames[type_] << ", " << (side == TDColor::white ? "White" : "Black")
        << " to move: " << Describe(board.b, type_) << "\n";
    if (!masksAgree) out << "  capture masks disagree with the rules core\n";
    auto list = [&](const char* title, const PositionSet& a, const PositionSet& b) {
      for (const auto& key : a) {
        if (b.count(key)) continue;
        TBitBoard64 p{std::get<0>(key), std::get<1>(key), std::get<2>(key)};
        if (side == TDColor::black) FlipBitBoard(p, type_);
        TBrd brd;
        Bit64toBoard(p, brd, type_);
        out << "  " << title << ": " << Describe(brd, type_) << "\n";
      }
    };
    list("only the rules core", rules, bits);
    list("only the bitboard", bits, rules);
    return out.str();
  }

  TBoard RandomPositionWithKings(std::mt19937& rng) {
    const int squares = GameTypes[type_].SquareCount;
    TBoard board;
    std::vector<int> free(squares);
    for (int s = 1; s <= squares; ++s) free[s - 1] = s;
    std::shuffle(free.begin(), free.end(), rng);
    std::uniform_int_distribution<int> kings(1, 3), men(0, squares / 4);
    size_t next = 0;
    for (TDColor c : {TDColor::white, TDColor::black}) {
      const int8_t sign = c == TDColor::white ? 1 : -1;
      for (int i = kings(rng); i > 0 && next < free.size(); --i) board.b[free[next++]] = static_cast<int8_t>(2 * sign);
      for (int i = men(rng); i > 0 && next < free.size(); --i) {
        const int s = free[next++];
        // A man never stands on the row where it would have been crowned.
        if (!IsPromotionSquare(s, c, type_)) board.b[s] = sign;
      }
    }
    return board;
  }

  int type_ = 0;
  uint64_t mask_ = 0;
  int compared_ = 0;
  int skipped_ = 0;
  int failures_ = 0;
};

TEST_P(Agreement, RandomGames) {
  std::mt19937 rng(1000 + type_);
  TMoveList moves;
  for (int game = 0; game < GamesPerVariant; ++game) {
    TBoard board = InitialPosition(type_);
    TDColor side = TDColor::white;
    for (int ply = 0; ply < MaxPlies; ++ply) {
      const uint8_t n = Compare(board, side, moves);
      if (n == 0) break;
      ApplyMove(moves[std::uniform_int_distribution<int>(0, n - 1)(rng)], board, type_);
      side = Opponent(side);
    }
  }
  RecordProperty("positions", compared_);
  EXPECT_EQ(failures_, 0) << "of " << compared_ << " positions";
  EXPECT_GT(compared_, GamesPerVariant * 20);
  EXPECT_LT(skipped_, compared_ / 100 + 1);
}

TEST_P(Agreement, RandomPositionsWithKings) {
  std::mt19937 rng(2000 + type_);
  TMoveList moves;
  for (int i = 0; i < RandomPositionsPerVariant; ++i) {
    const TBoard board = RandomPositionWithKings(rng);
    Compare(board, TDColor::white, moves);
    Compare(board, TDColor::black, moves);
  }
  RecordProperty("positions", compared_);
  EXPECT_EQ(failures_, 0) << "of " << compared_ << " positions";
  EXPECT_LT(skipped_, compared_ / 100 + 1);
}

// Crowded boards around long capture routes that often cross themselves,
// with further kings of both sides: where the two generators' capture
// searches part ways, if anywhere.
TEST_P(Agreement, CaptureMazes) {
  std::mt19937 rng(3000 + type_);
  TMoveList moves;
  int longest = 0;
  for (int i = 0; i < CaptureMazesPerVariant; ++i) {
    const TDColor side = i % 2 == 0 ? TDColor::white : TDColor::black;
    const TBoard board = testing::CaptureMaze(type_, side, rng);
    const uint8_t n = Compare(board, side, moves);
    for (int k = 0; k < n; ++k) longest = std::max<int>(longest, moves[k].lt);
  }
  RecordProperty("longest", longest);
  EXPECT_EQ(failures_, 0) << "of " << compared_ << " positions";
  // The hunt must reach long chains wherever the rules allow them.
  if (!GameTypes[type_].ShortKings) {
    EXPECT_GE(longest, GameTypes[type_].SquareCount >= 50 ? 12 : 8);
  }
  EXPECT_LT(skipped_, compared_ / 100 + 1);
}

// Positions the hunt once found, where the rules core lost moves: kings
// with more routes than the move list holds, most of them repeats.
struct TKnownPosition {
  int type;
  TDColor side;
  const char* pieces;  // as Describe writes them
};
constexpr TKnownPosition KnownPositions[] = {
    {gtInternational, TDColor::white, "W:1 5 K13 B:K4 K6 K7 8 K14 15 16 21 K25 K26 K32 34 K35 K42 K43 K44 45 46"},
    {gtInternational, TDColor::black, "W:K5 6 8 K9 K10 16 18 19 21 K23 26 30 36 K37 41 43 45 B:K3 39 K47 K48 K49"},
    {gtInternational, TDColor::black, "W:6 K8 13 K14 15 K16 K25 28 K32 34 35 K41 42 44 45 B:31 K33 K39"},
};

TEST_P(Agreement, KnownPositions) {
  TMoveList moves;
  for (const TKnownPosition& known : KnownPositions) {
    if (known.type != type_) continue;
    TBoard board;
    int sign = 1;
    std::istringstream in(known.pieces);
    for (std::string word; in >> word;) {
      if (word.rfind("W:", 0) == 0 || word.rfind("B:", 0) == 0) {
        sign = word[0] == 'W' ? 1 : -1;
        word.erase(0, 2);
      }
      const bool king = word[0] == 'K';
      board.b[std::stoi(word.substr(king ? 1 : 0))] = static_cast<int8_t>(sign * (king ? 2 : 1));
    }
    Compare(board, known.side, moves);
  }
  EXPECT_EQ(failures_, 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, Agreement,
                         ::testing::Values(gtRussian, gtEnglish, gtBrazilian, gtPool, gtItalian, gtInternational,
                                           gtCzech, gtSpanish, gtSpantsiretti, gtThai),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(GameTypeNames[info.param]);
                         });

}  // namespace
}  // namespace kestrel
