#include "app/ui/book_grid_widget.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "app/panels/book_grid.h"
#include "app/ui/qt_text.h"
#include "app/ui/ui_language.h"

namespace kestrel {

namespace {


}  // namespace

BookGridWidget::BookGridWidget(QWidget* parent)
    : QWidget(parent), label_(new QLabel(this)), table_(new QTableWidget(this)), menu_(new QMenu(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(label_);
  layout->addWidget(table_);
  table_->setColumnCount(2);
  label_->setProperty("kestrelContent", true);  // the book's file name
  table_->horizontalHeader()->hide();
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFont(QFont(QStringLiteral("Courier New"), 10));
  QPalette pal = table_->palette();
  pal.setColor(QPalette::Base, palette().color(QPalette::Button));
  table_->setPalette(pal);
  table_->viewport()->installEventFilter(this);
  table_->viewport()->setMouseTracking(true);

  for (int i = 0; i < static_cast<int>(BookSignMenuTexts.size()); ++i) {
    QAction* a = menu_->addAction(QString::fromLatin1(BookSignMenuTexts[i].data(), BookSignMenuTexts[i].size()));
    const int sign = i + 1;
    connect(a, &QAction::triggered, this, [this, sign] {
      if (const TOpenMove* e = Entry(menuRow_)) emit signChosen(*e, sign);
    });
  }
  menu_->addSeparator();
  addOnClick_ = menu_->addAction(QString());
  BindLang(addOnClick_, 207);
  addOnClick_->setCheckable(true);
  addOnClick_->setChecked(false);
}

bool BookGridWidget::AddOnClick() const { return addOnClick_->isChecked(); }

const TOpenMove* BookGridWidget::Entry(int row) const {
  if (row < 0 || row >= tree_.Op_moves || row + 1 >= static_cast<int>(tree_.openmoves.size())) return nullptr;
  return &tree_.openmoves[row + 1];
}

void BookGridWidget::ShowTree(const TOpenMoves& tree, const QString& bookName) {
  tree_ = tree;
  label_->setText(bookName);
  label_->setVisible(!bookName.isEmpty());
  const int rows = std::min<int>(tree.Op_moves, static_cast<int>(tree.openmoves.size()) - 1);
  table_->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const TOpenMove& e = tree.openmoves[r + 1];
    QColor color;
    switch (BookRowColor(e)) {
      case TBookRowColor::notInBook: color = palette().color(QPalette::Dark); break;
      case TBookRowColor::weak: color = QColor(255, 0, 0); break;
      case TBookRowColor::playable: color = palette().color(QPalette::WindowText); break;
      case TBookRowColor::good: color = QColor(0, 128, 0); break;
    }
    for (int c = 0; c < 2; ++c) {
      auto* item = new QTableWidgetItem(StoredToQt(c == 0 ? e.move : e.stat));
      item->setForeground(color);
      table_->setItem(r, c, item);
    }
  }
  table_->resizeColumnToContents(0);
}

bool BookGridWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched != table_->viewport()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QModelIndex index = table_->indexAt(e->position().toPoint());
      if (!index.isValid()) return true;
      if (e->button() == Qt::LeftButton && index.column() == 0) {
        if (const TOpenMove* entry = Entry(index.row())) emit moveChosen(*entry);
      } else if (e->button() == Qt::RightButton) {
        menuRow_ = index.row();
        menu_->popup(e->globalPosition().toPoint());
      }
      return true;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QModelIndex index = table_->indexAt(e->position().toPoint());
      table_->viewport()->setCursor(index.isValid() && index.column() == 0 ? Qt::PointingHandCursor
                                                                           : Qt::ArrowCursor);
      return false;
    }
    case QEvent::Wheel: {
      auto* e = static_cast<QWheelEvent*>(event);
      if (e->angleDelta().y() != 0) emit stepRequested(e->angleDelta().y() > 0);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kestrel
