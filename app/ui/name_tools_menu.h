// The "Tools" menu of the database window: "Build tree" into an opening
// book (the engine's book and the book grid show the new moves at once),
// "Make tournaments list", and the "Names" tools: "Save names sorted",
// "Correct names", "Gambler Rename" and "Transliterate names".
#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "database/maintenance/book_builder.h"

class QAction;
class QMenu;

namespace kestrel {

class DatabaseWindow;
class TPlayController;
class TournamentListWindow;

class NameToolsMenu : public QObject {
  Q_OBJECT

 public:
  NameToolsMenu(DatabaseWindow& window, TPlayController& controller);

  QMenu* menu() const { return menu_; }
  QAction* buildTreeAction() const { return buildTree_; }
  QAction* tournamentsAction() const { return tournaments_; }
  QAction* saveNamesAction() const { return saveNames_; }
  QAction* correctNamesAction() const { return correctNames_; }
  QAction* gamblerAction() const { return gambler_; }
  QAction* transliterateAction() const { return transliterate_; }
  // The summary window, made by the first "Make tournaments list".
  TournamentListWindow* tournamentWindow() const { return tournamentWindow_; }

  // Questions and messages; tests replace them.
  std::function<bool(const QString& question)> confirm;
  std::function<void(const QString& message)> showMessage;
  std::function<QString(const QString& title, const QString& filter)> askSaveFile;
  // The "Build tree" dialog: the book (starting with `book`) and the
  // options; false when cancelled.
  std::function<bool(QString& book, TBookBuildOptions& options)> askBuildTree;

 private:
  void Run(const std::function<QString()>& command, bool writes);
  QString BuildTree();
  QString ShowTournaments();
  QString SaveNamesSorted();
  // A tool that changes one or more name lists in place: the list shows the
  // new names at once.
  QString ChangeNames(const std::function<int32_t()>& tool, const QString& done);

  DatabaseWindow& window_;
  TPlayController& controller_;
  QMenu* menu_;
  QAction* buildTree_;
  QAction* tournaments_;
  QAction* saveNames_;
  QAction* correctNames_;
  QAction* gambler_;
  QAction* transliterate_;
  TournamentListWindow* tournamentWindow_ = nullptr;
};

}  // namespace kestrel
