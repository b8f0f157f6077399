#include "app/ui/ftp_settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/ui/ui_language.h"

namespace kestrel {

namespace {

QLineEdit* Edit(const std::string& text, const char* placeholder, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  // Examples of the form, not captions: the same in every language.
  edit->setPlaceholderText(QString::fromLatin1(placeholder));
  return edit;
}

// Blanks around a pasted value are never meant.
std::string Typed(const QLineEdit* edit) { return edit->text().trimmed().toStdString(); }

}  // namespace

FtpSettingsDialog::FtpSettingsDialog(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  BindLangTitle(this, 325);
  site_ = Edit(settings.FtpSite, "ftp.example.org", this);
  folder_ = Edit(settings.FtpFolder, "htdocs/diagrams", this);
  user_ = Edit(settings.FtpUser, "", this);
  password_ = Edit(settings.FtpPass, "", this);
  password_->setEchoMode(QLineEdit::Password);
  webFolder_ = Edit(settings.FtpWebFolder, "https://example.org/diagrams/", this);
  allowPlain_ = new QCheckBox(this);
  BindLang(allowPlain_, 331);
  allowPlain_->setChecked(settings.FtpAllowPlain);

  auto* form = new QFormLayout;
  const std::pair<int, QLineEdit*> rows[] = {
      {326, site_}, {327, folder_}, {328, user_}, {329, password_}, {330, webFolder_}};
  for (const auto& [entry, edit] : rows) {
    QLabel* label = LangLabel(this, entry);
    label->setBuddy(edit);
    form->addRow(label, edit);
  }
  form->addRow(QString(), allowPlain_);
  QLabel* note = LangLabel(this, 332);
  note->setWordWrap(true);

  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
  setMinimumWidth(440);
}

void FtpSettingsDialog::accept() {
  settings_.FtpSite = Typed(site_);
  settings_.FtpFolder = Typed(folder_);
  settings_.FtpUser = Typed(user_);
  // A password may begin or end with a blank.
  settings_.FtpPass = password_->text().toStdString();
  settings_.FtpWebFolder = Typed(webFolder_);
  settings_.FtpAllowPlain = allowPlain_->isChecked();
  QDialog::accept();
}

}  // namespace kestrel
