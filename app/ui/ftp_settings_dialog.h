// "FTP gallery": where "Upload to gallery" sends a diagram: the FTP site,
// the folder on it, the account and its password, the public web address of
// that folder, and whether plain FTP may be used for a server without TLS.
// The dialog edits a copy; OK writes it into the settings. The password stays
// in the settings file, which is then written readable by its owner only.
#pragma once

#include <QDialog>

#include "app/settings/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kestrel {

class FtpSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FtpSettingsDialog(Settings& settings, QWidget* parent = nullptr);

  QLineEdit* siteEdit() const { return site_; }
  QLineEdit* folderEdit() const { return folder_; }
  QLineEdit* userEdit() const { return user_; }
  QLineEdit* passwordEdit() const { return password_; }
  QLineEdit* webFolderEdit() const { return webFolder_; }
  QCheckBox* allowPlainBox() const { return allowPlain_; }

  void accept() override;

 private:
  Settings& settings_;
  QLineEdit* site_;
  QLineEdit* folder_;
  QLineEdit* user_;
  QLineEdit* password_;
  QLineEdit* webFolder_;
  QCheckBox* allowPlain_;
};

}  // namespace kestrel
