// "Engine settings": per variant ("Options for:") the engine generation or
// "External (Hub)" with its command line, the engine file, the book with "Use book moves"; for all variants the book
// level, the endgame database folder and the memory sizes. The dialog edits
// a copy; the caller applies it when the user confirms.
#pragma once

#include <QDialog>

#include <filesystem>

#include "app/play/engine_settings_apply.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kestrel {

class EngineSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  EngineSettingsDialog(std::filesystem::path programFolder, int maxHashMegabytes, QWidget* parent = nullptr);

  void SetValues(const TEngineSettingsValues& values, int currentType);
  TEngineSettingsValues Values();

  QComboBox* variantBox() const { return variant_; }
  QComboBox* generationBox() const { return generation_; }
  QComboBox* engineFileBox() const { return engineFile_; }
  QLineEdit* hubCommandEdit() const { return hubCommand_; }
  // Selects the engine of the shown variant: a generation, or ExternalChoice.
  void SelectEngine(int choice);
  static constexpr int ExternalChoice = -1;
  QLineEdit* bookEdit() const { return book_; }
  QCheckBox* useBookBox() const { return useBook_; }
  QComboBox* bookLevelBox() const { return bookLevel_; }
  QSpinBox* hashBox() const { return hash_; }
  QSpinBox* edBox() const { return ed_; }
  QLineEdit* edPathEdit() const { return edPath_; }

 private:
  void ShowVariant(int type);
  void KeepVariant();
  void EnableEngineControls();
  void AcceptIfComplete();

  std::filesystem::path programFolder_;
  TEngineSettingsValues values_;
  int shown_ = 0;  // the game type whose choices the controls show
  QComboBox* variant_;
  QComboBox* generation_;
  QComboBox* engineFile_;
  QLineEdit* hubCommand_;
  QPushButton* hubBrowse_;
  QLabel* problem_;
  QLineEdit* book_;
  QPushButton* bookBrowse_;
  QCheckBox* useBook_;
  QComboBox* bookLevel_;
  QLineEdit* edPath_;
  QPushButton* edBrowse_;
  QSpinBox* hash_;
  QSpinBox* ed_;
};

}  // namespace kestrel
