#include "app/ui/header_edit_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/game_info_dialog.h"
#include "app/ui/qt_text.h"
#include "app/ui/ui_language.h"
#include "database/list_texts.h"

namespace kestrel {

HeadersSetDialog::HeadersSetDialog(int resultStyle, QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 157);  // "Set"
  // The field captions: White, Black, Tournament, Site, Annotator, Result,
  // Round, Game, Day, Month, Year.
  constexpr int captions[fieldCount] = {57, 58, 76, 78, 79, 80, 77, 1, 83, 82, 81};
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  for (int f = 0; f < fieldCount; ++f) {
    set_[f] = new QCheckBox(this);
    BindLang(set_[f], captions[f]);
    QWidget* value = nullptr;
    if (f <= fAnnotator) {
      auto* box = new QComboBox(this);
      box->setEditable(true);
      box->setInsertPolicy(QComboBox::NoInsert);
      box->setMinimumWidth(260);
      // Typing a value means setting it.
      connect(box, &QComboBox::editTextChanged, set_[f], [box = set_[f]] { box->setChecked(true); });
      names_[f] = box;
      value = box;
    } else if (f == fResult) {
      result_ = new QComboBox(this);
      for (uint8_t r = 0; r <= 5; ++r) result_->addItem(QString::fromStdString(std::string(ResultText(r, resultStyle))));
      connect(result_, &QComboBox::activated, set_[f], [box = set_[f]] { box->setChecked(true); });
      value = result_;
    } else {
      auto* spin = new QSpinBox(this);
      const int index = f - fRound;
      constexpr int highs[] = {999999999, 999999999, 31, 12, 2100};
      spin->setRange(0, highs[index]);
      // Shown as 0 rather than blank until the user sets a value.
      spin->setValue(1);
      spin->setValue(0);
      connect(spin, &QSpinBox::valueChanged, set_[f], [box = set_[f]] { box->setChecked(true); });
      numbers_[index] = spin;
      value = spin;
    }
    grid->addWidget(set_[f], f, 0);
    grid->addWidget(value, f, 1);
  }
  auto* hint = LangLabel(this, LtHeaderNamesHint);
  hint->setWordWrap(true);
  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(hint);
  layout->addWidget(buttons);
}

void HeadersSetDialog::SetNameLists(const std::vector<std::string>& players, const std::vector<std::string>& tournaments,
                                    const std::vector<std::string>& sites) {
  const std::vector<std::string>* lists[5] = {&players, &players, &tournaments, &sites, &players};
  for (int f = 0; f <= fAnnotator; ++f) {
    // Filling the list is not a choice of the user's.
    const bool was = set_[f]->isChecked();
    FillNameBox(names_[f], *lists[f]);
    set_[f]->setChecked(was);
  }
}

THeaderFields HeadersSetDialog::Fields() const {
  THeaderFields out;
  std::optional<std::string>* texts[5] = {&out.white, &out.black, &out.tournament, &out.site, &out.annotator};
  for (int f = 0; f <= fAnnotator; ++f)
    if (set_[f]->isChecked()) *texts[f] = QtToStored(names_[f]->currentText());
  if (set_[fResult]->isChecked()) out.result = static_cast<uint8_t>(result_->currentIndex());
  const auto number = [this](Field f) { return numbers_[f - fRound]->value(); };
  if (set_[fRound]->isChecked()) out.round = number(fRound);
  if (set_[fGame]->isChecked()) out.subround = number(fGame);
  if (set_[fDay]->isChecked()) out.day = static_cast<uint8_t>(number(fDay));
  if (set_[fMonth]->isChecked()) out.month = static_cast<uint8_t>(number(fMonth));
  if (set_[fYear]->isChecked()) out.year = static_cast<uint16_t>(number(fYear));
  return out;
}

}  // namespace kestrel
