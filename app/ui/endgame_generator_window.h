// The endgame generator window: which tables to build (a variant, every
// table up to a number of pieces or one split of pieces, distances or
// win/draw/loss), the threads and the folder; the run goes on a thread of
// its own with its log, its progress and Cancel, and ends with the figures
// of the run. Closing the window leaves a run going; it shows again as it is.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "engine/tools/edb_generator.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace kestrel {

class EndgameGeneratorWindow : public QWidget {
  Q_OBJECT

 public:
  EndgameGeneratorWindow(std::filesystem::path folder, int gametype, QWidget* parent = nullptr);
  ~EndgameGeneratorWindow() override;

  // Called on the interface thread after a run that wrote tables into
  // `folder`, finished or not, so that the engine reads them afresh.
  std::function<void(const std::filesystem::path& folder)> onTablesWritten;

  bool Running() const { return worker_.joinable(); }
  void Start();
  void Cancel();
  // The options the controls describe.
  TEdbGenOptions Options() const;
  // The figures of the last run.
  const TEdbGenStats& LastStats() const { return stats_; }

  QComboBox* variantBox() const { return variant_; }
  QRadioButton* fullButton() const { return full_; }
  QSpinBox* piecesBox() const { return pieces_; }
  QRadioButton* splitButton() const { return split_; }
  QSpinBox* strongBox() const { return strong_; }
  QSpinBox* weakBox() const { return weak_; }
  QSpinBox* threadsBox() const { return threads_; }
  QCheckBox* rangedBox() const { return ranged_; }
  QLineEdit* folderEdit() const { return folder_; }
  QPushButton* generateButton() const { return generate_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPlainTextEdit* log() const { return log_; }
  QProgressBar* progressBar() const { return bar_; }
  QLabel* stepLabel() const { return step_; }
  // The figures of the last run, one label per line of the statistics.
  QLabel* statsLabel(int line) const { return statsLines_[line]; }
  enum StatsLine { statsTables, statsPositions, statsDistance, statsWrong, statsLineCount };

 private:
  void ShowPlan();
  void EnableControls();
  void Finished(const TEdbGenStats& stats, const std::filesystem::path& folder);
  // The verdict and the statistics of the last run (stats_), in the language in use.
  QString ShowResult();

  QComboBox* variant_;
  QRadioButton* full_;
  QSpinBox* pieces_;
  QRadioButton* split_;
  QSpinBox* strong_;
  QSpinBox* weak_;
  QSpinBox* threads_;
  QCheckBox* ranged_;
  QLineEdit* folder_;
  QPushButton* browse_;
  QLabel* plan_;
  QPushButton* generate_;
  QPushButton* cancel_;
  QPlainTextEdit* log_;
  QProgressBar* bar_;
  QLabel* step_;
  QLabel* elapsed_;
  std::array<QLabel*, statsLineCount> statsLines_{};
  QTimer* clock_;
  QElapsedTimer started_;

  std::atomic<bool> cancelFlag_{false};
  TEdbGenStats stats_;
  bool resultShown_ = false;
  std::thread worker_;
};

}  // namespace kestrel
