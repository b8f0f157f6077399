// The search information of the right-hand column: the information label
// and, with extended analysis, the list of root moves with their scores and
// lines ("Don't analyse" marks them).
#pragma once

#include <QWidget>

#include <optional>
#include <vector>

#include "app/play/search_info.h"

class QLabel;
class QMenu;
class QTableWidget;

namespace kestrel {

class SearchInfoPanel : public QWidget {
  Q_OBJECT

 public:
  explicit SearchInfoPanel(QWidget* parent = nullptr);

  void Show(const TEngineSearchInfo& info);
  void Clear();
  void SetRootListVisible(bool visible);
  // Row selected in the root move list; -1 for none.
  int SelectedRow() const;
  // The root move the user chose in the list, followed through the worker's
  // re-sorting of the rows; nothing when none is chosen or it has left the
  // list.
  std::optional<TRootMoveRecord> ChosenRoot() const;
  // The search position of the list shown (the game's slot).
  int ShownMovePos() const { return shownMovePos_; }
  // Puts the list on its first row (engine start).
  void ToFirstRow();

  QLabel* label() const { return label_; }
  QTableWidget* rootList() const { return roots_; }
  // The list's pop-up menu; the main window adds its commands.
  QMenu* rootMenu() const { return menu_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Relayout();
  void Choose(int row);

  QLabel* label_;
  QTableWidget* roots_;
  QMenu* menu_;
  bool listVisible_ = false;
  int shownMovePos_ = -1;  // the position of the search shown
  std::vector<TRootMoveRecord> shownRoots_;  // in row order
  std::optional<TMove> chosen_;
};

}  // namespace kestrel
