// "Make tournaments list": the summary of a game list, one row per
// tournament, site and year, with a limit on the count, a check box that
// hides games without a tournament, the totals, and "Save" to a text file.
#pragma once

#include <QDialog>
#include <vector>

#include "database/maintenance/name_tools.h"

class QCheckBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace kestrel {

class TournamentListWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TournamentListWindow(QWidget* parent = nullptr);

  void SetRows(std::vector<TTournamentRow> rows);
  // Writes the shown rows to `path` with its extension made ".txt"; false
  // when the file cannot be written.
  bool SaveTo(const QString& path);

  QTableWidget* grid() const { return grid_; }
  QSpinBox* moreThan() const { return moreThan_; }
  QCheckBox* hideBlanks() const { return hideBlanks_; }
  QLabel* totals() const { return totals_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Redraw();
  void AskAndSave();

  std::vector<TTournamentRow> rows_;
  std::vector<TTournamentRow> shown_;
  QTableWidget* grid_;
  QSpinBox* moreThan_;
  QCheckBox* hideBlanks_;
  QLabel* totals_;
};

}  // namespace kestrel
