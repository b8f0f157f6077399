#include "app/ui/maintenance_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kestrel {
namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QCheckBox* Box(const QString& text, bool checked, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setChecked(checked);
  return box;
}

}  // namespace

SortGamesDialog::SortGamesDialog(bool wholeDatabase, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Sort games"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  keys_ = new QListWidget(this);
  for (const TSortKey k : AllSortKeys()) {
    auto* item = new QListWidgetItem(QString::fromLatin1(SortKeyText(k).data(), SortKeyText(k).size()), keys_);
    item->setData(Qt::UserRole, static_cast<int>(k));
  }
  keys_->setCurrentRow(0);
  row->addWidget(keys_);
  auto* side = new QVBoxLayout;
  auto* up = new QPushButton(tr("&Up"), this);
  auto* down = new QPushButton(tr("&Down"), this);
  up->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
  down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
  up->setToolTip(tr("Move the key up (Ctrl+Up)"));
  down->setToolTip(tr("Move the key down (Ctrl+Down)"));
  side->addWidget(up);
  side->addWidget(down);
  side->addStretch();
  row->addLayout(side);
  layout->addLayout(row);
  save_ = Box(tr("Save to database"), false, this);
  save_->setEnabled(wholeDatabase);
  layout->addWidget(save_);
  layout->addWidget(OkCancel(this));
  connect(up, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
}

void SortGamesDialog::MoveCurrent(int by) {
  const int row = keys_->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= keys_->count()) return;
  QListWidgetItem* item = keys_->takeItem(row);
  keys_->insertItem(to, item);
  keys_->setCurrentRow(to);
}

std::vector<TSortKey> SortGamesDialog::Keys() const {
  std::vector<TSortKey> keys;
  for (int i = 0; i < keys_->count(); ++i) keys.push_back(static_cast<TSortKey>(keys_->item(i)->data(Qt::UserRole).toInt()));
  return keys;
}

bool SortGamesDialog::SaveToDatabase() const { return save_->isEnabled() && save_->isChecked(); }

MatchGamesDialog::MatchGamesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Match games"));
  auto* layout = new QVBoxLayout(this);
  names_ = Box(tr("&Names"), false, this);
  year_ = Box(tr("&Year"), false, this);
  tournament_ = Box(tr("&Tournament"), false, this);
  moves_ = Box(tr("&Moves"), true, this);
  start_ = Box(tr("&Initial position"), true, this);
  fast_ = Box(tr("&Fast"), true, this);
  for (QCheckBox* b : {names_, year_, tournament_, moves_, start_, fast_}) layout->addWidget(b);
  method_ = new QComboBox(this);
  method_->addItems({tr("Exact match"), tr("w/o captions")});
  length_ = new QComboBox(this);
  length_->addItems({tr("Complete length"), tr("Partial length")});
  layout->addWidget(method_);
  layout->addWidget(length_);
  layout->addWidget(OkCancel(this));
}

TMatchOptions MatchGamesDialog::Options() const {
  TMatchOptions o;
  o.names = names_->isChecked();
  o.year = year_->isChecked();
  o.tournament = tournament_->isChecked();
  o.moves = moves_->isChecked();
  o.startPosition = start_->isChecked();
  o.fast = fast_->isChecked();
  o.withoutCaptures = method_->currentIndex() == 1;
  o.partial = length_->currentIndex() == 1;
  return o;
}

}  // namespace kestrel
