// The tool windows of the menus: the game server client and the endgame
// generator, whose runs are checked against the table verifier.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "app/settings/kestrel_app.h"
#include "app/ui/endgame_generator_window.h"
#include "app/ui/main_window.h"
#include "engine/tools/edb_verify.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

TEST(ToolWindows, MenuCommandsOpenTheirWindowsWithShortcutsShown) {
  testing::TempDir dir;
  KestrelApp app(dir.path(), dir.path());
  MainWindow window(app);
  window.Start();
  struct Case {
    QAction* action;
    QKeySequence keys;
    const char* objectName;
  };
  const Case cases[] = {
      {window.gameServerAction(), QKeySequence(QStringLiteral("Ctrl+Shift+G")), "intcon"},
      {window.endgameGeneratorAction(), QKeySequence(QStringLiteral("Ctrl+Shift+E")), "EDBGenerator"},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.action, nullptr) << c.objectName;
    EXPECT_EQ(c.action->shortcut(), c.keys) << c.objectName;
    c.action->trigger();
    auto* opened = window.findChild<QWidget*>(QString::fromLatin1(c.objectName));
    ASSERT_NE(opened, nullptr) << c.objectName;
    EXPECT_TRUE(opened->isVisible()) << c.objectName;
    // A second trigger shows the same window again.
    opened->close();
    c.action->trigger();
    EXPECT_EQ(window.findChildren<QWidget*>(QString::fromLatin1(c.objectName)).size(), 1) << c.objectName;
    EXPECT_TRUE(opened->isVisible()) << c.objectName;
  }
  window.close();
}

bool WaitForEnd(const EndgameGeneratorWindow& w) { return QTest::qWaitFor([&] { return !w.Running(); }, 120000); }

TEST(EndgameGeneratorWindow, RunsToTheEndAndTheTablesVerify) {
  testing::TempDir dir;
  EndgameGeneratorWindow w(dir.path(), gtRussian);
  w.show();
  fs::path written;
  w.onTablesWritten = [&](const fs::path& folder) { written = folder; };
  w.piecesBox()->setValue(3);
  w.threadsBox()->setValue(2);
  EXPECT_FALSE(w.cancelButton()->isEnabled());
  QTest::mouseClick(w.generateButton(), Qt::LeftButton);
  EXPECT_TRUE(w.Running());
  EXPECT_FALSE(w.variantBox()->isEnabled());
  EXPECT_TRUE(w.cancelButton()->isEnabled());
  ASSERT_TRUE(WaitForEnd(w));
  ASSERT_TRUE(w.LastStats().ok) << w.LastStats().error;
  EXPECT_FALSE(w.LastStats().cancelled);
  EXPECT_EQ(written, dir.path());
  EXPECT_EQ(w.progressBar()->maximum(), CountGenerationTables(w.Options()));
  EXPECT_EQ(w.progressBar()->value(), w.progressBar()->maximum());
  EXPECT_TRUE(w.log()->toPlainText().contains(QStringLiteral("EDB=3")));
  EXPECT_EQ(w.statsLabel(EndgameGeneratorWindow::statsTables)->text(),
            QStringLiteral("%1 solved, 0 already present").arg(w.LastStats().tablesSolved));
  EXPECT_TRUE(w.generateButton()->isEnabled());
  const TEdbVerifyStats verified = VerifyEndgameTables(dir.path(), gtRussian, 3, false, {});
  EXPECT_TRUE(verified.ok) << verified.error;
  EXPECT_GT(verified.tables, 0);
  EXPECT_EQ(verified.wrong, 0u);
}

TEST(EndgameGeneratorWindow, CancelStopsARunThatResumesLater) {
  testing::TempDir dir;
  EndgameGeneratorWindow w(dir.path(), gtEnglish);
  w.show();
  w.piecesBox()->setValue(5);
  w.threadsBox()->setValue(1);
  w.generateButton()->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.progressBar()->value() >= 3 || !w.Running(); }, 60000));
  w.cancelButton()->click();
  EXPECT_FALSE(w.cancelButton()->isEnabled());
  ASSERT_TRUE(WaitForEnd(w));
  EXPECT_TRUE(w.LastStats().cancelled);
  EXPECT_LT(w.progressBar()->value(), w.progressBar()->maximum());
  for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();

  // The same folder again, up to 2 pieces: the tables made before are kept.
  w.piecesBox()->setValue(2);
  w.generateButton()->click();
  ASSERT_TRUE(WaitForEnd(w));
  EXPECT_TRUE(w.LastStats().ok);
  EXPECT_GT(w.LastStats().tablesSkipped, 0);
}

TEST(EndgameGeneratorWindow, SplitRangeFollowsTheBoardAndAnEmptyPlanCannotStart) {
  testing::TempDir dir;
  EndgameGeneratorWindow w(dir.path(), gtInternational);
  w.splitButton()->setChecked(true);
  EXPECT_EQ(w.strongBox()->maximum(), 4);  // 10x10 men tables hold four men a side
  w.variantBox()->setCurrentIndex(w.variantBox()->findData(gtRussian));
  EXPECT_EQ(w.strongBox()->maximum(), 5);
  w.strongBox()->setValue(2);
  w.weakBox()->setValue(1);
  EXPECT_TRUE(w.generateButton()->isEnabled());
  const TEdbGenOptions o = w.Options();
  EXPECT_EQ(o.fullPieces, 0);
  EXPECT_EQ(o.splitStrong, 2);
  w.folderEdit()->clear();
  EXPECT_FALSE(w.generateButton()->isEnabled());
}

}  // namespace
}  // namespace kestrel
