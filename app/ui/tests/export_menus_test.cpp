// The main window's "Export diagram" and "Export game" menus, with their
// dialogs answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/export/diagram_text.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_export.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ExportMenus, DiagramAndGameExports) {
  testing::TempDir dir;
  KestrelApp app(dir.path(), dir.path());
  MainWindow window(app);
  window.Start();
  auto* exporter = window.findChild<MainWindowExport*>();
  ASSERT_NE(exporter, nullptr);
  QStringList messages;
  std::optional<int> size = 345;
  QString file = QString::fromStdString(dir.File("pos.GIF"));
  exporter->showMessage = [&](const QString& m) { messages << m; };
  exporter->chooseSize = [&](int) { return size; };
  exporter->chooseSaveFile = [&](const QString&, const QString&, const QString&) { return file; };

  exporter->ExportGif();
  const std::string gif = Slurp(dir.path() / "pos.gif");
  ASSERT_GE(gif.size(), 10u);
  EXPECT_EQ((static_cast<unsigned char>(gif[6]) | static_cast<unsigned char>(gif[7]) << 8), 345);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "pos.GIF.gif"));
  size.reset();  // a cancelled size dialog does nothing
  file = QString::fromStdString(dir.File("other.gif"));
  exporter->ExportGif();
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "other.gif"));

  const int type = CurrentGameType;
  exporter->CopyTextDiagram();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), TextDiagram(InitialPosition(type).b, type));
  ASSERT_FALSE(messages.isEmpty());
  EXPECT_EQ(messages.back(), "Ok.\nUse Kestrel Draughts font!");

  app.settings().UseItalPDN = true;
  exporter->CopyFen();
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("[Posizione \"W:")) << QApplication::clipboard()->text().toStdString();
  exporter->CopyWords();
  EXPECT_TRUE(messages.back().startsWith("White moves: White ")) << messages.back().toStdString();

  size = 115;
  exporter->CopyBitmap();
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(115, 115));

  // "*.PDN" appends; "*.RTF" writes a document.
  file = QString::fromStdString(dir.File("games.txt"));
  exporter->AppendPdn();
  exporter->AppendPdn();
  const std::string pdn = Slurp(dir.path() / "games.pdn");
  EXPECT_NE(pdn.find("[Bianco"), pdn.rfind("[Bianco"));
  file = QString::fromStdString(dir.File("game.RTF"));
  exporter->WriteRtf();
  EXPECT_EQ(Slurp(dir.path() / "game.rtf").rfind("{\\rtf1", 0), 0u);

  // The gallery command says where to set it until it is set.
  exporter->UpdateGalleryAction();
  EXPECT_FALSE(exporter->galleryAction()->isEnabled());
  EXPECT_TRUE(exporter->galleryAction()->toolTip().contains("[FTP]"));
  app.settings().FtpSite = "ftp.example.org";
  app.settings().FtpWebFolder = "https://example.org/gallery/";
  app.settings().FtpPass = "secret";
  exporter->UpdateGalleryAction();
  EXPECT_TRUE(exporter->galleryAction()->isEnabled());
  EXPECT_EQ(exporter->galleryAction()->text(), "Upload to ftp.example.org");

  if (const char* shots = std::getenv("KESTREL_SHOT_DIR")) {
    window.resize(900, 640);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    DiagramSizeDialog dialog(230, &window);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.grab().save(QString(shots) + "/size_dialog.png");
    exporter->diagramMenu()->popup(window.mapToGlobal(QPoint(20, 40)));
    QTest::qWait(50);
    exporter->diagramMenu()->grab().save(QString(shots) + "/diagram_menu.png");
    exporter->diagramMenu()->hide();
  }
  // The settings file holds the password now: only its owner may read it.
  window.close();
  const auto perms = std::filesystem::status(dir.path() / "winkes36.ini").permissions();
  EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
            std::filesystem::perms::none);
}

}  // namespace
}  // namespace kestrel
