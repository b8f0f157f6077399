#include "database/maintenance/book_builder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string_view>
#include <tuple>

#include "database/file_replace.h"
#include "database/game_io.h"
#include "game/child_index.h"
#include "game/glyphs.h"
#include "game/navigation.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {
namespace {


int PieceCount(const TBrd& b, int type) {
  int n = 0;
  for (int s = 1; s <= GameTypes[type].SquareCount; ++s) n += b[s] != 0;
  return n;
}

// The byte order of packed positions, compared eight bytes at a time: the
// sort compares millions of keys, and byte loops or memcmp calls dominate it.
uint64_t KeyWord(const TPackedBoardNew& p, std::size_t word) {
  uint64_t v;
  std::memcpy(&v, p.data() + 8 * word, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

bool PositionLess(const TOpen& a, const TOpen& b) {
  static_assert(std::tuple_size_v<TPackedBoardNew> == 24);
  const uint64_t a0 = KeyWord(a.position, 0), b0 = KeyWord(b.position, 0);
  if (a0 != b0) return a0 < b0;
  const uint64_t a1 = KeyWord(a.position, 1), b1 = KeyWord(b.position, 1);
  if (a1 != b1) return a1 < b1;
  return KeyWord(a.position, 2) < KeyWord(b.position, 2);
}

uint16_t CappedSum(uint16_t a, uint16_t b) { return static_cast<uint16_t>(std::min<int>(a + b, BookCountCap)); }

std::vector<TOpen> ReadBookRecords(const std::string& path, bool clearStatistics) {
  std::vector<TOpen> records;
  std::ifstream in(path, std::ios::binary);
  if (!in) return records;
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::array<uint8_t, BookRecordSize> bytes;
  for (std::size_t at = 0; at + BookRecordSize <= data.size(); at += BookRecordSize) {
    std::copy_n(reinterpret_cast<const uint8_t*>(data.data()) + at, BookRecordSize, bytes.begin());
    TOpen r = DecodeBookRecord(bytes);
    if (clearStatistics) r.wh = r.dr = r.bl = 0;
    records.push_back(r);
  }
  return records;
}

std::vector<int32_t> ChosenGames(const TGameList& list) {
  std::vector<int32_t> games;
  for (int32_t i = 1; i <= list.GameListCount; ++i)
    if (list[i].selected) games.push_back(list[i].num);
  if (games.empty())
    for (int32_t i = 1; i <= list.GameListCount; ++i) games.push_back(list[i].num);
  return games;
}

}  // namespace

uint8_t BookSignOfGlyph(int glyph) {
  if (glyph < 0 || glyph >= static_cast<int>(MoveGlyphs.size())) return 0;
  return static_cast<uint8_t>(glyph < BookSignNone ? glyph : glyph + 1);
}

void AddGamePositions(const TGame& game, const TBookBuildOptions& options, std::vector<TOpen>& out) {
  TBoard start;
  TDColor first;
  if (!PositionAt(game, 0, start, first)) return;
  const int type = GameTypeOf(game);
  const uint8_t result = game.Header.Result;
  struct TFrame {
    int node;
    TBoard board;
    TDColor side;  // to move in `board`
    int ply;
    bool main;
  };
  // One index of the whole tree: asking each node for its children would
  // scan every slot of the game once per node.
  const TChildIndex index(game, std::min<int>(game.Header.LastMove, game.SlotCount() - 1));
  std::vector<TFrame> stack{{0, start, first, 0, true}};
  std::size_t visited = 0;
  while (!stack.empty() && visited++ <= static_cast<std::size_t>(game.SlotCount())) {
    const TFrame f = stack.back();
    stack.pop_back();
    if (f.ply > 2 * options.maxMoves) continue;
    if (PieceCount(f.board.b, type) < options.minPieces) continue;
    if (f.node != 0) {
      TOpen r;
      r.position = BookNormalForm(f.board.b, f.side, type);
      r.eval = BookNoEval;
      r.sign = BookSignOfGlyph(MoveGlyphCode(game.Moves[f.node].comm));
      if (f.main) {
        if (result == 2) r.dr = 1;
        const bool whiteToMove = f.side == TDColor::white;
        if (result == 1) (whiteToMove ? r.wh : r.bl) = 1;
        if (result == 3) (whiteToMove ? r.bl : r.wh) = 1;
      }
      out.push_back(r);
    }
    if (f.ply >= 2 * options.maxMoves) continue;  // the children would be past the limit
    const std::span<const int32_t> children = index.Children(f.node);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      TBoard next = f.board;
      ApplyMove(game.Moves[*it], next, type);
      stack.push_back({*it, next, Opponent(f.side), f.ply + 1, f.main && game.Moves[*it].main});
    }
  }
}

void MergeBookRecords(std::vector<TOpen>& records, TProgress& progress) {
  {
    TProgressStage stage(progress, BuildTreeCaption, TreeSortingText, 1);
    std::sort(records.begin(), records.end(), PositionLess);
  }
  TProgressStage stage(progress, BuildTreeCaption, TreeMovingText, static_cast<int64_t>(records.size()));
  std::size_t kept = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (kept > 0 && records[kept - 1].position == records[i].position) {
      TOpen& m = records[kept - 1];
      const TOpen& r = records[i];
      m.wh = CappedSum(m.wh, r.wh);
      m.dr = CappedSum(m.dr, r.dr);
      m.bl = CappedSum(m.bl, r.bl);
      m.sign = std::max(m.sign, r.sign);
      m.comm = std::max(m.comm, r.comm);
      // Only the book's own records carry evaluations; the sort may put a
      // game's record first, and its "none" must not drop the book's value.
      if (m.eval == BookNoEval) m.eval = r.eval;
    } else {
      records[kept++] = records[i];
    }
    if ((i + 1) % 100000 == 0) stage.Step(static_cast<int64_t>(i + 1));
  }
  records.resize(kept);
}

TBookBuildReport BuildBookFromDatabase(TKestrelDB& db, const TGameList& list, const std::string& bookPath,
                                       const TBookBuildOptions& options, TProgress& progress,
                                       TOpeningBook* engineBook) {
  TBookBuildReport report;
  std::error_code ec;
  const bool reopen = engineBook && engineBook->IsOpen() &&
                      std::filesystem::equivalent(engineBook->Path(), bookPath, ec);
  if (reopen) engineBook->Close();
  // However the run ends (cancelled, failed), the engine gets its book back.
  struct TReopen {
    TOpeningBook* book;
    const std::string& path;
    ~TReopen() {
      if (book) book->BookIni(path);
    }
  } reopenAtEnd{reopen ? engineBook : nullptr, bookPath};

  const std::vector<int32_t> games = ChosenGames(list);
  report.games = static_cast<int32_t>(games.size());
  // One pass over the games: decoding a game costs far more than the
  // vector's growth, so the games are not walked a second time to count.
  std::vector<TOpen> records = ReadBookRecords(bookPath, options.clearStatistics);
  // Room for the usual main line of each game; variations grow the array.
  records.reserve(records.size() + games.size() * static_cast<std::size_t>(std::min(2 * options.maxMoves, 60)));
  {
    TProgressStage stage(progress, BuildTreeCaption, TreeReadingText, report.games);
    TGame game;
    for (std::size_t i = 0; i < games.size(); ++i) {
      const std::size_t before = records.size();
      if (ReadDBGame(db, games[i], false, game))
        AddGamePositions(game, options, records);
      else
        ++report.unreadable;
      report.positions += static_cast<int64_t>(records.size() - before);
      if ((i + 1) % 100 == 0 && !stage.Step(static_cast<int64_t>(i + 1))) {
        report.cancelled = true;
        return report;
      }
    }
  }
  MergeBookRecords(records, progress);
  {
    TProgressStage stage(progress, BuildTreeCaption, TreeWritingText, static_cast<int64_t>(records.size()));
    std::string data;
    data.reserve(records.size() * BookRecordSize);
    for (const TOpen& r : records) {
      const auto bytes = EncodeBookRecord(r);
      data.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    ReplaceFileContents(bookPath, data);
  }
  report.records = static_cast<int64_t>(records.size());
  return report;
}

}  // namespace kestrel
