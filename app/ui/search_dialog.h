// "New search": the header criteria and, when "Position" is checked, the
// pattern board with its side-to-move boxes, the material ranges and the
// combination. The dialog keeps its values between openings; each showing
// starts with the position part closed.
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

#include "app/search/search_dialog_values.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace kestrel {

class PatternBoardWidget;

class SearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SearchDialog(QWidget* parent = nullptr);

  // The five name boxes: players (also the annotators), tournaments, sites;
  // 8-bit names in the Windows code page.
  void SetNameLists(std::vector<std::string> players, std::vector<std::string> tournaments,
                    std::vector<std::string> sites);
  // The position "Copy" takes.
  void SetMainBoard(const TBrd& board) { mainBoard_ = board; }

  void SetValues(const TSearchDialogValues& values);
  TSearchDialogValues Values() const;

  PatternBoardWidget* patternBoard() const { return board_; }
  QWidget* positionPart() const { return positionPart_; }
  QCheckBox* positionBox() const { return position_; }
  QCheckBox* combinationBox() const { return comb_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPositionPart(bool on);
  void SetBoardKind(TPatternBoardKind kind);
  void SetCombinationOn(bool on);

  std::array<QComboBox*, 5> names_{};  // white, black, tournament, site, annotator
  QCheckBox* ignoreColors_;
  std::array<QCheckBox*, 6> results_{};
  QSpinBox *yearFrom_, *yearTo_, *lengthFrom_, *lengthTo_;
  QCheckBox *deleted_, *comments_, *variations_, *uncommented_, *typeBox_;
  QComboBox* type_;
  QCheckBox* position_;
  QWidget* positionPart_;
  PatternBoardWidget* board_;
  std::array<QRadioButton*, 6> kinds_{};
  QCheckBox *whiteMoves_, *blackMoves_, *reversed_, *onlyInitial_;
  std::array<QCheckBox*, MaterialRows> material_{};
  std::array<QSpinBox*, MaterialRows> materialMin_{}, materialMax_{};
  QCheckBox* comb_;
  QLabel* combLabel_;
  QSpinBox* combCount_;
  TBrd mainBoard_{};
};

}  // namespace kestrel
