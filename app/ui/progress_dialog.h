// The progress window of long database commands ("Import Database"): a
// caption, a text line, a counter, the bar, the estimated time left and a
// Cancel button. It lets pending events through at each step, so the
// window stays responsive on the interface thread.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <chrono>
#include <string>

#include "database/maintenance/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrel {

class ProgressDialog : public QDialog, public TProgress {
  Q_OBJECT

 public:
  explicit ProgressDialog(QWidget* parent = nullptr);

  void Open(std::string_view caption, std::string_view text, int64_t maximum) override;
  bool Step(int64_t done) override;
  void Close() override;

  bool cancelled() const { return cancelled_; }
  QLabel* estimateLabel() const { return estimate_; }
  QProgressBar* bar() const { return bar_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  // The caption and the stage in the language in use.
  void ShowTexts();
  std::string caption_, stage_;
  std::chrono::milliseconds remaining_{0};
  QLabel* text_;
  QLabel* counter_;
  QProgressBar* bar_;
  QLabel* estimate_;
  QPushButton* cancel_;
  QElapsedTimer clock_;
  int64_t maximum_ = 0;
  bool cancelled_ = false;
};

}  // namespace kestrel
