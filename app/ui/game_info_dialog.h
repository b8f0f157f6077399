// "Game information": the header of a game with its five names.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "game/game_header.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace kestrel {

// Fills the editable list of a name box with `names` (8-bit text), sorted,
// keeping what the user has typed.
void FillNameBox(QComboBox* box, std::vector<std::string> names);

class GameInfoDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GameInfoDialog(QWidget* parent = nullptr);

  // `resultStyle` is "ResType"; the player labels follow the colour rule.
  void SetHeader(const TQuickGameHeader& header, int type, bool poolWhiteBottom, int resultStyle);
  // The names of the open database to choose from: players (also for the
  // annotator), tournaments and sites. Without a database only typed names.
  void SetNameLists(const std::vector<std::string>& players, const std::vector<std::string>& tournaments,
                    const std::vector<std::string>& sites);
  // The dialog's values over the header given to SetHeader.
  TQuickGameHeader Header() const;

  QComboBox* whiteName() const { return names_[0]; }
  QComboBox* result() const { return result_; }
  QLabel* playerLabel(int side) const { return playerLabels_[side]; }

 private:
  QComboBox* NameBox();

  TQuickGameHeader original_;
  QLabel* playerLabels_[2];
  QComboBox* names_[3];  // White, Black, Annotator
  QComboBox* tournament_;
  QComboBox* site_;
  QComboBox* title_[2];
  QSpinBox* rating_[2];
  QComboBox* country_[2];
  QSpinBox* round_;
  QSpinBox* subround_;
  QComboBox* result_;
  QSpinBox* year_;
  QSpinBox* month_;
  QSpinBox* day_;
};

}  // namespace kestrel
