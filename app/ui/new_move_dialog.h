// "New move": the move played differs from the continuations already in the
// game; the user adds it as a new variation, replaces one of them or cancels.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "game/game_observer.h"

class QListWidget;
class QPushButton;

namespace kestrel {

class NewMoveDialog : public QDialog {
  Q_OBJECT

 public:
  explicit NewMoveDialog(QWidget* parent = nullptr);

  void SetContinuations(const std::vector<std::string>& texts, int preselected);
  // The answer after exec(): Cancel also when the window was closed.
  TNewMoveChoice Choice() const { return choice_; }

  QPushButton* newVariationButton() const { return newVariation_; }
  QPushButton* replaceButton() const { return replace_; }
  QListWidget* list() const { return list_; }

 private:
  void Answer(TNewMoveAnswer answer);

  QListWidget* list_;
  QPushButton* newVariation_;
  QPushButton* replace_;
  TNewMoveChoice choice_;
};

}  // namespace kestrel
