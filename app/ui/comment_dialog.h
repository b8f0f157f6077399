// "Move comment": the comments before and after the current move, with a
// button that inserts the diagram mark where the user last typed.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace kestrel {

class CommentDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CommentDialog(QWidget* parent = nullptr);

  // `beforeEnabled` is false at the start of the game, which has no move to
  // comment before.
  void SetComments(const std::string& before, const std::string& after, bool beforeEnabled);
  std::string Before() const;
  std::string After() const;

  QPlainTextEdit* BeforeBox() const { return before_; }
  QPlainTextEdit* AfterBox() const { return after_; }
  QPushButton* DiagramButton() const { return diagram_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddDiagram();

  QPlainTextEdit* before_;
  QPlainTextEdit* after_;
  QPushButton* diagram_;
  QPlainTextEdit* lastEntered_;
};

}  // namespace kestrel
