#include "app/ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtGlobal>

#include "app/settings/kestrel_app.h"
#include "app/ui/ui_language.h"

#ifndef KESTREL_VERSION
#define KESTREL_VERSION "3.6"
#endif

namespace kestrel {

namespace {

// The log is read from its end; older entries than this are left out.
constexpr qint64 MaxLogBytesShown = 1 << 20;

QLabel* Content(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  // Names and facts, the same in every language.
  label->setProperty("kestrelContent", true);
  return label;
}

QString Libraries() {
  QStringList list;
  list << QStringLiteral("Qt %1 (GNU LGPL 3)").arg(QString::fromLatin1(qVersion()));
#if defined(__GLIBCXX__)
  list << QStringLiteral("GNU C++ library (GPL 3 with the runtime exception)");
#endif
  list << QStringLiteral("C++ compiler: %1").arg(QString::fromLatin1(__VERSION__));
  return list.join(QLatin1Char('\n'));
}

QDialogButtonBox* CloseButton(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  if (QAbstractButton* close = buttons->button(QDialogButtonBox::Close)) BindLang(close, 225);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

AboutDialog::AboutDialog(const std::filesystem::path& programFolder, QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 41);
  auto* name = Content(QString::fromUtf8(ApplicationTitle), this);
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* form = new QFormLayout;
  form->addRow(LangLabel(this, 314), Content(QStringLiteral(KESTREL_VERSION " (" __DATE__ ")"), this));
  QLabel* licence = Content(QString(), this);
  BindLang(licence, LtLicenceText);
  form->addRow(LangLabel(this, 315), licence);
  form->addRow(LangLabel(this, 316), Content(Libraries(), this));
  folder_ = Content(QString::fromStdString(programFolder.string()), this);
  form->addRow(LangLabel(this, 317), folder_);
  // RTF documents and text diagrams draw boards with this font.
  auto* fontNote = Content(QString(), this);
  BindLang(fontNote, 323);
  form->addRow(LangLabel(this, 322), fontNote);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name);
  layout->addLayout(form);
  layout->addWidget(CloseButton(this));
  setMinimumWidth(480);
}

LogDialog::LogDialog(const std::filesystem::path& logFile, QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 278);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFile file(QString::fromStdString(logFile.string()));
  if (file.open(QIODevice::ReadOnly)) {
    if (file.size() > MaxLogBytesShown) file.seek(file.size() - MaxLogBytesShown);
    const QByteArray bytes = file.readAll();
    QStringList lines;
    for (const QByteArray& line : bytes.split('\n')) lines << ProgramTextQ(line.trimmed().toStdString());
    text_->setPlainText(lines.join(QLatin1Char('\n')));
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(CloseButton(this));
  resize(720, 480);
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

QString LogDialog::Text() const { return text_->toPlainText(); }

}  // namespace kestrel
