#include "app/ui/build_tree_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/ui/ui_language.h"

namespace kestrel {

QString BookFileName(const QString& path) {
  if (path.trimmed().isEmpty()) return {};
  const QFileInfo info(path.trimmed());
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".cbk"));
}

BuildTreeDialog::BuildTreeDialog(const QString& book, QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 118);  // "Build tree"
  auto* form = new QFormLayout(this);
  // Numbers need no width of a path.
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  book_ = new QLineEdit(book, this);
  book_->setMinimumWidth(360);
  auto* browse = new QPushButton(this);
  BindLang(browse, 93, {}, QStringLiteral("..."));  // "Browse"
  auto* bookRow = new QHBoxLayout;
  bookRow->addWidget(book_, 1);
  bookRow->addWidget(browse);
  form->addRow(LangLabel(this, 91), bookRow);  // "Book"
  maxMoves_ = new QSpinBox(this);
  maxMoves_->setRange(1, 255);
  maxMoves_->setValue(255);
  minPieces_ = new QSpinBox(this);
  minPieces_->setRange(0, 72);
  clear_ = new QCheckBox(this);
  BindLang(clear_, 206);  // "Clear existing statistics"
  BindLangTip(clear_, LtClearStatisticsTip);
  form->addRow(LangLabel(this, 204), maxMoves_);   // "Maximum moves"
  form->addRow(LangLabel(this, 205), minPieces_);  // "Minimum draughts"
  form->addRow(clear_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  BindButtonBox(buttons);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(book_, &QLineEdit::textChanged, this, [this](const QString& text) { ok_->setEnabled(!text.trimmed().isEmpty()); });
  ok_->setEnabled(!book.trimmed().isEmpty());
  connect(browse, &QPushButton::clicked, this, [this] {
    // The book is merged into, never overwritten: no question about an
    // existing file.
    const QString path = QFileDialog::getSaveFileName(this, LangQ(192), book_->text(),
                                                      QStringLiteral("Kestrel Thornby Book/Tree (*.cbk *.CBK)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) book_->setText(BookFileName(path));
  });
}

TBookBuildOptions BuildTreeDialog::Options() const {
  TBookBuildOptions o;
  o.maxMoves = maxMoves_->value();
  o.minPieces = minPieces_->value();
  o.clearStatistics = clear_->isChecked();
  return o;
}

QString BuildTreeDialog::Book() const { return BookFileName(book_->text()); }

}  // namespace kestrel
