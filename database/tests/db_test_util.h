// Helpers shared by the database tests: a scratch folder, move records built
// by hand, and the comparison of stored games.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "database/database_file.h"
#include "database/db_error.h"
#include "database/game_io.h"
#include "database/kestrel_db.h"
#include "engine/packed_board.h"
#include "test_support/random_game.h"
#include "test_support/temp_dir.h"
#include "game/game.h"
#include "game/move_tree.h"
#include "game/new_game.h"
#include "rules/game_types.h"

namespace kestrel::testing {

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadText(const std::string& path) {
  const auto b = ReadBytes(path);
  return {b.begin(), b.end()};
}

inline TMove Step(int from, int to) {
  TMove m;
  m.mv[0] = static_cast<uint8_t>(from);
  m.mv[1] = static_cast<uint8_t>(to);
  return m;
}

// A capture from path[0] taking taken[k] and landing on path[k + 1].
inline TMove Capture(const std::vector<int>& path, const std::vector<int>& taken) { return MoveRecord(path, taken); }

// A game of `type` with a main line of `plies` moves after the start.
inline TGame LineGame(int type, int plies) {
  TGame game;
  NewGame(game, type);
  int node = 0;
  const int squares = GameTypes[type].SquareCount;
  for (int i = 0; i < plies; ++i) node = AddMove(game, node, Step(1 + i % squares, 1 + (i + 5) % squares)).slot;
  return game;
}

// Slots 1..LastMove, the start position and every comment that is stored.
inline void ExpectSameMoves(const TGame& expected, const TGame& actual) {
  ASSERT_EQ(actual.Header.LastMove, expected.Header.LastMove);
  EXPECT_EQ(actual.StartBoard, expected.StartBoard);
  EXPECT_EQ(actual.CommentsAft[0], expected.CommentsAft[0]);
  for (int i = 1; i <= expected.Header.LastMove; ++i) {
    const TMove& e = expected.Moves[i];
    const TMove& a = actual.Moves[i];
    ASSERT_EQ(a.free, e.free) << "slot " << i;
    EXPECT_EQ(a.main, e.main) << "slot " << i;
    EXPECT_EQ(a.parent, e.parent) << "slot " << i;
    EXPECT_EQ(a.comm, e.comm) << "slot " << i;
    EXPECT_EQ(a.flags, e.flags) << "slot " << i;
    ASSERT_EQ(a.lt, e.lt) << "slot " << i;
    for (int b = 0; b < e.UsedBytes(); ++b) EXPECT_EQ(a.mv[b], e.mv[b]) << "slot " << i << " byte " << b;
    EXPECT_EQ(actual.CommentsBef[i], expected.CommentsBef[i]) << "slot " << i;
    EXPECT_EQ(actual.CommentsAft[i], expected.CommentsAft[i]) << "slot " << i;
  }
}

// The stored header fields; Crc and the derived ones included.
inline void ExpectSameHeader(const TGameHeader& e, const TGameHeader& a) {
  EXPECT_EQ(a.White.NameIndex, e.White.NameIndex);
  EXPECT_EQ(a.White.Title, e.White.Title);
  EXPECT_EQ(a.White.Rating, e.White.Rating);
  EXPECT_EQ(a.White.Country, e.White.Country);
  EXPECT_EQ(a.Black.NameIndex, e.Black.NameIndex);
  EXPECT_EQ(a.Black.Rating, e.Black.Rating);
  EXPECT_EQ(a.AnnotatorIndex, e.AnnotatorIndex);
  EXPECT_EQ(a.TournamentIndex, e.TournamentIndex);
  EXPECT_EQ(a.SiteIndex, e.SiteIndex);
  EXPECT_EQ(a.Round, e.Round);
  EXPECT_EQ(a.Subround, e.Subround);
  EXPECT_EQ(a.Date.Day, e.Date.Day);
  EXPECT_EQ(a.Date.Month, e.Date.Month);
  EXPECT_EQ(a.Date.Year, e.Date.Year);
  EXPECT_EQ(a.Flags, e.Flags);
  EXPECT_EQ(a.ShowFrom, e.ShowFrom);
  EXPECT_EQ(a.FirstMove, e.FirstMove);
  EXPECT_EQ(a.TypeOfGame, e.TypeOfGame);
  EXPECT_EQ(a.Result, e.Result);
  EXPECT_EQ(a.NumerationFrom, e.NumerationFrom);
  EXPECT_EQ(a.LastMove, e.LastMove);
  EXPECT_EQ(a.GameLength, e.GameLength);
  EXPECT_EQ(a.Offset, e.Offset);
  EXPECT_EQ(a.Length, e.Length);
  EXPECT_EQ(a.Opening, e.Opening);
  EXPECT_EQ(a.Medals, e.Medals);
  EXPECT_EQ(a.Crc, e.Crc);
}

// An open, empty database in `dir`.
inline void FreshDatabase(const TempDir& dir, TKestrelDB& db, const std::string& name = "games") {
  CreateDatabase(dir.File(name + ".abd"), db);
  ASSERT_TRUE(db.DBOpened);
}

}  // namespace kestrel::testing
