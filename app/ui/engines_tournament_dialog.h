// The "Engines Tournament" dialog: the sortition and save databases, the
// engine files, how many functions play and survive, how offspring are
// bred, and the time control of the games.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "app/play/time_control.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace kestrel {

struct TTournamentChoices {
  std::string sortition;          // path of the sortition database
  int sortitionGames = 0;
  std::string save;               // path of the save database
  std::vector<std::string> engines;
  int gamesForMatch = 1;          // M
  int totalFunctions = 20;        // N
  int bestInRound = 1;            // B
  int mutateStage = 4;            // 0..3, 4 = "All"
  bool staticFlag = true;
  bool dynamicFlag = true;
  std::string namePrefix;
  bool runNext = false;
  TSetTimeValues time;
};

class EnginesTournamentDialog : public QDialog {
  Q_OBJECT

 public:
  // `startFolder` is where the file choices begin (the program's "Bases").
  EnginesTournamentDialog(QString startFolder, QWidget* parent = nullptr);

  // What the Browse buttons do after the file choice; false with a message
  // shown when the database cannot be opened.
  bool SetSortitionDatabase(const QString& path);
  bool SetSaveDatabase(const QString& path);
  void AddEngines(const QStringList& files);

  TTournamentChoices Choices() const;

  QListWidget* engineList() const { return engines_; }
  QSpinBox* totalFunctions() const { return total_; }
  QSpinBox* gamesForMatch() const { return games_; }
  QSpinBox* minutes(int side) const { return minutes_[side]; }

  // OK: closes only when both databases are open.
  void accept() override;

 private:
  // The sortition database with its count of positions.
  void ShowSortitionCount();
  QString folder_;
  std::string sortition_, save_;
  int sortitionGames_ = 0;
  QLabel* sortitionLabel_;
  QLabel* saveLabel_;
  QSpinBox* games_;
  QListWidget* engines_;
  QSpinBox* total_;
  QSpinBox* best_;
  QComboBox* stage_;
  QCheckBox* static_;
  QCheckBox* dynamic_;
  QLineEdit* prefix_;
  QCheckBox* runNext_;
  QSpinBox* minutes_[2];
  QSpinBox* seconds_[2];
  QSpinBox* moves_;
};

}  // namespace kestrel
