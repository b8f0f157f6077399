// The "Maintenance" menu of the database window: sorting the list (and
// saving its order), physical delete, the clean-ups, the check, the backup and removing comments or variations of
// the selected games. Commands that renumber games refresh the list and
// take the database number from every open game whose number moved, so
// that "Save" can never write over another game.
#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

#include "database/maintenance/game_sort.h"

class QAction;
class QMenu;
class QWidget;

namespace kestrel {

class DatabaseWindow;
class TPlayController;
struct TRenumbering;

class DatabaseMaintenanceMenu : public QObject {
  Q_OBJECT

 public:
  DatabaseMaintenanceMenu(DatabaseWindow& window, TPlayController& controller);

  QMenu* menu() const { return menu_; }
  QAction* deleteSelectedAction() const { return deleteSelected_; }
  QAction* quickCleanUpAction() const { return quickCleanUp_; }
  QAction* fullCleanUpAction() const { return fullCleanUp_; }
  QAction* checkAction() const { return check_; }
  QAction* backupAction() const { return backup_; }
  QAction* removeCommentsAction() const { return removeComments_; }
  QAction* removeVariationsAction() const { return removeVariations_; }
  QAction* sortAction() const { return sort_; }

  // Questions and messages; tests replace them.
  std::function<bool(const QString& question)> confirm;
  std::function<void(const QString& message)> showMessage;
  std::function<QString(const QString& proposed)> askBackupFile;
  // The sort keys and whether to save the order; false when cancelled.
  std::function<bool(bool wholeDatabase, std::vector<TSortKey>& keys, bool& save)> askSort;

 private:
  // Runs `command` on the open, writable database; a failure becomes a
  // message and leaves the database as the command found it.
  void Run(const std::function<QString()>& command, bool writes = true);
  void Renumbered(const TRenumbering& renumbering);

  DatabaseWindow& window_;
  TPlayController& controller_;
  QMenu* menu_;
  QAction* deleteSelected_;
  QAction* quickCleanUp_;
  QAction* fullCleanUp_;
  QAction* check_;
  QAction* backup_;
  QAction* removeComments_;
  QAction* removeVariations_;
  QAction* sort_;
};

}  // namespace kestrel
