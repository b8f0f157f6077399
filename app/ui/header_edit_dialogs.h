// "Headers" -> "Set" ("Headers Edit"): header fields given to every selected
// game at once. Each field has its "Set?" box; only checked fields change.
// In the five names "[#]" becomes the game number, "[@]" its list position
// and "[$]" the running count of the selected games.
#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

#include "database/maintenance/bulk_edit.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace kestrel {

class HeadersSetDialog : public QDialog {
  Q_OBJECT

 public:
  enum Field { fWhite, fBlack, fTournament, fSite, fAnnotator, fResult, fRound, fGame, fDay, fMonth, fYear, fieldCount };

  // `resultStyle` is the "ResType" of the result texts.
  explicit HeadersSetDialog(int resultStyle, QWidget* parent = nullptr);

  // The names of the open database to choose from.
  void SetNameLists(const std::vector<std::string>& players, const std::vector<std::string>& tournaments,
                    const std::vector<std::string>& sites);
  // The checked fields.
  THeaderFields Fields() const;

  QCheckBox* setBox(Field f) const { return set_[f]; }
  QComboBox* nameBox(Field f) const { return f <= fAnnotator ? names_[f] : nullptr; }
  QComboBox* resultBox() const { return result_; }
  QSpinBox* numberBox(Field f) const { return f >= fRound ? numbers_[f - fRound] : nullptr; }

 private:
  std::array<QCheckBox*, fieldCount> set_{};
  std::array<QComboBox*, 5> names_{};  // White, Black, Tournament, Site, Annotator
  QComboBox* result_;
  std::array<QSpinBox*, 5> numbers_{};  // Round, Game, Day, Month, Year
};

}  // namespace kestrel
