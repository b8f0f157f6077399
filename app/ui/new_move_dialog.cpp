#include "app/ui/new_move_dialog.h"
#include "app/ui/ui_language.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

NewMoveDialog::NewMoveDialog(QWidget* parent) : QDialog(parent), list_(new QListWidget(this)) {
  BindLangTitle(this, 99);
  newVariation_ = new QPushButton(this);
  BindLang(newVariation_, 100);
  replace_ = new QPushButton(this);
  BindLang(replace_, 101);
  auto* cancel = new QPushButton(this);
  BindLang(cancel, 84);
  newVariation_->setDefault(true);
  connect(newVariation_, &QPushButton::clicked, this, [this] { Answer(TNewMoveAnswer::newVariation); });
  connect(replace_, &QPushButton::clicked, this, [this] { Answer(TNewMoveAnswer::replace); });
  connect(cancel, &QPushButton::clicked, this, [this] { Answer(TNewMoveAnswer::cancel); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(newVariation_);
  buttons->addWidget(replace_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
}

void NewMoveDialog::SetContinuations(const std::vector<std::string>& texts, int preselected) {
  list_->clear();
  for (const std::string& t : texts) list_->addItem(QString::fromStdString(t));
  if (preselected >= 0 && preselected < list_->count()) list_->setCurrentRow(preselected);
  choice_ = {TNewMoveAnswer::cancel, -1};
}

void NewMoveDialog::Answer(TNewMoveAnswer answer) {
  choice_.answer = answer;
  choice_.selected = list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
  if (answer == TNewMoveAnswer::cancel)
    reject();
  else
    accept();
}

}  // namespace kestrel
