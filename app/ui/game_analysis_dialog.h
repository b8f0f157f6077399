// "Game analysis": the time for the whole game, the colours whose moves are
// judged, and whether variations are inserted and analysed.
#pragma once

#include <QDialog>

#include "app/play/play_controller.h"

class QCheckBox;
class QSpinBox;

namespace kestrel {

class GameAnalysisDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GameAnalysisDialog(QWidget* parent = nullptr);

  void SetOptions(const TGameAnalysisOptions& options, int type);
  TGameAnalysisOptions Options() const;

  void accept() override;

 private:
  QSpinBox* minutes_;
  QCheckBox* colours_[2];
  QCheckBox* insert_;
  QCheckBox* analyseVariations_;
};

}  // namespace kestrel
