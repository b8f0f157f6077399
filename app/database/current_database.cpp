#include "app/database/current_database.h"

#include <algorithm>

#include "database/db_error.h"
#include "database/derived_header.h"
#include "database/game_io.h"
#include "database/header_records.h"
#include "database/list_texts.h"

namespace kestrel {

TOpenResult TCurrentDatabase::OpenAtStartup(const std::string& path) {
  if (path.empty()) return {TOpenStatus::filesMissing, {}, {}};
  TOpenResult r = OpenDatabase(path, db_, false);
  ResetList();
  return r;
}

TOpenResult TCurrentDatabase::Open(const std::string& path,
                                   const std::function<bool(std::string_view)>& confirmCreate) {
  TOpenResult r;
  try {
    r = OpenOrCreateDatabase(path, db_, confirmCreate);
  } catch (const TDatabaseError& e) {
    r = {TOpenStatus::cannotOpen, e.what(), {}};
  }
  ResetList();
  return r;
}

TOpenResult TCurrentDatabase::OpenReadOnly(const std::string& path) {
  TOpenResult r = OpenDatabase(path, db_, false, TDBAccess::readOnly);
  ResetList();
  return r;
}

TDbOutcome TCurrentDatabase::Close() {
  TDbOutcome outcome = TDbOutcome::Done();
  try {
    CloseDatabase(db_);
  } catch (const TDatabaseError& e) {
    outcome = TDbOutcome::Failed(e.what());
  }
  ResetList();
  return outcome;
}

std::string TCurrentDatabase::Caption() const { return IsOpen() ? DatabaseCaption(db_, list_) : std::string(); }

void TCurrentDatabase::ResetList() {
  list_.Reset(IsOpen() ? db_.DBSize : 0);
  db_.DBCurPos = 1;
}

void TCurrentDatabase::SetCursor(int32_t pos) {
  if (Count() > 0) db_.DBCurPos = std::clamp(pos, 1, Count());
}

int32_t TCurrentDatabase::StepCursor(int direction) {
  if (Count() == 0) return 0;
  int32_t pos = db_.DBCurPos + (direction < 0 ? -1 : 1);
  if (pos < 1) pos = Count();
  if (pos > Count()) pos = 1;
  db_.DBCurPos = pos;
  return pos;
}

void TCurrentDatabase::ToggleSelected(int32_t pos) {
  if (list_.Contains(pos)) list_[pos].selected = !list_[pos].selected;
}

void TCurrentDatabase::SetAllSelected(bool selected) {
  for (int32_t i = 1; i <= Count(); ++i) list_[i].selected = selected;
}

void TCurrentDatabase::SelectNumberRange(int32_t from, int32_t to, bool selected) {
  from = std::max(from, 1);
  to = std::min(to, db_.DBSize);
  for (int32_t i = 1; i <= Count(); ++i)
    if (list_[i].num >= from && list_[i].num <= to) list_[i].selected = selected;
}

bool TCurrentDatabase::IsDeleted(int32_t pos) const {
  TGameHeader h;
  return list_.Contains(pos) && ReadHeaderRecord(db_, list_[pos].num, h) && (h.Flags & hfDeleted) != 0;
}

TDbOutcome TCurrentDatabase::Guard(const std::function<void()>& write) {
  if (!IsOpen()) return TDbOutcome::Failed(DatabaseNotOpenedText);
  try {
    write();
  } catch (const TDatabaseError& e) {
    return TDbOutcome::Failed(e.what());
  }
  return TDbOutcome::Done();
}

TDbOutcome TCurrentDatabase::ToggleDeleted(int32_t pos) {
  return Guard([&] {
    TGameHeader h;
    if (!list_.Contains(pos) || !ReadHeaderRecord(db_, list_[pos].num, h))
      throw TDatabaseError("there is no game at position " + std::to_string(pos));
    h.Flags ^= hfDeleted;
    WriteHeaderRecord(db_, list_[pos].num, h);
  });
}

bool TCurrentDatabase::ReadGameAt(int32_t pos, TGame& game, int32_t& viewSlot, std::string* message) {
  if (!list_.Contains(pos)) {
    if (message) *message = std::string(DatabaseNotOpenedText);
    return false;
  }
  if (!ReadDBGame(db_, list_[pos].num, false, game, message)) return false;
  const int32_t found = list_[pos].gotomove;
  viewSlot = found >= 0 ? found : game.Header.ShowFrom;
  if (viewSlot < 0 || viewSlot > game.Header.LastMove) viewSlot = 0;
  game.Selected = list_[pos].selected;
  game.Modified = false;
  return true;
}

bool TCurrentDatabase::IsFromHere(const TGame& game) const {
  return IsOpen() && game.DBGameNo >= 1 && game.DBGameNo <= db_.DBSize && game.DBName == db_.DBNameMain;
}

TDbOutcome TCurrentDatabase::Save(TGame& game) {
  if (!IsFromHere(game)) return SaveAsNew(game);
  TDbOutcome outcome = Guard([&] { WriteDBGame(game, game.DBGameNo, db_, true); });
  if (outcome.ok) game.Modified = false;
  return outcome;
}

TDbOutcome TCurrentDatabase::SaveAsNew(TGame& game) {
  int32_t number = 0;
  TDbOutcome outcome = Guard([&] { number = WriteDBGame(game, 0, db_, true); });
  if (!outcome.ok) return outcome;
  game.Modified = false;
  game.DBGameNo = number;
  game.DBName = db_.DBNameMain;
  ResetList();
  return outcome;
}

TDbOutcome TCurrentDatabase::Replace(int32_t number, TGame& game) {
  TDbOutcome outcome = Guard([&] { WriteDBGame(game, number, db_, true); });
  if (!outcome.ok) return outcome;
  game.Modified = false;
  game.DBGameNo = number;
  game.DBName = db_.DBNameMain;
  return outcome;
}

int32_t TCurrentDatabase::ListPosOfGame(int32_t number) const {
  for (int32_t i = 1; i <= Count(); ++i)
    if (list_[i].num == number) return i;
  return 0;
}

TDbOutcome TCurrentDatabase::ToggleDeletedOfLoaded(TGame& game) {
  if (!IsOpen()) return TDbOutcome::Failed(DatabaseNotOpenedText);
  if (!IsFromHere(game)) return TDbOutcome::Failed(NoGameFromDatabaseText);
  return Guard([&] {
    TGameHeader h;
    if (!ReadHeaderRecord(db_, game.DBGameNo, h)) throw TDatabaseError("cannot read the game's header");
    h.Flags ^= hfDeleted;
    WriteHeaderRecord(db_, game.DBGameNo, h);
    game.Header.Flags = static_cast<uint8_t>((game.Header.Flags & ~hfDeleted) | (h.Flags & hfDeleted));
  });
}

TDbOutcome TCurrentDatabase::ToggleSelectedOfLoaded(TGame& game) {
  if (!IsOpen()) return TDbOutcome::Failed(DatabaseNotOpenedText);
  if (!IsFromHere(game)) return TDbOutcome::Failed(NoGameFromDatabaseText);
  // The cursor's entry when it holds the game, else the game's own entry.
  int32_t pos = GameAt(Cursor()) == game.DBGameNo ? Cursor() : ListPosOfGame(game.DBGameNo);
  if (pos == 0) return TDbOutcome::Failed(NoGameFromDatabaseText);
  ToggleSelected(pos);
  game.Selected = list_[pos].selected;
  return TDbOutcome::Done();
}

}  // namespace kestrel
