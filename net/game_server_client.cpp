#include "net/game_server_client.h"

#include <algorithm>
#include <string>

#include "database/code_page.h"

namespace kestrel {

namespace {

// Length of an incomplete UTF-8 sequence at the end of `bytes`, or 0.
int IncompleteUtf8Tail(const QByteArray& bytes) {
  const int n = static_cast<int>(bytes.size());
  for (int back = 1; back <= 3 && back <= n; ++back) {
    const auto c = static_cast<unsigned char>(bytes[n - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const int need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return need > back ? back : 0;
  }
  return 0;
}

}  // namespace

TGameServerClient::TGameServerClient(QObject* parent) : QObject(parent) {
  connect(&socket_, &QTcpSocket::readyRead, this, &TGameServerClient::OnReadyRead);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &TGameServerClient::OnError);
  connect(&socket_, &QTcpSocket::connected, this, [this] {
    emit LogLine(tr("Connected to %1:%2").arg(socket_.peerName()).arg(socket_.peerPort()));
    emit StateChanged(true);
  });
  connect(&socket_, &QTcpSocket::disconnected, this, [this] {
    emit LogLine(tr("Disconnected"));
    emit StateChanged(false);
  });
}

void TGameServerClient::Connect(const QString& host, int port) {
  if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.abort();
  pending_.clear();
  emit LogLine(tr("Connecting to %1:%2 ...").arg(host).arg(port));
  socket_.connectToHost(host, static_cast<quint16>(port));
}

void TGameServerClient::Disconnect() { socket_.disconnectFromHost(); }

bool TGameServerClient::IsConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }

bool TGameServerClient::Send(const QString& text) {
  if (!IsConnected()) {
    emit LogLine(tr("Not connected: nothing was sent"));
    return false;
  }
  const QByteArray utf8 = text.toUtf8();
  const std::string ansi = Utf8ToAnsi(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
  socket_.write(ansi.data(), static_cast<qint64>(ansi.size()));
  return true;
}

bool TGameServerClient::Auth(const QString& user) {
  if (!IsConnected()) {
    emit LogLine(tr("Connect first: the sign-in line goes only to a server you connected to"));
    return false;
  }
  return Send("auth " + user + " pass");
}

QString TGameServerClient::DecodeReceived(const QByteArray& bytes) {
  const std::string_view raw(bytes.constData(), static_cast<size_t>(bytes.size()));
  const std::string utf8 = IsUtf8WithNonAscii(raw) ? std::string(raw) : AnsiToUtf8(raw);
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  for (QChar& c : text)
    if (c.unicode() < 0x20 && c != '\n' && c != '\r' && c != '\t') c = '?';
  return text;
}

void TGameServerClient::OnReadyRead() {
  QByteArray bytes = pending_ + socket_.readAll();
  int tail = IncompleteUtf8Tail(bytes);
  // Only text that reads as UTF-8 so far waits for the rest of a character;
  // code-page text is shown at once.
  const std::string_view head(bytes.constData(), static_cast<size_t>(bytes.size() - tail));
  const bool ascii = std::all_of(head.begin(), head.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && !IsUtf8WithNonAscii(head)) tail = 0;
  pending_ = bytes.right(tail);
  bytes.chop(tail);
  if (bytes.isEmpty()) return;
  QString text = DecodeReceived(bytes);
  while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
  emit LogLine(text);
}

void TGameServerClient::OnError(QAbstractSocket::SocketError) {
  emit LogLine(tr("Connection error: %1").arg(socket_.errorString()));
  emit StateChanged(IsConnected());
}

}  // namespace kestrel
