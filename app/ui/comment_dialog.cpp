#include "app/ui/comment_dialog.h"
#include "app/ui/qt_text.h"
#include "app/ui/ui_language.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "game/game_editing.h"

namespace kestrel {

namespace {



}  // namespace

CommentDialog::CommentDialog(QWidget* parent)
    : QDialog(parent), before_(new QPlainTextEdit(this)), after_(new QPlainTextEdit(this)),
      diagram_(new QPushButton(this)), lastEntered_(after_) {
  BindLangTitle(this, 89);
  BindLang(diagram_, 159);
  auto* layout = new QVBoxLayout(this);
  auto* beforeLabel = new QLabel(this);
  BindLang(beforeLabel, 70);
  layout->addWidget(beforeLabel);
  layout->addWidget(before_);
  auto* afterLabel = new QLabel(this);
  BindLang(afterLabel, 214);
  layout->addWidget(afterLabel);
  layout->addWidget(after_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->addButton(diagram_, QDialogButtonBox::ActionRole);
  layout->addWidget(buttons);
  BindButtonBox(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(diagram_, &QPushButton::clicked, this, &CommentDialog::AddDiagram);
  diagram_->setAutoDefault(false);
  for (QPlainTextEdit* box : {before_, after_}) {
    box->installEventFilter(this);
    box->viewport()->installEventFilter(this);
  }
}

void CommentDialog::SetComments(const std::string& before, const std::string& after, bool beforeEnabled) {
  before_->setPlainText(StoredToQt(before));
  after_->setPlainText(StoredToQt(after));
  before_->setEnabled(beforeEnabled);
  lastEntered_ = after_;
}

std::string CommentDialog::Before() const { return QtToStored(before_->toPlainText()); }
std::string CommentDialog::After() const { return QtToStored(after_->toPlainText()); }

bool CommentDialog::eventFilter(QObject* watched, QEvent* event) {
  // A box is entered by focus, a click or a key.
  const QEvent::Type t = event->type();
  if (t == QEvent::FocusIn || t == QEvent::MouseButtonPress || t == QEvent::KeyPress) {
    if (watched == before_ || watched == before_->viewport()) lastEntered_ = before_;
    if (watched == after_ || watched == after_->viewport()) lastEntered_ = after_;
  }
  return QDialog::eventFilter(watched, event);
}

void CommentDialog::AddDiagram() {
  QPlainTextEdit* box = lastEntered_->isEnabled() ? lastEntered_ : after_;
  std::string text = QtToStored(box->toPlainText());
  // The caret counts characters; the text is kept as bytes of the code page.
  const QString before = box->toPlainText().left(box->textCursor().position());
  InsertDiagramMark(text, QtToStored(before).size());
  box->setPlainText(StoredToQt(text));
  QTextCursor cursor = box->textCursor();
  cursor.setPosition(static_cast<int>(before.size() + DiagramMark.size()));
  box->setTextCursor(cursor);
}

}  // namespace kestrel
