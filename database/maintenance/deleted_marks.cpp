#include "database/maintenance/deleted_marks.h"

#include "database/derived_header.h"
#include "database/game_io.h"

namespace kestrel {

bool IsMarkedDeleted(const TKestrelDB& db, int32_t n) {
  TGameHeader h;
  return ReadHeaderRecord(db, n, h) && (h.Flags & hfDeleted) != 0;
}

bool SetDeletedMark(TKestrelDB& db, int32_t n, bool deleted) {
  TGameHeader h;
  if (!ReadHeaderRecord(db, n, h)) return false;
  const uint8_t flags = deleted ? (h.Flags | hfDeleted) : (h.Flags & ~hfDeleted);
  if (flags == h.Flags) return true;
  h.Flags = flags;
  WriteHeaderRecord(db, n, h);
  return true;
}

void DeleteCommand(TKestrelDB& db, const TGameList& list) {
  int32_t first = 0;
  for (int32_t i = 1; i <= list.GameListCount && first == 0; ++i)
    if (list[i].selected) first = i;
  if (first == 0) {
    if (list.Contains(db.DBCurPos)) {
      const int32_t n = list[db.DBCurPos].num;
      SetDeletedMark(db, n, !IsMarkedDeleted(db, n));
    }
    return;
  }
  const bool mark = !IsMarkedDeleted(db, list[first].num);
  for (int32_t i = first; i <= list.GameListCount; ++i)
    if (list[i].selected) SetDeletedMark(db, list[i].num, mark);
}

void SelectAll(TGameList& list, bool selected) {
  for (int32_t i = 1; i <= list.GameListCount; ++i) list[i].selected = selected;
}

void SelectGameRange(TGameList& list, int32_t from, int32_t to, bool selected) {
  for (int32_t i = 1; i <= list.GameListCount; ++i)
    if (list[i].num >= from && list[i].num <= to) list[i].selected = selected;
}

}  // namespace kestrel
