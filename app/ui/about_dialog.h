// "About": the program's name and version, its licence, the libraries it is
// built on and the program folder it runs from.
#pragma once

#include <QDialog>

#include <filesystem>

class QLabel;
class QPlainTextEdit;

namespace kestrel {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(const std::filesystem::path& programFolder, QWidget* parent = nullptr);

  QLabel* folderLabel() const { return folder_; }

 private:
  QLabel* folder_;
};

// "Show Log": the log file as it is now, newest entries at the bottom.
class LogDialog : public QDialog {
  Q_OBJECT

 public:
  explicit LogDialog(const std::filesystem::path& logFile, QWidget* parent = nullptr);
  QString Text() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace kestrel
