#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>

#include "app/ui/engines_tournament_dialog.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

TEST(EnginesTournamentDialog, DatabasesEnginesAndTimeFillTheChoices) {
  testing::TempDir dir;
  {
    TKestrelDB db;
    CreateDatabase(dir.File("sortition.abd"), db);
    for (int i = 0; i < 3; ++i) {
      TGame g;
      NewGame(g, gtRussian);
      WriteDBGame(g, 0, db, true);
    }
    CloseDatabase(db);
  }
  EnginesTournamentDialog dialog(Q(dir.path().string()));
  EXPECT_EQ(dialog.gamesForMatch()->value(), 1);
  EXPECT_EQ(dialog.totalFunctions()->value(), 20);

  // OK refuses while a database is missing.
  QString shown;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  dialog.accept();
  EXPECT_EQ(shown, "Open databases!");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);

  ASSERT_TRUE(dialog.SetSortitionDatabase(Q(dir.File("sortition.abd"))));
  EXPECT_EQ(dialog.gamesForMatch()->maximum(), 3);
  EXPECT_EQ(dialog.gamesForMatch()->value(), 3);
  ASSERT_TRUE(dialog.SetSaveDatabase(Q(dir.File("save.abd"))));  // created
  EXPECT_TRUE(DatabaseFilesExist(dir.File("save.abd")));
  dialog.AddEngines({"a.eng", "b.eng"});
  EXPECT_EQ(dialog.totalFunctions()->value(), 2);
  dialog.minutes(0)->setValue(7);
  EXPECT_EQ(dialog.minutes(1)->value(), 7);
  dialog.minutes(1)->setValue(5);
  EXPECT_EQ(dialog.minutes(0)->value(), 7);

  const TTournamentChoices c = dialog.Choices();
  EXPECT_EQ(c.sortitionGames, 3);
  EXPECT_EQ(c.engines, (std::vector<std::string>{"a.eng", "b.eng"}));
  EXPECT_EQ(c.mutateStage, 4);
  EXPECT_TRUE(c.staticFlag && c.dynamicFlag);
  EXPECT_FALSE(c.runNext);
  EXPECT_EQ(c.time.minutes, (std::array<int, 2>{7, 5}));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  if (const char* shot = std::getenv("KESTREL_SCREENSHOT_DIR"))
    dialog.grab().save(QString(shot) + "/engines_tournament.png");
}

}  // namespace
}  // namespace kestrel
