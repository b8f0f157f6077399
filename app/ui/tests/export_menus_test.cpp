// The main window's "Export diagram" and "Export game" menus, with their
// dialogs answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/export/diagram_text.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/ftp_settings_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/ui/main_window_export.h"
#include "app/ui/database_window.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "game/new_game.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"
#include "test_support/local_ftp_server.h"
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

  // The gallery command says where to set it until it is set, in the
  // "FTP gallery" dialog of the Options menu.
  exporter->UpdateGalleryAction();
  EXPECT_FALSE(exporter->galleryAction()->isEnabled());
  EXPECT_TRUE(exporter->galleryAction()->toolTip().contains("Options > FTP gallery")) << exporter->galleryAction()->toolTip().toStdString();
  EXPECT_TRUE(window.optionsMenu()->actions().contains(exporter->ftpSettingsAction()));
  testing::TempDir serverRoot;
  testing::LocalFtpServer server(serverRoot.path(), "me", " pass ");
  bool confirmOk = true;
  exporter->editGallery = [&](FtpSettingsDialog& dialog) {
    dialog.siteEdit()->setText(QString::fromStdString(" " + server.site() + " "));
    dialog.folderEdit()->setText("www/d");
    dialog.userEdit()->setText("me");
    dialog.passwordEdit()->setText(" pass ");
    dialog.webFolderEdit()->setText("https://example.org/d");
    if (!confirmOk) return false;
    dialog.accept();
    return true;
  };
  confirmOk = false;  // Cancel changes nothing
  exporter->ftpSettingsAction()->trigger();
  EXPECT_TRUE(app.settings().FtpSite.empty());
  confirmOk = true;
  exporter->ftpSettingsAction()->trigger();
  EXPECT_EQ(app.settings().FtpSite, server.site());
  EXPECT_EQ(app.settings().FtpPass, " pass ");
  EXPECT_FALSE(app.settings().FtpAllowPlain);
  EXPECT_TRUE(exporter->galleryAction()->isEnabled());
  EXPECT_EQ(exporter->galleryAction()->text().toStdString(), "Upload to gallery (" + server.site() + ")");

  // The local server has no TLS: the user is asked once before anything is
  // sent in plain text, and the answer is kept.
  if (server.ok()) {
    QStringList questions, opened;
    exporter->confirm = [&](const QString& q) {
      questions << q;
      return true;
    };
    MainWindow::openDocument = [&](const QString& path) { opened << path; };
    size = 115;
    exporter->UploadToGallery();
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(app.settings().FtpAllowPlain);
    ASSERT_EQ(opened.size(), 1) << messages.back().toStdString();
    const QString name = opened[0].section('/', -1);
    EXPECT_EQ(opened[0], "https://example.org/d/" + name);
    EXPECT_EQ(QApplication::clipboard()->text(), "<img src=\"" + opened[0] + "\">");
    const std::string stored = Slurp(serverRoot.path() / "www" / "d" / name.toStdString());
    ASSERT_GE(stored.size(), 10u);
    EXPECT_EQ(stored.substr(0, 3), "GIF");
    EXPECT_EQ((static_cast<unsigned char>(stored[6]) | static_cast<unsigned char>(stored[7]) << 8), 115);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / name.toStdString()));
    MainWindow::openDocument = nullptr;
  }

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
    Settings fresh;  // as a new user first sees it
    FtpSettingsDialog ftp(fresh, &window);
    ftp.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ftp));
    ftp.grab().save(QString(shots) + "/ftp_dialog.png");
  }
  // The settings file holds the password now: only its owner may read it.
  window.close();
  const auto perms = std::filesystem::status(dir.path() / "winkes36.ini").permissions();
  EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
            std::filesystem::perms::none);
}

// The database window's marked games, in list order, as one document; with
// none marked, the game under the cursor.
TEST(ExportMenus, MarkedDatabaseGamesToRtf) {
  testing::TempDir dir;
  const std::string path = dir.File("club.abd");
  {
    TKestrelDB db;
    CreateDatabase(path, db);
    for (int i = 1; i <= 3; ++i) {
      TGame g;
      NewGame(g, gtRussian);
      g.WhiteName = "Player " + std::to_string(i);
      WriteDBGame(g, 0, db, true);
    }
  }
  KestrelApp app(dir.path(), dir.path());
  MainWindow window(app);
  window.Start();
  ASSERT_TRUE(window.database().OpenDatabaseFile(QString::fromStdString(path)));
  auto* exporter = window.findChild<MainWindowExport*>();
  ASSERT_NE(exporter, nullptr);
  QStringList opened;
  MainWindow::openDocument = [&](const QString& file) { opened << file; };
  exporter->chooseSaveFile = [&](const QString&, const QString&, const QString&) {
    return QString::fromStdString(dir.File("marked.RTF"));
  };
  TCurrentDatabase& db = window.database().Current();
  struct Case {
    std::vector<int32_t> marked;
    int32_t cursor;
    std::vector<const char*> in, out;
  };
  const Case cases[] = {
      {{3, 1}, 2, {"1. Player 1", "2. Player 3"}, {"Player 2"}},
      {{}, 2, {"1. Player 2"}, {"Player 1", "Player 3"}},
  };
  for (const Case& c : cases) {
    db.SetAllSelected(false);
    for (int32_t pos : c.marked) db.ToggleSelected(pos);
    db.SetCursor(c.cursor);
    exporter->databaseRtfAction()->trigger();
    const std::string rtf = Slurp(dir.path() / "marked.rtf");
    ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    size_t last = 0;
    for (const char* text : c.in) {
      const size_t at = rtf.find(text);
      EXPECT_NE(at, std::string::npos) << text;
      EXPECT_GE(at, last) << text;
      last = at;
    }
    for (const char* text : c.out) EXPECT_EQ(rtf.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(opened.size(), 2);
  EXPECT_TRUE(window.database().Window().Menu(DatabaseWindow::MenuId::games)->actions().contains(
      exporter->databaseRtfAction()));
  MainWindow::openDocument = nullptr;
}

}  // namespace
}  // namespace kestrel
