#include "app/ui/game_analysis_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/play/side_names.h"

namespace kestrel {

GameAnalysisDialog::GameAnalysisDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Game analysis"));
  minutes_ = new QSpinBox(this);
  minutes_->setRange(1, 1440);
  minutes_->setSuffix(tr(" min"));
  for (auto*& c : colours_) c = new QCheckBox(this);
  insert_ = new QCheckBox(tr("Insert variations"), this);
  analyseVariations_ = new QCheckBox(tr("Analyse variations"), this);
  auto* form = new QFormLayout;
  form->addRow(tr("Time"), minutes_);
  form->addRow(colours_[0]);
  form->addRow(colours_[1]);
  form->addRow(insert_);
  form->addRow(analyseVariations_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &GameAnalysisDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  SetOptions(TGameAnalysisOptions{}, 1);
}

void GameAnalysisDialog::SetOptions(const TGameAnalysisOptions& o, int type) {
  minutes_->setValue(o.minutes);
  for (int side = 0; side < 2; ++side) {
    colours_[side]->setText(QString::fromStdString(SideName(static_cast<TDColor>(side), type)) + tr(" moves"));
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
    QMessageBox::information(this, windowTitle(), tr("Select color(s)"));
    return;
  }
  QDialog::accept();
}

}  // namespace kestrel
