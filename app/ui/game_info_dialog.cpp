#include "app/ui/game_info_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "app/play/side_names.h"
#include "app/ui/qt_text.h"
#include "app/ui/ui_language.h"
#include "database/list_texts.h"

namespace kestrel {
namespace {

constexpr std::array<const char*, 10> PlayerTitles = {"", "IG", "G", "IM", "M", "C", "1", "2", "3", "4"};

// Names are kept in the system code page.

// A list index for a value; a value beyond the list is shown as its number
// and given back unchanged.
void SetIndex(QComboBox* box, int value, int listed) {
  while (box->count() > listed) box->removeItem(box->count() - 1);
  if (value >= listed) box->addItem(QString("(%1)").arg(value));
  box->setCurrentIndex(value >= listed ? listed : value);
}

int IndexValue(const QComboBox* box, int listed, int original) {
  const int i = box->currentIndex();
  return i >= listed ? original : i;
}

}  // namespace

QComboBox* GameInfoDialog::NameBox() {
  auto* box = new QComboBox(this);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMinimumWidth(220);
  return box;
}

GameInfoDialog::GameInfoDialog(QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 3);
  auto* players = new QGridLayout;
  players->addWidget(LangLabel(this, 74), 0, 2);
  players->addWidget(LangLabel(this, 73), 0, 3);
  players->addWidget(LangLabel(this, 75), 0, 4);
  for (int side = 0; side < 2; ++side) {
    playerLabels_[side] = new QLabel(this);
    names_[side] = NameBox();
    title_[side] = new QComboBox(this);
    for (const char* t : PlayerTitles) title_[side]->addItem(t);
    rating_[side] = new QSpinBox(this);
    rating_[side]->setRange(0, 3000);
    country_[side] = new QComboBox(this);
    country_[side]->addItem(QString());
    players->addWidget(playerLabels_[side], side + 1, 0);
    players->addWidget(names_[side], side + 1, 1);
    players->addWidget(title_[side], side + 1, 2);
    players->addWidget(rating_[side], side + 1, 3);
    players->addWidget(country_[side], side + 1, 4);
  }
  names_[2] = NameBox();
  tournament_ = NameBox();
  site_ = NameBox();
  round_ = new QSpinBox(this);
  round_->setRange(0, 999999999);
  subround_ = new QSpinBox(this);
  subround_->setRange(0, 999999999);
  result_ = new QComboBox(this);
  year_ = new QSpinBox(this);
  year_->setRange(0, 2100);
  month_ = new QSpinBox(this);
  month_->setRange(0, 12);
  day_ = new QSpinBox(this);
  day_->setRange(0, 31);

  auto* form = new QFormLayout;
  form->addRow(LangLabel(this, 79), names_[2]);
  form->addRow(LangLabel(this, 76), tournament_);
  form->addRow(LangLabel(this, 78), site_);
  auto* round = new QHBoxLayout;
  round->addWidget(round_);
  round->addWidget(new QLabel(".", this));
  round->addWidget(subround_);
  form->addRow(LangLabel(this, 77), round);
  form->addRow(LangLabel(this, 80, QStringLiteral(":")), result_);
  auto* date = new QHBoxLayout;
  date->addWidget(LangLabel(this, 81));
  date->addWidget(year_);
  date->addWidget(LangLabel(this, 82));
  date->addWidget(month_);
  date->addWidget(LangLabel(this, 83));
  date->addWidget(day_);
  form->addRow(date);

  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(players);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void FillNameBox(QComboBox* box, std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  const QString typed = box->currentText();
  box->clear();
  for (const std::string& n : names) box->addItem(StoredToQt(n));
  box->setCurrentText(typed);
}

void GameInfoDialog::SetNameLists(const std::vector<std::string>& players, const std::vector<std::string>& tournaments,
                                  const std::vector<std::string>& sites) {
  for (QComboBox* box : names_) FillNameBox(box, players);
  FillNameBox(tournament_, tournaments);
  FillNameBox(site_, sites);
}

void GameInfoDialog::SetHeader(const TQuickGameHeader& q, int type, bool poolWhiteBottom, int resultStyle) {
  original_ = q;
  for (int side = 0; side < 2; ++side)
    BindLang(playerLabels_[side], BoardSideName(static_cast<TDColor>(side), type, poolWhiteBottom) == "White" ? 57 : 58);
  names_[0]->setEditText(StoredToQt(q.WhiteName));
  names_[1]->setEditText(StoredToQt(q.BlackName));
  names_[2]->setEditText(StoredToQt(q.AnnotatorName));
  tournament_->setEditText(StoredToQt(q.Tournament));
  site_->setEditText(StoredToQt(q.Site));
  const TPlayerInfo* info[2] = {&q.Header.White, &q.Header.Black};
  for (int side = 0; side < 2; ++side) {
    SetIndex(title_[side], info[side]->Title, static_cast<int>(PlayerTitles.size()));
    rating_[side]->setValue(std::min<int>(info[side]->Rating, 3000));
    SetIndex(country_[side], info[side]->Country, 1);
  }
  round_->setValue(std::max(q.Header.Round, 0));
  subround_->setValue(std::max(q.Header.Subround, 0));
  result_->clear();
  for (uint8_t r = 0; r <= 5; ++r) result_->addItem(QString::fromStdString(std::string(ResultText(r, resultStyle))));
  SetIndex(result_, q.Header.Result, 6);
  year_->setValue(q.Header.Date.Year);
  month_->setValue(q.Header.Date.Month);
  day_->setValue(q.Header.Date.Day);
}

TQuickGameHeader GameInfoDialog::Header() const {
  TQuickGameHeader q = original_;
  q.WhiteName = QtToStored(names_[0]->currentText());
  q.BlackName = QtToStored(names_[1]->currentText());
  q.AnnotatorName = QtToStored(names_[2]->currentText());
  q.Tournament = QtToStored(tournament_->currentText());
  q.Site = QtToStored(site_->currentText());
  TPlayerInfo* info[2] = {&q.Header.White, &q.Header.Black};
  const TPlayerInfo* was[2] = {&original_.Header.White, &original_.Header.Black};
  for (int side = 0; side < 2; ++side) {
    info[side]->Title = static_cast<uint8_t>(IndexValue(title_[side], static_cast<int>(PlayerTitles.size()), was[side]->Title));
    info[side]->Rating = static_cast<uint16_t>(rating_[side]->value());
    info[side]->Country = static_cast<uint8_t>(IndexValue(country_[side], 1, was[side]->Country));
  }
  q.Header.Round = round_->value();
  q.Header.Subround = subround_->value();
  q.Header.Result = static_cast<uint8_t>(IndexValue(result_, 6, original_.Header.Result));
  q.Header.Date.Year = static_cast<uint16_t>(year_->value());
  q.Header.Date.Month = static_cast<uint8_t>(month_->value());
  q.Header.Date.Day = static_cast<uint8_t>(day_->value());
  return q;
}

}  // namespace kestrel
