#include "app/ui/search_info_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QTableWidget>

namespace kestrel {

SearchInfoPanel::SearchInfoPanel(QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), roots_(new QTableWidget(0, 3, this)), menu_(new QMenu(this)) {
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  roots_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  roots_->setSelectionBehavior(QAbstractItemView::SelectRows);
  roots_->setSelectionMode(QAbstractItemView::SingleSelection);
  roots_->verticalHeader()->hide();
  roots_->horizontalHeader()->setStretchLastSection(true);
  roots_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  roots_->setColumnWidth(0, 18);
  roots_->setColumnWidth(1, 60);
  roots_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(roots_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { menu_->popup(roots_->viewport()->mapToGlobal(p)); });
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
  const int selected = SelectedRow();
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
  if (selected >= 0 && selected < roots_->rowCount()) roots_->selectRow(selected);
}

void SearchInfoPanel::Clear() {
  label_->clear();
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
