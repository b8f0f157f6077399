// "Interface": the options of the main settings that shape what the user
// sees, the language list and, on the "Pool" tab, the options of Pool.
// "Use Italian Tags in PDN", "Auto capture", "Ask to save game changes",
// "Timeout messages" and "Sound" are taken when OK is pressed; every other
// option is written into the settings at once and announced, so the board
// and the game panel follow while the dialog is open. Cancel puts back what
// the options were when the dialog opened.
#pragma once

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "app/settings/settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace kestrel {

class InterfaceDialog : public QDialog {
  Q_OBJECT

 public:
  InterfaceDialog(Settings& settings, std::filesystem::path programFolder, QWidget* parent = nullptr);

  // Called after an option that takes effect at once has changed.
  std::function<void()> onChange;
  // Called with the file name of a language the user clicked.
  std::function<void(const std::string& language)> onLanguage;

  QButtonGroup* notationGroup() const { return notation_; }
  QButtonGroup* takeCharGroup() const { return takeChar_; }
  QButtonGroup* resultGroup() const { return result_; }
  QCheckBox* option(const char* key) const;
  QLineEdit* userNameEdit() const { return userName_; }
  QListWidget* languageList() const { return languages_; }
  QComboBox* quickSettingsBox() const { return quick_; }
  QComboBox* codePageBox() const { return codePage_; }
  QTabWidget* tabs() const { return tabs_; }

  void accept() override;
  void reject() override;

 private:
  QCheckBox* Option(QWidget* parent, const char* key, int entry, bool Settings::*field, bool atOnce);
  void Changed();
  void ShowQuickSettings();
  void ApplyQuickSettings(int index);

  Settings& settings_;
  Settings original_;
  std::filesystem::path programFolder_;
  QTabWidget* tabs_;
  QButtonGroup* notation_;
  QButtonGroup* takeChar_;
  QButtonGroup* result_;
  QLineEdit* userName_;
  QListWidget* languages_;
  QComboBox* quick_;
  QComboBox* codePage_;
  struct OkOption {
    QCheckBox* box;
    bool Settings::*field;
  };
  std::vector<OkOption> okOptions_;
  bool updating_ = false;
};

}  // namespace kestrel
