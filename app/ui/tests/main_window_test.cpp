#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/settings/ini_file.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/main_window.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

TEST(MainWindow, StartsTitledAndWritesSettingsAtClose) {
  testing::TempDir dir;
  KestrelApp app(dir.path(), dir.path());
  {
    MainWindow window(app);
    window.Start();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QString("Kestrel Thornby 3.6"));
    EXPECT_TRUE(window.isMaximized());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "winkes36.ini"));  // written only at close
    EXPECT_TRUE(window.close());
  }
  IniFile ini;
  ASSERT_TRUE(ini.Load(dir.path() / "winkes36.ini"));
  EXPECT_EQ(ini.ReadInt("Main", "Tuning", 1), 0);
  EXPECT_EQ(ini.ReadInt("Windows", "MainMaximized", 0), 1);
  EXPECT_FALSE(app.log().IsOpen());
}

TEST(MainWindow, RestoresSavedPlacementWhenNotMaximised) {
  testing::TempDir dir;
  IniFile ini;
  ini.WriteInt("Windows", "MainMaximized", 0);
  ini.WriteInt("Windows", "MainLeft", 40);
  ini.WriteInt("Windows", "MainTop", 50);
  ini.WriteInt("Windows", "MainWidth", 700);
  ini.WriteInt("Windows", "MainHeight", 500);
  ASSERT_TRUE(ini.Save(dir.path() / "winkes36.ini"));
  KestrelApp app(dir.path(), dir.path());
  MainWindow window(app);
  window.Start();
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_FALSE(window.isMaximized());
  EXPECT_EQ(window.size(), QSize(700, 500));
  window.close();
  IniFile back;
  back.Load(dir.path() / "winkes36.ini");
  EXPECT_EQ(back.ReadInt("Windows", "MainWidth", 0), 700);
  EXPECT_EQ(back.ReadInt("Windows", "MainMaximized", 1), 0);
}

}  // namespace
}  // namespace kestrel

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The welcome dialogs of a first start are tested on their own.
  kestrel::MainWindow::welcomeOnFirstStart = false;
  kestrel::MainWindow::openDocument = [](const QString&) {};
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
