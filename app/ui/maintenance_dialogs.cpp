#include "app/ui/maintenance_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/ui_language.h"

namespace kestrel {
namespace {

// The entries of the sort keys' names, in the order of TSortKey:
// "Tournament", "Round", "Date", "White", "Black", "Site", "Annotator",
// "Result", "Length".
constexpr int SortKeyEntries[] = {76, 77, 121, 57, 58, 78, 79, 80, 298};

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
  BindLangTitle(this, 116);  // "Sort games list"
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  keys_ = new QListWidget(this);
  for (const TSortKey k : AllSortKeys()) {
    auto* item = new QListWidgetItem(keys_);
    item->setData(Qt::UserRole, static_cast<int>(k));
  }
  // The keys in the language in use, wherever the user has moved them.
  OnLanguageChange(this, [this] {
    for (int i = 0; i < keys_->count(); ++i)
      keys_->item(i)->setText(LangQ(SortKeyEntries[keys_->item(i)->data(Qt::UserRole).toInt()]));
  });
  keys_->setCurrentRow(0);
  row->addWidget(keys_);
  auto* side = new QVBoxLayout;
  auto* up = new QPushButton(this);
  auto* down = new QPushButton(this);
  BindLang(up, 296, QStringLiteral("&"));    // "Up"
  BindLang(down, 297, QStringLiteral("&"));  // "Down"
  up->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
  down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
  BindLangTip(up, LtMoveKeyUpTip);
  BindLangTip(down, LtMoveKeyDownTip);
  side->addWidget(up);
  side->addWidget(down);
  side->addStretch();
  row->addLayout(side);
  layout->addLayout(row);
  save_ = Box(QString(), false, this);
  BindLang(save_, 295);  // "Save to database"
  save_->setEnabled(wholeDatabase);
  layout->addWidget(save_);
  auto* buttons = OkCancel(this);
  BindButtonBox(buttons);
  layout->addWidget(buttons);
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
  BindLangTitle(this, 155);  // "Match games"
  auto* layout = new QVBoxLayout(this);
  auto* compare = new QGroupBox(this);
  BindLang(compare, LtCompare);
  auto* boxes = new QVBoxLayout(compare);
  names_ = Box(QString(), false, this);
  year_ = Box(QString(), false, this);
  tournament_ = Box(QString(), false, this);
  moves_ = Box(QString(), true, this);
  start_ = Box(QString(), true, this);
  fast_ = Box(QString(), true, this);
  BindLang(names_, 120);
  BindLang(year_, 81);
  BindLang(tournament_, 76);
  BindLang(moves_, 125);
  BindLang(start_, 294);
  BindLang(fast_, 186);
  BindLangTip(fast_, LtFastMatchTip);
  for (QCheckBox* b : {names_, year_, tournament_, moves_, start_}) boxes->addWidget(b);
  layout->addWidget(compare);
  auto* methods = new QGroupBox(this);
  BindLang(methods, 181);  // "Methods"
  auto* methodLayout = new QVBoxLayout(methods);
  method_ = new QComboBox(this);
  length_ = new QComboBox(this);
  method_->addItems({QString(), QString()});
  length_->addItems({QString(), QString()});
  methodLayout->addWidget(method_);
  methodLayout->addWidget(length_);
  methodLayout->addWidget(fast_);
  layout->addWidget(methods);
  // The items follow the language; both lists start at their first item.
  const auto texts = [this] {
    method_->setItemText(0, LangQ(182));  // "Exact match"
    method_->setItemText(1, LangQ(183));  // "w/o captions"
    length_->setItemText(0, LangQ(184));  // "Complete length"
    length_->setItemText(1, LangQ(185));  // "Partial length"
  };
  texts();
  languageTexts_ = texts;
  // The methods compare moves: without "Moves" they mean nothing.
  connect(moves_, &QCheckBox::toggled, methods, &QWidget::setEnabled);
  auto* buttons = OkCancel(this);
  BindButtonBox(buttons);
  layout->addWidget(buttons);
}

void MatchGamesDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange && languageTexts_) languageTexts_();
  QDialog::changeEvent(event);
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
