// Commands of the database window that copy games out of the database, merge
// games into it, repair its name lists, find duplicate games, edit stored
// headers and append games to the game on the main board: "Copy", "Merge
// databases", "Repair Database headers", "Match games", "Edit header",
// "Headers" -> "Set" and "Append". Open games whose stored header was
// rewritten take the new one, so that "Save" does not bring the old one back.
#pragma once

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

#include "database/maintenance/bulk_edit.h"
#include "database/maintenance/duplicates.h"
#include "game/game_header.h"

class QAction;

namespace kestrel {

class DatabaseWindow;
class MainWindowDatabase;
class TPlayController;
struct Settings;

class DatabaseEditCommands : public QObject {
  Q_OBJECT

 public:
  DatabaseEditCommands(MainWindowDatabase& database, TPlayController& controller, const Settings& settings);

  QAction* copyAction() const { return copy_; }
  QAction* mergeAction() const { return merge_; }
  QAction* repairAction() const { return repair_; }
  QAction* matchAction() const { return match_; }
  QAction* editHeaderAction() const { return editHeader_; }
  QAction* headersSetAction() const { return headersSet_; }
  QAction* appendAction() const { return append_; }

  // Questions and messages; tests replace them. Each returns false (or an
  // empty answer) when the user cancels.
  std::function<void(const QString& message)> showMessage;
  std::function<QString()> askCopyTarget;
  std::function<QStringList()> askMergeFiles;
  std::function<bool(TMatchOptions& options)> askMatch;
  std::function<bool(THeaderFields& fields)> askHeaders;
  std::function<bool(TQuickGameHeader& header)> askHeader;

 private:
  void Run(const std::function<QString()>& command, bool writes = true);
  QString Repair();
  QString Copy();
  QString Merge();
  QString Match();
  QString EditHeader();
  QString SetHeaders();
  QString Append();
  // Open games of this database among `numbers` take their stored header.
  void TakeStoredHeaders(const std::vector<int32_t>& numbers);

  MainWindowDatabase& database_;
  DatabaseWindow& window_;
  TPlayController& controller_;
  const Settings& settings_;
  QAction* copy_;
  QAction* merge_;
  QAction* repair_;
  QAction* match_;
  QAction* editHeader_;
  QAction* headersSet_;
  QAction* append_;
};

}  // namespace kestrel
