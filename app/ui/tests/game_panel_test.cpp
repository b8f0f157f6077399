#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/ui/comment_dialog.h"
#include "app/ui/game_panel.h"
#include "app/ui/qt_text.h"
#include "database/code_page.h"
#include "game/game_editing.h"
#include "game/move_tree.h"
#include "game/navigation.h"
#include "game/new_game.h"
#include "rules/game_types.h"
#include "rules/move_generator.h"
#include "rules/notation.h"

namespace kestrel {
namespace {

// Plays `plies` moves along the main line, always the first legal move.
TGame LongGame(int plies) {
  TGame game;
  NewGame(game, gtRussian);
  int node = 0;
  for (int i = 0; i < plies; ++i) {
    TBoard board;
    TDColor side;
    if (!PositionAt(game, node, board, side)) break;
    TMoveList list;
    uint8_t count = 0;
    GenerateMoveList(board, side, list, gtRussian, count);
    if (count == 0) break;
    const TAddResult r = AddMove(game, node, list[count - 1]);
    if (!r.ok()) break;
    node = r.slot;
  }
  return game;
}

int MainLineSlot(const TGame& game, int ply) {
  int node = 0;
  for (int i = 0; i < ply; ++i) node = FirstChild(game, node);
  return node;
}

TEST(GamePanelWidget, ClicksOnDrawnMovesGiveTheirSlots) {
  TGame game = LongGame(6);
  GamePanel panel;
  panel.resize(400, 300);
  panel.BuildGameTree(game);
  QSignalSpy spy(&panel, &GamePanel::moveClicked);
  for (int ply = 1; ply <= 6; ++ply) {
    const int slot = MainLineSlot(game, ply);
    const auto centre = panel.SlotCentre(slot);
    ASSERT_TRUE(centre.has_value()) << ply;
    QTest::mouseClick(&panel, ply % 2 ? Qt::LeftButton : Qt::RightButton, {}, *centre);
    ASSERT_EQ(spy.count(), ply);
    EXPECT_EQ(spy.last().at(0).toInt(), slot);
    EXPECT_EQ(spy.last().at(1).toBool(), ply % 2 == 0);
  }
  // Empty space below the text hits nothing; a right click in the header
  // asks for the header dialog.
  QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(200, 290));
  EXPECT_EQ(spy.count(), 6);
  QSignalSpy header(&panel, &GamePanel::headerDialogRequested);
  QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(200, 20));
  EXPECT_EQ(header.count(), 1);
  QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(200, 20));
  EXPECT_EQ(header.count(), 1);
}

TEST(GamePanelWidget, TheScrollBarFollowsTheCurrentMove) {
  TGame game = LongGame(120);
  GamePanel panel;
  panel.resize(300, 200);
  panel.BuildGameTree(game);
  ASSERT_TRUE(panel.ScrollBar()->isVisibleTo(&panel));
  EXPECT_EQ(panel.ScrollBar()->value(), 0);
  EXPECT_EQ(panel.ScrollBar()->maximum(), panel.View().Scroll().maxShowLine);

  const int last = MainLineSlot(game, 120);
  ASSERT_TRUE(GoToMove(game, last));
  panel.ShowCurrentMove(last);
  EXPECT_GT(panel.ScrollBar()->value(), 0);
  EXPECT_TRUE(panel.SlotCentre(last).has_value());
  EXPECT_FALSE(panel.SlotCentre(MainLineSlot(game, 1)).has_value());

  // Moving the bar scrolls the drawn lines.
  panel.ScrollBar()->setValue(0);
  EXPECT_EQ(panel.View().FirstLine(), 0);
  EXPECT_TRUE(panel.SlotCentre(MainLineSlot(game, 1)).has_value());

  // A short game needs no bar.
  panel.BuildGameTree(LongGame(2));
  EXPECT_FALSE(panel.ScrollBar()->isVisibleTo(&panel));
}

TEST(GamePanelWidget, TheCurrentMoveIsDrawnOnGrey) {
  TGame game = LongGame(4);
  const int slot = MainLineSlot(game, 3);
  ASSERT_TRUE(GoToMove(game, slot));
  GamePanel panel;
  panel.resize(400, 200);
  panel.BuildGameTree(game);
  const QImage shot = panel.grab().toImage();
  const auto centre = panel.SlotCentre(slot);
  ASSERT_TRUE(centre.has_value());
  // The grey box spans the item's line: its top row holds no text.
  const TTreeItem* item = nullptr;
  for (const TTreeItem& i : panel.View().Layout().items)
    if (i.moverel == slot) item = &i;
  ASSERT_NE(item, nullptr);
  const QPoint top(centre->x(), panel.View().ItemTop(*item));
  EXPECT_EQ(shot.pixelColor(top), QColor(128, 128, 128));
  const auto other = panel.SlotCentre(MainLineSlot(game, 1));
  ASSERT_TRUE(other.has_value());
  EXPECT_NE(shot.pixelColor(other->x(), top.y()), QColor(128, 128, 128));
}

TEST(GamePanelWidget, MenuChoicesArriveAsCommands) {
  GamePanel panel;
  QSignalSpy spy(&panel, &GamePanel::commandChosen);
  QSignalSpy comment(&panel, &GamePanel::commentRequested);
  std::vector<QAction*> actions;
  for (QAction* a : panel.Menu()->actions()) {
    if (a->menu())
      for (QAction* sub : a->menu()->actions()) actions.push_back(sub);
    else if (!a->isSeparator())
      actions.push_back(a);
  }
  int commands = 0;
  for (QAction* a : actions) {
    if (a->text() == "Comment move") {
      a->trigger();
      EXPECT_EQ(comment.count(), 1);
      continue;
    }
    if (a->text() == "Add diagram") continue;
    a->trigger();
    ++commands;
    ASSERT_EQ(spy.count(), commands) << a->text().toStdString();
  }
  // Seven move marks, eight position marks and seven other commands.
  EXPECT_EQ(commands, 7 + 8 + 7);
  auto command = [&](int i) { return spy.at(i).at(0).value<TPanelCommand>(); };
  EXPECT_EQ(command(2).kind, TPanelCommandKind::moveMark);
  EXPECT_EQ(command(2).code, 2);
  EXPECT_EQ(command(7 + 5).kind, TPanelCommandKind::positionMark);
  EXPECT_EQ(command(7 + 5).code, 5);
  EXPECT_EQ(command(commands - 1).kind, TPanelCommandKind::removeVariations);
}

TEST(CommentDialogWidget, DiagramMarkGoesWhereTheUserLastTyped) {
  CommentDialog dialog;
  dialog.SetComments("ab", "xyz", true);
  dialog.show();
  QTest::mouseClick(dialog.BeforeBox()->viewport(), Qt::LeftButton);
  QTextCursor c = dialog.BeforeBox()->textCursor();
  c.setPosition(1);
  dialog.BeforeBox()->setTextCursor(c);
  QTest::mouseClick(dialog.DiagramButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.Before(), "a[#]b");
  EXPECT_EQ(dialog.After(), "xyz");

  // At the start of the game only the game comment can be written.
  dialog.SetComments("", "", false);
  EXPECT_FALSE(dialog.BeforeBox()->isEnabled());
  QTest::mouseClick(dialog.DiagramButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.After(), "[#]");
  EXPECT_EQ(dialog.Before(), "");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// Stored names and comments reach the windows in the code page of the
// setting, and what the user types goes back in it.
TEST(StoredTextInWindows, NamesAndCommentsInEachCodePage) {
  const QString fadeev = QString::fromUtf8("\xD0\xA4\xD0\xB0\xD0\xB4\xD0\xB5\xD0\xB5\xD0\xB2");
  struct Case {
    TCodePage page;
    const char* stored;
  };
  const Case cases[] = {{TCodePage::windows1251, "\xD4\xE0\xE4\xE5\xE5\xE2"},
                        {TCodePage::utf8, "\xD0\xA4\xD0\xB0\xD0\xB4\xD0\xB5\xD0\xB5\xD0\xB2"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(CodePageName(c.page));
    SetCodePage(c.page);
    CommentDialog dialog;
    dialog.SetComments(c.stored, std::string("1. ") + c.stored, true);
    EXPECT_EQ(dialog.BeforeBox()->toPlainText(), fadeev);
    EXPECT_EQ(dialog.After(), std::string("1. ") + c.stored);

    TGame game = LongGame(4);
    game.WhiteName = c.stored;
    game.CommentsAft[MainLineSlot(game, 1)] = c.stored;
    GamePanel panel;
    panel.resize(320, 200);
    panel.BuildGameTree(game);
    const QImage shot = panel.grab().toImage();
    if (const char* dir = std::getenv("KESTREL_SCREENSHOTS"))
      shot.save(QString::fromUtf8(dir) + "/game_panel_" + CodePageName(c.page) + ".png");
  }
  SetCodePage(TCodePage::windows1251);
  int lost = 0;
  const std::string stored = QtToStored(QString::fromUtf8("M\xC3\xBCller ") + fadeev, lost);
  EXPECT_EQ(stored.substr(stored.size() - 7), " \xD4\xE0\xE4\xE5\xE5\xE2");
  EXPECT_EQ(lost, 1);
}

}  // namespace
}  // namespace kestrel
