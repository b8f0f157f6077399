// The search information of the right-hand column: the information label
// and, with extended analysis, the list of root moves with their scores and
// lines ("Don't analyse" marks them).
#pragma once

#include <QWidget>

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

  QLabel* label_;
  QTableWidget* roots_;
  QMenu* menu_;
  bool listVisible_ = false;
  int shownMovePos_ = -1;  // the position of the search shown
};

}  // namespace kestrel
