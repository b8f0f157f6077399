#include "app/ui/set_time_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/play/side_names.h"
#include "app/ui/ui_language.h"

namespace kestrel {

SetTimeDialog::SetTimeDialog(QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 28);
  auto* grid = new QGridLayout;
  for (int side = 0; side < 2; ++side) {
    labels_[side] = new QLabel(this);
    minutes_[side] = new QSpinBox(this);
    minutes_[side]->setRange(0, 9999);
    seconds_[side] = new QSpinBox(this);
    seconds_[side]->setRange(0, 59);
    grid->addWidget(labels_[side], side, 0);
    grid->addWidget(minutes_[side], side, 1);
    grid->addWidget(seconds_[side], side, 2);
  }
  OnLanguageChange(this, [this] {
    for (int side = 0; side < 2; ++side) {
      minutes_[side]->setSuffix(QStringLiteral(" ") + LangQ(312));  // "min"
      seconds_[side]->setSuffix(QStringLiteral(" ") + LangQ(61));   // "sec"
    }
  });
  moves_ = new QSpinBox(this);
  moves_->setRange(0, MaxMovesPerControl);
  grid->addWidget(LangLabel(this, 241), 2, 0);
  grid->addWidget(moves_, 2, 1);
  grid->addWidget(LangLabel(this, 242), 2, 2);
  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  SetValues(TSetTimeValues{}, 1);
}

void SetTimeDialog::SetValues(const TSetTimeValues& v, int type) {
  for (int side = 0; side < 2; ++side) {
    BindLang(labels_[side], SideName(static_cast<TDColor>(side), type) == "White" ? 57 : 58);
    minutes_[side]->setValue(v.minutes[side]);
    seconds_[side]->setValue(v.seconds[side]);
  }
  moves_->setValue(v.moves);
}

TSetTimeValues SetTimeDialog::Values() const {
  TSetTimeValues v;
  v.moves = moves_->value();
  for (int side = 0; side < 2; ++side) {
    v.minutes[side] = minutes_[side]->value();
    v.seconds[side] = seconds_[side]->value();
  }
  return v;
}

}  // namespace kestrel
