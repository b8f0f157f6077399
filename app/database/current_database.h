// CurrentDB: the one game database the program keeps open, with the game
// list the database window shows and the commands that act on it: opening
// at start-up and from the window, closing, saving the current game (over its
// old place or as a new game), replacing, the deleted and selection marks,
// moving through the list with wrapping, and reading the game at a list
// position. Plain C++: the windows ask the questions and show the answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "database/database_file.h"
#include "database/game_list.h"
#include "database/kestrel_db.h"
#include "game/game.h"

namespace kestrel {

inline constexpr std::string_view NoGameFromDatabaseText = "No game loaded from database.";  // language text 275

// What a command did; `message` says why when it did not.
struct TDbOutcome {
  bool ok = false;
  std::string message;
  static TDbOutcome Done() { return {true, {}}; }
  static TDbOutcome Failed(std::string_view why) { return {false, std::string(why)}; }
};

class TCurrentDatabase {
 public:
  bool IsOpen() const { return db_.DBOpened; }
  bool ReadOnly() const { return db_.DBReadOnly; }
  const TKestrelDB& DB() const { return db_; }
  TKestrelDB& DB() { return db_; }
  const TGameList& List() const { return list_; }
  // The list itself, for commands that reorder it (sorting).
  TGameList& MutableList() { return list_; }
  int32_t Count() const { return list_.GameListCount; }
  // The cursor: a list position 1..Count(), 0 while the list is empty.
  int32_t Cursor() const { return Count() == 0 ? 0 : db_.DBCurPos; }
  // The game number at list position `pos`; 0 outside the list.
  int32_t GameAt(int32_t pos) const { return list_.Contains(pos) ? list_[pos].num : 0; }

  // Start-up: the database of the "Database" setting, without conversion
  // and without questions. An empty path opens nothing.
  TOpenResult OpenAtStartup(const std::string& path);
  // "Open": OpenOrCreateDatabase with the question asked by `confirmCreate`.
  TOpenResult Open(const std::string& path, const std::function<bool(std::string_view)>& confirmCreate);
  // A database another program writes, opened to be read only.
  TOpenResult OpenReadOnly(const std::string& path);
  // "Close database" and the exit: the names are written, the list emptied.
  TDbOutcome Close();

  // " Database X.abd (found 3/17)"; empty while none is open.
  std::string Caption() const;

  // ---- The list.
  void ResetList();
  void SetCursor(int32_t pos);
  // Previous or next entry with wrapping (F3/F4); the new cursor, 0 on an
  // empty list.
  int32_t StepCursor(int direction);
  void ToggleSelected(int32_t pos);
  void SetAllSelected(bool selected);
  // Keypad + and -: every entry whose game number lies in from..to.
  void SelectNumberRange(int32_t from, int32_t to, bool selected);
  // The deleted mark of the game at `pos`, toggled in its header record.
  TDbOutcome ToggleDeleted(int32_t pos);
  bool IsDeleted(int32_t pos) const;

  // Reads the game at list position `pos` as a load does: its viewing start
  // is the entry's found position when there is one, and it takes the
  // entry's selection mark. False with the reason for a damaged game.
  bool ReadGameAt(int32_t pos, TGame& game, int32_t& viewSlot, std::string* message = nullptr);

  // ---- Saving.
  // Whether `game` was loaded from this database (and may be written back
  // over its old number).
  bool IsFromHere(const TGame& game) const;
  // "Save": over its number when it came from here, else as a new game.
  // Clears its modified mark on success; a failure leaves it modified.
  TDbOutcome Save(TGame& game);
  // "Save game (as new)".
  TDbOutcome SaveAsNew(TGame& game);
  // "Replace": game `number` replaced by `game`.
  TDbOutcome Replace(int32_t number, TGame& game);
  // Main window "Delete" (Shift+Del) and "Select" (Shift+Ins) for the game
  // loaded from here.
  TDbOutcome ToggleDeletedOfLoaded(TGame& game);
  TDbOutcome ToggleSelectedOfLoaded(TGame& game);

 private:
  TDbOutcome Guard(const std::function<void()>& write);
  int32_t ListPosOfGame(int32_t number) const;

  TKestrelDB db_;
  TGameList list_;
};

}  // namespace kestrel
