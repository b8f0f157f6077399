#include "net/game_server_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/settings/settings.h"

namespace kestrel {

TGameServerWindow::TGameServerWindow(Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings) {
  setObjectName("intcon");
  setWindowTitle(tr("Internet game server"));

  host_ = new QLineEdit(QString::fromStdString(settings.GameServerHost));
  port_ = new QSpinBox;
  port_->setRange(1, 65535);
  port_->setValue(settings.GameServerPort);
  connect_ = new QPushButton(tr("&Connect!"));
  auto* address = new QHBoxLayout;
  address->addWidget(host_, 1);
  address->addWidget(port_);
  address->addWidget(connect_);

  text_ = new QLineEdit;
  text_->setObjectName("Text");
  send_ = new QPushButton(tr("&Send"));
  auto* sendRow = new QHBoxLayout;
  sendRow->addWidget(text_, 1);
  sendRow->addWidget(send_);

  user_ = new QLineEdit;
  user_->setPlaceholderText(tr("user name"));
  auth_ = new QPushButton(tr("&Auth"));
  auto* authRow = new QHBoxLayout;
  authRow->addWidget(user_, 1);
  authRow->addWidget(auth_);

  auto* form = new QFormLayout;
  form->addRow(tr("Server:"), address);
  form->addRow(tr("Text:"), sendRow);
  form->addRow(tr("User:"), authRow);

  log_ = new QPlainTextEdit;
  log_->setReadOnly(true);
  log_->setMaximumBlockCount(10000);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(log_, 1);
  resize(520, 380);

  connect(connect_, &QPushButton::clicked, this, &TGameServerWindow::OnConnect);
  connect(host_, &QLineEdit::returnPressed, this, &TGameServerWindow::OnConnect);
  connect(send_, &QPushButton::clicked, this, [this] { client_.Send(text_->text()); });
  connect(text_, &QLineEdit::returnPressed, send_, &QPushButton::click);
  connect(auth_, &QPushButton::clicked, this, [this] { client_.Auth(user_->text()); });
  connect(&client_, &TGameServerClient::LogLine, log_, &QPlainTextEdit::appendPlainText);
  connect(&client_, &TGameServerClient::StateChanged, this, &TGameServerWindow::OnState);
  OnState(false);
}

void TGameServerWindow::OnConnect() {
  const QString host = host_->text().trimmed();
  if (host.isEmpty()) {
    log_->appendPlainText(tr("Give the server's address"));
    return;
  }
  settings_.GameServerHost = host.toStdString();
  settings_.GameServerPort = port_->value();
  client_.Connect(host, port_->value());
}

void TGameServerWindow::OnState(bool connected) {
  send_->setEnabled(connected);
  auth_->setEnabled(connected);
}

}  // namespace kestrel
