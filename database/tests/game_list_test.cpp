// The game list of the database window and the texts shown with it.
#include <gtest/gtest.h>

#include "database/derived_header.h"
#include "database/list_texts.h"
#include "db_test_util.h"

namespace kestrel {
namespace {

using namespace kestrel::testing;

TEST(GameList, ResetIsTheIdentity) {
  TGameList list;
  list.Reset(5);
  ASSERT_EQ(list.GameListCount, 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(list[i].num, i);
    EXPECT_FALSE(list[i].selected);
    EXPECT_EQ(list[i].gotomove, -1);
  }
  list.SetEntries({{4, true, 12}, {2, false, -1}});
  EXPECT_EQ(list.GameListCount, 2);
  EXPECT_EQ(list[1].num, 4);
  EXPECT_EQ(list[1].gotomove, 12);
  EXPECT_EQ(list.SelectedCount(), 1);
  EXPECT_FALSE(list.Contains(3));
  list.Reset(300);
  EXPECT_EQ(list.GameListCount, 300);
  EXPECT_EQ(list[300].num, 300);
  EXPECT_EQ(list[1].num, 1);
  EXPECT_FALSE(list[1].selected);  // a reset clears the selection
  EXPECT_EQ(list.SelectedCount(), 0);
  list.Reset(0);
  EXPECT_EQ(list.GameListCount, 0);
}

TEST(GameList, Caption) {
  TempDir dir;
  TKestrelDB db;
  FreshDatabase(dir, db);
  for (int i = 0; i < 3; ++i) {
    TGame game = LineGame(gtRussian, 2);
    WriteDBGame(game, 0, db, false);
  }
  TGameList list;
  list.Reset(db.DBSize);
  const std::string path = db.DBNameIdx;
  EXPECT_EQ(DatabaseCaption(db, list), " Database " + path + " (3)");
  list[2].selected = true;
  EXPECT_EQ(DatabaseCaption(db, list), " Database " + path + " (1/3)");
  list.SetEntries({{3, false, -1}});
  EXPECT_EQ(DatabaseCaption(db, list), " Database " + path + " (found 1)");
  list.SetEntries({{3, true, -1}, {1, true, -1}});
  EXPECT_EQ(DatabaseCaption(db, list, "База", "найдено "), " База " + path + " (найдено 2/2)");
}

TEST(ListTexts, ResultsFlagsAndDates) {
  const char* style0[] = {"*", "1-0", "=", "0-1", "1-0t", "0-1t"};
  const char* style1[] = {"*", "2-0", "1-1", "0-2", "2-0t", "0-2t"};
  for (int r = 0; r < 6; ++r) {
    EXPECT_EQ(ResultText(static_cast<uint8_t>(r), 0), style0[r]);
    EXPECT_EQ(ResultText(static_cast<uint8_t>(r), 1), style1[r]);
  }
  EXPECT_EQ(ResultText(6, 0), "*");
  EXPECT_EQ(FlagMarks(0), "");
  EXPECT_EQ(FlagMarks(hfFullSetUp | hfFewVariations | hfFewComments), "pvc");
  EXPECT_EQ(FlagMarks(hfSetUp | hfVariations | hfComments | hfDeleted), "PVC");
  EXPECT_EQ(FlagMarks(hfFewComments), "c");
  EXPECT_EQ(ListDateText({0, 0, 0}), "");
  EXPECT_EQ(ListDateText({0, 0, 987}), "0987");
  EXPECT_EQ(ListDateText({7, 5, 2015}), "2015.05.07");
  EXPECT_EQ(ListDateText({0, 5, 2015}), "2015.05.00");
  EXPECT_EQ(ListDateText({3, 0, 0}), "0000.00.03");
}

}  // namespace
}  // namespace kestrel
