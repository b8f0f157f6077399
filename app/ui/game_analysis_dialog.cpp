#include "app/ui/game_analysis_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/play/side_names.h"
#include "app/ui/ui_language.h"

namespace kestrel {

GameAnalysisDialog::GameAnalysisDialog(QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 32);
  minutes_ = new QSpinBox(this);
  minutes_->setRange(1, 1440);
  for (auto*& c : colours_) c = new QCheckBox(this);
  insert_ = new QCheckBox(this);
  BindLang(insert_, 97);
  analyseVariations_ = new QCheckBox(this);
  BindLang(analyseVariations_, 96);
  auto* form = new QFormLayout;
  auto* time = new QHBoxLayout;
  time->addWidget(minutes_);
  time->addWidget(LangLabel(this, 27));
  form->addRow(LangLabel(this, 95), time);
  form->addRow(colours_[0]);
  form->addRow(colours_[1]);
  form->addRow(insert_);
  form->addRow(analyseVariations_);
  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  SetOptions(TGameAnalysisOptions{}, 1);
}

void GameAnalysisDialog::SetOptions(const TGameAnalysisOptions& o, int type) {
  minutes_->setValue(o.minutes);
  for (int side = 0; side < 2; ++side) {
    BindLang(colours_[side], SideName(static_cast<TDColor>(side), type) == "White" ? 65 : 66);
    colours_[side]->setChecked(o.colours[side]);
  }
  insert_->setChecked(o.insertVariations);
  analyseVariations_->setChecked(o.analyseVariations);
}

TGameAnalysisOptions GameAnalysisDialog::Options() const {
  TGameAnalysisOptions o;
  o.minutes = minutes_->value();
  o.colours = {colours_[0]->isChecked(), colours_[1]->isChecked()};
  o.insertVariations = insert_->isChecked();
  o.analyseVariations = analyseVariations_->isChecked();
  return o;
}

void GameAnalysisDialog::accept() {
  if (!colours_[0]->isChecked() && !colours_[1]->isChecked()) {
    QMessageBox::information(this, windowTitle(), LangQ(LtSelectColours));
    return;
  }
  QDialog::accept();
}

}  // namespace kestrel
