// "Set time": minutes and seconds for each side and the number of moves the
// time covers. The first row belongs to side 0, named by its colour.
#pragma once

#include <QDialog>

#include "app/play/time_control.h"

class QLabel;
class QSpinBox;

namespace kestrel {

class SetTimeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SetTimeDialog(QWidget* parent = nullptr);

  // Fills the fields; `type` names the rows ("Black" first in English and Pool).
  void SetValues(const TSetTimeValues& values, int type);
  TSetTimeValues Values() const;

  QLabel* rowLabel(int side) const { return labels_[side]; }

 private:
  QLabel* labels_[2];
  QSpinBox* minutes_[2];
  QSpinBox* seconds_[2];
  QSpinBox* moves_;
};

}  // namespace kestrel
