// The progress window and the tournament summary window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "app/ui/maintenance_dialogs.h"
#include "app/ui/progress_dialog.h"
#include "app/ui/tournament_list_window.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

TEST(ProgressDialog, BarEstimateAndCancel) {
  ProgressDialog dialog;
  dialog.Open("Copy games", "Copying...", 400);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.Step(100));
  EXPECT_EQ(dialog.bar()->value(), 250);
  EXPECT_TRUE(dialog.estimateLabel()->text().startsWith("Estimated time "));
  if (const char* out = std::getenv("KESTREL_SHOTS")) dialog.grab().save(QString(out) + "/progress.png");
  dialog.cancelButton()->click();
  EXPECT_FALSE(dialog.Step(200));
  dialog.Close();
  EXPECT_FALSE(dialog.isVisible());
  dialog.Open("Database check", "Checking...", 10);
  EXPECT_TRUE(dialog.Step(1)) << "a new stage starts without the old cancel";
  dialog.Close();
}

TEST(TournamentListWindow, LimitBlanksTotalsAndSave) {
  TournamentListWindow w;
  w.SetRows({{"Cup", "Moscow", 2000, 3}, {"", "", 0, 5}, {"Open", "Riga", 2001, 1}, {"Cup", "Moscow", 2001, 2}});
  EXPECT_EQ(w.grid()->rowCount(), 4);
  EXPECT_EQ(w.totals()->text(), "Tournaments=4, games=11");
  w.hideBlanks()->setChecked(true);
  EXPECT_EQ(w.grid()->rowCount(), 3);
  w.moreThan()->setValue(1);
  ASSERT_EQ(w.grid()->rowCount(), 2);
  EXPECT_EQ(w.grid()->item(1, 0)->text(), "2");
  EXPECT_EQ(w.grid()->item(1, 3)->text(), "2001");
  EXPECT_EQ(w.totals()->text(), "Tournaments=2, games=5");
  testing::TempDir dir;
  ASSERT_TRUE(w.SaveTo(QString::fromStdString(dir.File("list.TXT"))));
  std::ifstream in(dir.File("list.txt"), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "1,Cup,Moscow,2000,3\r\n2,Cup,Moscow,2001,2\r\n");
  w.show();
  const QImage shot = w.grab().toImage();
  if (const char* out = std::getenv("KESTREL_SHOTS")) shot.save(QString(out) + "/tournament_list.png");
  EXPECT_GT(shot.width(), 300);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(SortGamesDialog, KeysReorderAndSaveOnlyForWholeDatabase) {
  SortGamesDialog whole(true), found(false);
  EXPECT_EQ(whole.Keys(), AllSortKeys());
  whole.keyList()->setCurrentRow(2);  // Date
  whole.MoveCurrent(-1);
  whole.MoveCurrent(-1);
  whole.MoveCurrent(-1);  // stays first
  EXPECT_EQ(whole.Keys()[0], TSortKey::date);
  EXPECT_EQ(whole.Keys()[1], TSortKey::tournament);
  whole.saveBox()->setChecked(true);
  EXPECT_TRUE(whole.SaveToDatabase());
  EXPECT_FALSE(found.saveBox()->isEnabled());
  found.saveBox()->setChecked(true);
  EXPECT_FALSE(found.SaveToDatabase());
  if (const char* out = std::getenv("KESTREL_SHOTS")) {
    whole.show();
    whole.grab().save(QString(out) + "/sort_games.png");
  }
}

}  // namespace
}  // namespace kestrel
