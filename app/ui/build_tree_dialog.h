// The "Build tree" dialog: the book file (the engine's book of the current
// variant at first, "Browse" for another), "Maximum moves", "Minimum
// draughts" and "Clear existing statistics". It only shows and returns
// values; database/maintenance/book_builder does the work.
#pragma once

#include <QDialog>
#include <QString>

#include "database/maintenance/book_builder.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kestrel {

// The chosen name with its extension made ".cbk"; empty stays empty.
QString BookFileName(const QString& path);

class BuildTreeDialog : public QDialog {
  Q_OBJECT

 public:
  explicit BuildTreeDialog(const QString& book, QWidget* parent = nullptr);

  TBookBuildOptions Options() const;
  QString Book() const;

  QLineEdit* bookEdit() const { return book_; }
  QSpinBox* maxMovesBox() const { return maxMoves_; }
  QSpinBox* minPiecesBox() const { return minPieces_; }
  QCheckBox* clearBox() const { return clear_; }
  QPushButton* okButton() const { return ok_; }

 private:
  QLineEdit* book_;
  QSpinBox* maxMoves_;
  QSpinBox* minPieces_;
  QCheckBox* clear_;
  QPushButton* ok_;
};

}  // namespace kestrel
