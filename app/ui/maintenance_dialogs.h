// Dialogs of the database window's maintenance commands: "Sort games" and
// "Match games". Each only shows and returns values; the
// commands themselves are in database/maintenance.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "database/maintenance/duplicates.h"
#include "database/maintenance/game_sort.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QSpinBox;

namespace kestrel {

// Nine keys in a list reordered with "Up" and "Down" (Ctrl+Up, Ctrl+Down);
// "Save to database" is enabled only when the list holds the whole database.
class SortGamesDialog : public QDialog {
  Q_OBJECT

 public:
  SortGamesDialog(bool wholeDatabase, QWidget* parent = nullptr);

  std::vector<TSortKey> Keys() const;
  bool SaveToDatabase() const;
  void MoveCurrent(int by);

  QListWidget* keyList() const { return keys_; }
  QCheckBox* saveBox() const { return save_; }

 private:
  QListWidget* keys_;
  QCheckBox* save_;
};

class MatchGamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MatchGamesDialog(QWidget* parent = nullptr);
  TMatchOptions Options() const;

  QCheckBox* movesBox() const { return moves_; }
  QComboBox* lengthBox() const { return length_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  std::function<void()> languageTexts_;
  QCheckBox *names_, *year_, *tournament_, *moves_, *start_, *fast_;
  QComboBox *method_, *length_;
};

}  // namespace kestrel
