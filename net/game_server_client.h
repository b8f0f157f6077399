// A text connection to an internet game server: connects where the settings
// say, sends what the user types in the system's code page, and reports what
// arrives and every connection error as lines for the window's log.
#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>

namespace kestrel {

class TGameServerClient : public QObject {
  Q_OBJECT

 public:
  explicit TGameServerClient(QObject* parent = nullptr);

  void Connect(const QString& host, int port);
  void Disconnect();
  bool IsConnected() const;

  // The text as 8-bit text, without a line end. False, with a log line,
  // when no connection is open.
  bool Send(const QString& text);
  // "auth " + user + " pass", only over a connection the user opened.
  bool Auth(const QString& user);

  // Received bytes as text: UTF-8 when they are valid UTF-8, else the
  // system's code page. Control characters other than line ends are shown
  // as "?".
  static QString DecodeReceived(const QByteArray& bytes);

 signals:
  void LogLine(const QString& line);
  void StateChanged(bool connected);

 private:
  void OnReadyRead();
  void OnError(QAbstractSocket::SocketError error);

  QTcpSocket socket_;
  // Bytes of a UTF-8 character split between two reads wait here.
  QByteArray pending_;
};

}  // namespace kestrel
