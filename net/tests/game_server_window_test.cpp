#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/settings/settings.h"
#include "net/game_server_window.h"

namespace kestrel {
namespace {

const QByteArray Privet1251("\xCF\xF0\xE8\xE2\xE5\xF2");  // "Привет" in Windows-1251

TEST(GameServerClient, ReceivedTextIsDecoded) {
  struct Case {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {"hello", "hello"},
      {QString::fromUtf8("Привет, мир").toUtf8(), QString::fromUtf8("Привет, мир")},
      {Privet1251, QString::fromUtf8("Привет")},
      {QByteArray("a\x01" "b\x1b[0m", 7), "a?b?[0m"},
      {"two\r\nlines", "two\r\nlines"},
  };
  for (const auto& c : cases) EXPECT_EQ(TGameServerClient::DecodeReceived(c.bytes), c.text) << c.bytes.toStdString();
}

// Waits for `condition` while the event loop runs.
template <typename F>
bool WaitFor(F condition) {
  return QTest::qWaitFor(condition, 10000);
}

TEST(GameServerWindow, TalksToALocalServer) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  Settings settings;
  EXPECT_EQ(settings.GameServerHost, "127.0.0.1");
  EXPECT_EQ(settings.GameServerPort, 2000);
  TGameServerWindow window(settings);
  window.show();

  // Nothing goes out before the user connects.
  EXPECT_FALSE(window.AuthButton()->isEnabled());
  EXPECT_FALSE(window.Client().Auth("nobody"));
  EXPECT_FALSE(window.Client().Send("hello"));
  QTest::qWait(50);
  EXPECT_FALSE(server.hasPendingConnections());

  window.PortEdit()->setValue(server.serverPort());
  QTest::mouseClick(window.ConnectButton(), Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return server.hasPendingConnections(); }));
  QTcpSocket* peer = server.nextPendingConnection();
  ASSERT_TRUE(WaitFor([&] { return window.AuthButton()->isEnabled(); }));
  EXPECT_EQ(settings.GameServerPort, server.serverPort());

  QByteArray received;
  const auto receive = [&](int size) {
    return WaitFor([&] {
      received += peer->readAll();
      return received.size() >= size;
    });
  };
  window.TextEdit()->setText(QString::fromUtf8("Привет"));
  QTest::mouseClick(window.SendButton(), Qt::LeftButton);
  ASSERT_TRUE(receive(6));
  EXPECT_EQ(received, Privet1251);  // 8-bit text, no line end
  received.clear();
  window.UserEdit()->setText("kestrel");
  QTest::mouseClick(window.AuthButton(), Qt::LeftButton);
  ASSERT_TRUE(receive(17));
  EXPECT_EQ(received, "auth kestrel pass");

  peer->write(QString::fromUtf8("Добро пожаловать\r\n").toUtf8());
  ASSERT_TRUE(WaitFor([&] { return window.Log()->toPlainText().contains(QString::fromUtf8("Добро пожаловать")); }));
  peer->write(Privet1251);
  ASSERT_TRUE(WaitFor([&] { return window.Log()->toPlainText().contains(QString::fromUtf8("Привет")); }));

  peer->close();
  ASSERT_TRUE(WaitFor([&] { return !window.AuthButton()->isEnabled(); }));
  EXPECT_TRUE(window.Log()->toPlainText().contains("Disconnected"));
}

TEST(GameServerWindow, ConnectionErrorsGoToTheLog) {
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
  const quint16 port = closed.serverPort();
  closed.close();
  Settings settings;
  TGameServerWindow window(settings);
  window.PortEdit()->setValue(port);
  QTest::mouseClick(window.ConnectButton(), Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return window.Log()->toPlainText().contains("Connection error"); }));
  EXPECT_FALSE(window.SendButton()->isEnabled());
  window.HostEdit()->setText("  ");
  QTest::mouseClick(window.ConnectButton(), Qt::LeftButton);
  EXPECT_TRUE(window.Log()->toPlainText().contains("address"));
}

}  // namespace
}  // namespace kestrel

// The application object lives in main, so that it goes before the static
// objects Qt's plugins leave behind (a static one crashed at exit).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
