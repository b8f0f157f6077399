#include "app/ui/tournament_list_window.h"
#include "app/ui/qt_text.h"
#include "app/ui/ui_language.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "database/db_error.h"
#include "database/file_replace.h"

namespace kestrel {

TournamentListWindow::TournamentListWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("ListForm");
  BindLangTitle(this, 119);  // "Make tournaments list"
  auto* layout = new QVBoxLayout(this);
  auto* controls = new QHBoxLayout;
  controls->addWidget(LangLabel(this, 189));  // "Show only more than"
  moreThan_ = new QSpinBox(this);
  moreThan_->setRange(0, 999);
  controls->addWidget(moreThan_);
  hideBlanks_ = new QCheckBox(this);
  BindLang(hideBlanks_, 190);  // "Don't show blanks"
  controls->addWidget(hideBlanks_);
  controls->addStretch();
  auto* save = new QPushButton(this);
  BindLang(save, 188);  // "Save"
  save->setShortcut(QKeySequence::Save);
  OnLanguageChange(this, [save] { save->setToolTip(LangQ(LtSaveListTip).arg(QKeySequence(QKeySequence::Save).toString())); });
  controls->addWidget(save);
  layout->addLayout(controls);
  grid_ = new QTableWidget(0, 5, this);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  layout->addWidget(grid_);
  totals_ = new QLabel(this);
  layout->addWidget(totals_);
  resize(640, 420);
  connect(moreThan_, &QSpinBox::valueChanged, this, &TournamentListWindow::Redraw);
  connect(hideBlanks_, &QCheckBox::toggled, this, &TournamentListWindow::Redraw);
  connect(save, &QPushButton::clicked, this, &TournamentListWindow::AskAndSave);
}

void TournamentListWindow::SetRows(std::vector<TTournamentRow> rows) {
  rows_ = std::move(rows);
  Redraw();
}

void TournamentListWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Redraw();
  QDialog::changeEvent(event);
}

void TournamentListWindow::Redraw() {
  // "Tournament", "Site", "Year", "count"
  grid_->setHorizontalHeaderLabels({LangQ(LtNumberColumn), LangQ(76), LangQ(78), LangQ(81), LangQ(191)});
  shown_ = ShownTournaments(rows_, moreThan_->value(), hideBlanks_->isChecked());
  grid_->setRowCount(static_cast<int>(shown_.size()));
  for (int i = 0; i < static_cast<int>(shown_.size()); ++i) {
    const TTournamentRow& r = shown_[i];
    const QString cells[] = {QString::number(i + 1), StoredToQt(r.name), StoredToQt(r.site), QString::number(r.year),
                             QString::number(r.count)};
    for (int c = 0; c < 5; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c != 1 && c != 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      grid_->setItem(i, c, item);
    }
  }
  for (const int c : {0, 2, 3, 4}) grid_->resizeColumnToContents(c);
  totals_->setText(StoredToQt(TournamentTotals(shown_, QtToStored(LangQ(180)), QtToStored(LangQ(193)))));
}

bool TournamentListWindow::SaveTo(const QString& path) {
  try {
    ReplaceFileContents(TextFileName(path.toStdString()), TournamentListText(shown_));
    return true;
  } catch (const TDatabaseError&) {
    return false;
  }
}

void TournamentListWindow::AskAndSave() {
  const QString path = QFileDialog::getSaveFileName(this, LangQ(LtSaveList), QString(), LangQ(LtTextFileFilter));
  if (path.isEmpty()) return;
  if (!SaveTo(path)) QMessageBox::warning(this, windowTitle(), LangQ(LtCannotWrite).arg(path));
}

}  // namespace kestrel
