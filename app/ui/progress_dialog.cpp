#include "app/ui/progress_dialog.h"
#include "app/ui/ui_language.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrel {

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ImportDatabase");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(this);
  counter_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  bar_->setMinimumWidth(360);
  estimate_ = new QLabel(this);
  cancel_ = new QPushButton(this);
  BindLang(cancel_, 84);  // "Cancel"
  layout->addWidget(text_);
  layout->addWidget(counter_);
  layout->addWidget(bar_);
  layout->addWidget(estimate_);
  layout->addWidget(cancel_, 0, Qt::AlignRight);
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  OnLanguageChange(this, [this] { ShowTexts(); });
}

void ProgressDialog::Open(std::string_view caption, std::string_view text, int64_t maximum) {
  caption_ = caption;
  stage_ = text;
  ShowTexts();
  maximum_ = std::max<int64_t>(maximum, 1);
  // The bar counts in thousandths, so that any maximum fits its int range.
  bar_->setRange(0, 1000);
  bar_->setValue(0);
  counter_->clear();
  estimate_->clear();
  cancelled_ = false;
  clock_.start();
  show();
  QApplication::processEvents();
}

bool ProgressDialog::Step(int64_t done) {
  done = std::clamp<int64_t>(done, 0, maximum_);
  bar_->setValue(static_cast<int>(done * 1000 / maximum_));
  counter_->setText(QString::number(done) + " / " + QString::number(maximum_));
  remaining_ = EstimatedRemaining(std::chrono::milliseconds(clock_.elapsed()), done, maximum_);
  estimate_->setText(CoreTextQ(EstimateText(remaining_)));
  QApplication::processEvents();
  return !cancelled_;
}

void ProgressDialog::ShowTexts() {
  setWindowTitle(CoreTextQ(caption_));
  text_->setText(CoreTextQ(stage_));
  if (!estimate_->text().isEmpty()) estimate_->setText(CoreTextQ(EstimateText(remaining_)));
}

void ProgressDialog::Close() { hide(); }

}  // namespace kestrel
