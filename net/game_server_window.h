// The "intcon" window: a text connection to an internet game server, with
// the server's address, a text to send, a user name for signing in, and the
// log of everything received and every connection event.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

#include "net/game_server_client.h"

namespace kestrel {

struct Settings;

class TGameServerWindow : public QWidget {
  Q_OBJECT

 public:
  // Host and port start from `settings` and are written back to it when the
  // user connects.
  explicit TGameServerWindow(Settings& settings, QWidget* parent = nullptr);

  TGameServerClient& Client() { return client_; }
  QLineEdit* HostEdit() { return host_; }
  QSpinBox* PortEdit() { return port_; }
  QLineEdit* TextEdit() { return text_; }
  QLineEdit* UserEdit() { return user_; }
  QPlainTextEdit* Log() { return log_; }
  QPushButton* ConnectButton() { return connect_; }
  QPushButton* SendButton() { return send_; }
  QPushButton* AuthButton() { return auth_; }

 private:
  void OnConnect();
  void OnState(bool connected);

  Settings& settings_;
  TGameServerClient client_;
  QLineEdit* host_;
  QSpinBox* port_;
  QLineEdit* text_;
  QLineEdit* user_;
  QPlainTextEdit* log_;
  QPushButton* connect_;
  QPushButton* send_;
  QPushButton* auth_;
};

}  // namespace kestrel
