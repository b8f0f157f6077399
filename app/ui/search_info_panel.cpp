#include "app/ui/search_info_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QTableWidget>

#include "game/move_tree.h"

namespace kestrel {

SearchInfoPanel::SearchInfoPanel(QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), roots_(new QTableWidget(0, 3, this)), menu_(new QMenu(this)) {
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label_->setProperty("kestrelContent", true);  // the engine's report, not a caption
  roots_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  roots_->setSelectionBehavior(QAbstractItemView::SelectRows);
  roots_->setSelectionMode(QAbstractItemView::SingleSelection);
  roots_->verticalHeader()->hide();
  roots_->horizontalHeader()->setStretchLastSection(true);
  roots_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  roots_->setColumnWidth(0, 18);
  roots_->setColumnWidth(1, 60);
  roots_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(roots_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    if (const QModelIndex index = roots_->indexAt(p); index.isValid()) {
      roots_->selectRow(index.row());
      Choose(index.row());
    }
    menu_->popup(roots_->viewport()->mapToGlobal(p));
  });
  // Only the user's own choices count: the rows move under the selection
  // when the worker sorts them again.
  connect(roots_, &QTableWidget::cellPressed, this, [this](int row, int) { Choose(row); });
  connect(roots_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (roots_->hasFocus()) Choose(row);
  });
  roots_->hide();
}

void SearchInfoPanel::Show(const TEngineSearchInfo& info) {
  label_->setText(QString::fromStdString(SearchInfoText(info)));
  roots_->setHorizontalHeaderLabels({QString(), QString(), QString::fromStdString(SearchInfoHeader(info))});
  const std::vector<TRootMoveRow> rows = RootMoveRows(info);
  // A search of another position starts the list on its first row.
  if (info.currentMovePos != shownMovePos_) {
    shownMovePos_ = info.currentMovePos;
    ToFirstRow();
  }
  shownRoots_ = info.roots;
  roots_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const std::string* cells[3] = {&rows[r].mark, &rows[r].score, &rows[r].text};
    for (int c = 0; c < 3; ++c) {
      QTableWidgetItem* item = roots_->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        roots_->setItem(r, c, item);
      }
      item->setText(QString::fromStdString(*cells[c]));
    }
  }
  // The selection follows the chosen move to its new row.
  const QSignalBlocker block(roots_);
  roots_->clearSelection();
  if (chosen_)
    for (int r = 0; r < static_cast<int>(shownRoots_.size()) && r < roots_->rowCount(); ++r)
      if (SameMovePath(shownRoots_[r].move, *chosen_) && shownRoots_[r].move.lt == chosen_->lt) {
        roots_->selectRow(r);
        break;
      }
}

void SearchInfoPanel::Choose(int row) {
  if (row >= 0 && row < static_cast<int>(shownRoots_.size()))
    chosen_ = shownRoots_[row].move;
  else
    chosen_.reset();
}

std::optional<TRootMoveRecord> SearchInfoPanel::ChosenRoot() const {
  if (!chosen_) return std::nullopt;
  for (const TRootMoveRecord& r : shownRoots_)
    if (SameMovePath(r.move, *chosen_) && r.move.lt == chosen_->lt) return r;
  return std::nullopt;
}

void SearchInfoPanel::Clear() {
  label_->clear();
  shownRoots_.clear();
  chosen_.reset();
  roots_->setRowCount(0);
}

void SearchInfoPanel::SetRootListVisible(bool visible) {
  listVisible_ = visible;
  roots_->setVisible(visible);
  Relayout();
}

int SearchInfoPanel::SelectedRow() const {
  const auto rows = roots_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void SearchInfoPanel::ToFirstRow() {
  if (roots_->rowCount() > 0) roots_->scrollToTop();
  roots_->clearSelection();
  chosen_.reset();
}

void SearchInfoPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

void SearchInfoPanel::Relayout() {
  const int w = width(), h = height();
  if (listVisible_) {
    const int labelHeight = std::min(h / 3, 90);
    label_->setGeometry(0, 0, w, labelHeight);
    roots_->setGeometry(0, labelHeight, w, h - labelHeight);
  } else {
    label_->setGeometry(0, 0, w, h);
  }
}

}  // namespace kestrel
