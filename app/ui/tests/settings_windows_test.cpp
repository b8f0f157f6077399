// The settings windows as a user meets them: languages switched at run time
// in every open window, the Interface options taking effect at once, the
// engine settings applied on OK, the welcome of a first start, help and log.
#include <gtest/gtest.h>

#include "database/maintenance/progress_texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include <fstream>
#include <set>

#include "app/language/language_table.h"
#include "app/play/engine_settings_apply.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/about_dialog.h"
#include "app/ui/build_tree_dialog.h"
#include "app/ui/endgame_generator_window.h"
#include "app/ui/engines_tournament_dialog.h"
#include "app/ui/header_edit_dialogs.h"
#include "app/ui/maintenance_dialogs.h"
#include "app/ui/progress_dialog.h"
#include "app/ui/search_dialog.h"
#include "app/ui/tournament_list_window.h"
#include "app/ui/ui_language.h"
#include "app/ui/comment_dialog.h"
#include "app/ui/engine_settings_dialog.h"
#include "app/ui/ftp_settings_dialog.h"
#include "app/ui/game_analysis_dialog.h"
#include "app/ui/game_info_dialog.h"
#include "app/ui/game_input.h"
#include "app/ui/game_panel.h"
#include "app/ui/interface_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/new_move_dialog.h"
#include "app/ui/board_panel.h"
#include "app/ui/select_colors_dialog.h"
#include "app/ui/set_time_dialog.h"
#include "app/ui/database_window.h"
#include "app/ui/main_window_database.h"
#include "game/move_tree.h"
#include "app/board/move_input.h"
#include "rules/notation.h"
#include "database/maintenance/progress_texts.h"
#include "test_support/temp_dir.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

class QuietUser : public TPlayUi {};

// The shipped program folder (languages, docs, engines), with the settings
// and the log in a scratch folder.
class SettingsWindowsTest : public ::testing::Test {
 protected:
  SettingsWindowsTest() : app(KESTREL_PROGRAM_DIR, dir.path()) {
    InitLanguageTable();
    window = std::make_unique<MainWindow>(app);
    window->controller().SetUi(&user);
    window->Start();
    window->show();
  }
  ~SettingsWindowsTest() override {
    window->controller().StopAndWait();
    window->close();
    window.reset();
    InitLanguageTable();
  }

  testing::TempDir dir;
  KestrelApp app;
  QuietUser user;
  std::unique_ptr<MainWindow> window;
};

// Words that stay as they are in every language: names and abbreviations.
const std::set<QString> KeptWords = {"Kestrel", "Thornby", "OK", "PDN", "TXT", "FEN", "ED", "BMP", "GIF", "RTF", "FTP", "Cyan", "Night",
                                   "Hub", "Gambler", "game", "MTW", "WDL", "Ctrl", "Del", "Up", "Down", "it", "en", "cd"};
// "game": the word Gambler Rename cuts at; "64 it", "64 en": boards; "cd4": a sample of the short notation

// The caption, if it still holds an English word.
bool StillEnglish(const QString& kindAndCaption) {
  static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
  const QString caption = kindAndCaption.section(QStringLiteral(": "), 1);
  for (auto it = word.globalMatch(caption); it.hasNext();) {
    const QString w = it.next().captured();
    if (!KeptWords.count(w)) return true;
  }
  return false;
}

void CollectActions(QWidget* w, QStringList& out) {
  for (QAction* a : w->actions()) {
    if (a->isSeparator() || a->property("kestrelContent").toBool()) continue;
    if (!a->text().isEmpty()) out << QStringLiteral("action: ") + a->text();
    if (!a->toolTip().isEmpty()) out << QStringLiteral("tip: ") + a->toolTip();
    if (a->menu()) CollectActions(a->menu(), out);
  }
}

// Every caption of every window, as "kind: text".
QStringList Captions() {
  QStringList out;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible()) continue;
    out << QStringLiteral("title: ") + top->windowTitle();
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets << top;
    for (QWidget* w : widgets) {
      if (w->property("kestrelContent").toBool()) continue;
      if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) out << QStringLiteral("label: ") + l->text();
      if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty())
        out << QStringLiteral("button: ") + b->text();
      if (auto* g = qobject_cast<QGroupBox*>(w)) out << QStringLiteral("group: ") + g->title();
      if (auto* t = qobject_cast<QTabWidget*>(w))
        for (int i = 0; i < t->count(); ++i) out << QStringLiteral("tab: ") + t->tabText(i);
      if (auto* m = qobject_cast<QMenu*>(w)) out << QStringLiteral("menu: ") + m->title();
      if (!w->toolTip().isEmpty()) out << QStringLiteral("tip: ") + w->toolTip();
      if (auto* s = qobject_cast<QSpinBox*>(w); s && !s->suffix().isEmpty()) out << QStringLiteral("suffix: ") + s->suffix();
      if (auto* bar = qobject_cast<QProgressBar*>(w)) out << QStringLiteral("bar: ") + bar->format();
      CollectActions(w, out);
    }
  }
  return out;
}

TEST_F(SettingsWindowsTest, SwitchingToRussianLeavesNoCaptionInEnglish) {
  // Every window the program has so far, open at once.
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(std::make_unique<InterfaceDialog>(app.settings(), app.programFolder(), window.get()));
  dialogs.push_back(std::make_unique<EngineSettingsDialog>(app.programFolder(), 1024, window.get()));
  dialogs.push_back(std::make_unique<AboutDialog>(app.programFolder(), window.get()));
  dialogs.push_back(std::make_unique<LogDialog>(app.LogPath(), window.get()));
  dialogs.push_back(std::make_unique<GameInfoDialog>(window.get()));
  dialogs.push_back(std::make_unique<SetTimeDialog>(window.get()));
  dialogs.push_back(std::make_unique<GameAnalysisDialog>(window.get()));
  dialogs.push_back(std::make_unique<CommentDialog>(window.get()));
  dialogs.push_back(std::make_unique<NewMoveDialog>(window.get()));
  dialogs.push_back(std::make_unique<FtpSettingsDialog>(app.settings(), window.get()));
  // The database and tool windows.
  auto search = std::make_unique<SearchDialog>(window.get());
  QCheckBox* positionPart = search->positionBox();
  dialogs.push_back(std::move(search));
  dialogs.push_back(std::make_unique<EnginesTournamentDialog>(QString(), window.get()));
  dialogs.push_back(std::make_unique<SortGamesDialog>(true, window.get()));
  dialogs.push_back(std::make_unique<MatchGamesDialog>(window.get()));
  auto list = std::make_unique<TournamentListWindow>(window.get());
  list->SetRows({});
  dialogs.push_back(std::move(list));
  dialogs.push_back(std::make_unique<HeadersSetDialog>(0, window.get()));
  dialogs.push_back(std::make_unique<BuildTreeDialog>(QString(), window.get()));
  // Qt's own buttons, as message boxes and file dialogs show them.
  InstallStandardButtonTexts();
  dialogs.push_back(std::make_unique<QMessageBox>(QMessageBox::Question, QString(), QString(),
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window.get()));
  auto progress = std::make_unique<ProgressDialog>(window.get());
  progress->Open("Copy games", "Copying: 1.PDN", 4);  // as the database core names its stages
  progress->Step(1);
  EndgameGeneratorWindow generator(dir.path(), 1, window.get());
  generator.show();
  static_cast<EngineSettingsDialog*>(dialogs[1].get())->SetValues(EngineSettingsFrom(app.settings()), 1);
  for (auto& d : dialogs) d->show();
  positionPart->setChecked(true);  // the search's position part too
  window->boardPanel().selectColorsDialog().show();
  window->database().Window().show();
  window->setupAction()->trigger();  // the set-up bar
  QApplication::processEvents();

  const QStringList english = Captions();
  EXPECT_GT(english.size(), 250);
  EXPECT_TRUE(english.contains(QStringLiteral("menu: Game")));

  window->SetLanguage("Russian");
  window->TimerStep();
  QApplication::processEvents();  // the layouts take the new texts' sizes
  QStringList left;
  for (const QString& c : Captions())
    if (StillEnglish(c)) left << c;
  EXPECT_TRUE(left.isEmpty()) << left.join(QStringLiteral("\n")).toStdString();
  // Every progress caption and stage the maintenance commands show.
  for (const std::string_view text :
       {BuildTreeCaption, TreeReadingText, TreeSortingText, TreeMovingText, TreeWritingText, CopyGamesCaption,
        CopyingText, CopyingFileText, CopyDatabaseCaption, MatchGamesCaption, LoadingText, MatchingText,
        RemoveCommentsCaption, RemoveVariationsCaption, WorkingText, DatabaseCheckCaption, CheckingText,
        EstimatedTimeText})
    EXPECT_NE(CoreTextQ(text), QString::fromUtf8(text.data(), static_cast<int>(text.size()))) << text;
  // Russian texts are longer: the pictures show whether they fit.
  if (const char* out = std::getenv("KESTREL_SHOTS")) {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->isVisible())
        top->grab().save(QStringLiteral("%1/ru_%2.png").arg(out, QString::fromLatin1(top->metaObject()->className()).section(QStringLiteral("::"), -1)));
  }
  EXPECT_TRUE(Captions().contains(QString::fromUtf8("menu: Партия")));
  EXPECT_EQ(window->statusField(0)->text(), QString::fromUtf8(" Русские"));

  // And back: English names every entry again.
  window->SetLanguage("English");
  QApplication::processEvents();
  // The windows come in no fixed order: what is missing, what is new.
  QStringList changed = english;
  for (const QString& c : Captions())
    if (!changed.removeOne(c)) changed << QStringLiteral("new ") + c;
  EXPECT_TRUE(changed.isEmpty()) << changed.join(QStringLiteral("\n")).toStdString();
  window->controller().SetupDone(TDColor::white, 1);
}

TEST_F(SettingsWindowsTest, InterfaceOptionsTakeEffectAtOnceAndCancelPutsThemBack) {
  // c3-d4 in analysis mode, shown in the game panel.
  TLegalMoves moves = window->controller().ReadGame(
      [](const TGame& g) { return ListLegalMoves(g.CurBoard, g.SideToMove, GameTypeOf(g)); });
  const TMove* c3d4 = nullptr;
  for (int i = 0; i < moves.count; ++i)
    if (MoveToText(moves.list[i], 1, 0, "-") == "c3-d4") c3d4 = &moves.list[i];
  ASSERT_NE(c3d4, nullptr);
  window->controller().Stop();
  window->controller().EnterMove(*c3d4);
  window->controller().StopAndWait();
  window->TimerStep();
  auto panelTexts = [&] {
    QStringList texts;
    for (const TTreeItem& item : window->gameInput().gamePanel().View().VisibleItems())
      texts << QString::fromStdString(item.Text);
    return texts.join(QLatin1Char(' '));
  };
  EXPECT_TRUE(panelTexts().contains(QStringLiteral("c3-d4"))) << panelTexts().toStdString();

  InterfaceDialog dialog(app.settings(), app.programFolder(), window.get());
  dialog.onChange = [&] { window->ApplyDisplaySettings(); };
  dialog.show();
  dialog.notationGroup()->button(1)->click();  // "Short (cd4; 4-8)"
  EXPECT_EQ(app.settings().Notation, 1);
  EXPECT_TRUE(panelTexts().contains(QStringLiteral("cd4"))) << panelTexts().toStdString();
  EXPECT_FALSE(panelTexts().contains(QStringLiteral("c3-d4")));
  dialog.option("ShowCoords")->click();
  EXPECT_TRUE(window->boardPanel().view().scene().showCoords);
  // Taken only with OK.
  dialog.option("AutoCapture")->click();
  EXPECT_TRUE(app.settings().AutoCapture);
  dialog.reject();
  EXPECT_EQ(app.settings().Notation, 0);
  EXPECT_FALSE(window->boardPanel().view().scene().showCoords);
  EXPECT_TRUE(panelTexts().contains(QStringLiteral("c3-d4")));

  InterfaceDialog again(app.settings(), app.programFolder(), window.get());
  again.option("AutoCapture")->click();
  again.accept();
  EXPECT_FALSE(app.settings().AutoCapture);
}

TEST_F(SettingsWindowsTest, PoolQuickSettingsSetTheThreeOptions) {
  InterfaceDialog dialog(app.settings(), app.programFolder(), window.get());
  struct Case {
    int index;
    bool jamaican, chess, whiteBottom;
  };
  for (const Case& c : {Case{1, false, true, true}, Case{2, false, false, false}, Case{3, true, false, false}}) {
    dialog.quickSettingsBox()->setCurrentIndex(c.index);
    emit dialog.quickSettingsBox()->activated(c.index);
    EXPECT_EQ(app.settings().ShowJamaican, c.jamaican) << c.index;
    EXPECT_EQ(app.settings().PoolChessNotation, c.chess) << c.index;
    EXPECT_EQ(app.settings().PoolWhiteBottom, c.whiteBottom) << c.index;
  }
  dialog.option("PoolWhiteBottom")->click();  // no preset has this mix
  EXPECT_EQ(dialog.quickSettingsBox()->currentIndex(), 0);
  dialog.reject();
}

TEST_F(SettingsWindowsTest, LanguageListShowsOwnNamesAndAClickSwitchesEveryWindow) {
  InterfaceDialog dialog(app.settings(), app.programFolder(), window.get());
  dialog.onLanguage = [&](const std::string& name) { window->SetLanguage(name); };
  dialog.show();
  QStringList names;
  for (int i = 0; i < dialog.languageList()->count(); ++i) names << dialog.languageList()->item(i)->text();
  EXPECT_EQ(names, QStringList({QStringLiteral("English"), QString::fromUtf8("Русский")}));
  QListWidgetItem* russian = dialog.languageList()->item(1);
  const QRect r = dialog.languageList()->visualItemRect(russian);
  QTest::mouseClick(dialog.languageList()->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(app.settings().LanguageName, "Russian");
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Интерфейс"));
  EXPECT_EQ(window->interfaceAction()->text(), QString::fromUtf8("Интерфейс"));
  dialog.accept();
  EXPECT_EQ(app.settings().LanguageName, "Russian");
}

TEST_F(SettingsWindowsTest, EngineSettingsApplyOnOkAndAFailedTableKeepsTheOldOne) {
  EngineSettingsDialog dialog(app.programFolder(), 64, nullptr);
  dialog.SetValues(EngineSettingsFrom(app.settings()), gtRussian);
  EXPECT_EQ(dialog.hashBox()->maximum(), 64);
  const int russianChoices = dialog.generationBox()->count();
  EXPECT_GE(russianChoices, 3);  // 2.11, 3 and "External (Hub)"
  dialog.variantBox()->setCurrentIndex(dialog.variantBox()->findData(gtFrisian));
  EXPECT_EQ(dialog.generationBox()->count(), 2);  // no bitboard engine for Frisian
  dialog.useBookBox()->setChecked(false);
  EXPECT_FALSE(dialog.bookLevelBox()->isEnabled());
  dialog.variantBox()->setCurrentIndex(dialog.variantBox()->findData(gtRussian));
  dialog.bookLevelBox()->setCurrentIndex(2);
  dialog.hashBox()->setValue(32);
  TEngineSettingsValues values = dialog.Values();
  EXPECT_FALSE(values.variants[gtFrisian].UseBook);
  EXPECT_TRUE(values.variants[gtRussian].UseBook);

  uint64_t asked = 0;
  TEngineSettingsHooks failing;
  failing.allocateHash = [&](uint64_t mb) {
    asked = mb;
    return false;
  };
  const uint64_t entriesBefore = window->controller().Engine().Table().Entries();
  TEngineSettingsOutcome outcome = ApplyEngineSettings(window->controller(), values, failing);
  EXPECT_EQ(asked, 32u);
  EXPECT_TRUE(outcome.hashFailed);
  EXPECT_EQ(app.settings().KestrelMemory, 16);
  EXPECT_EQ(window->controller().Engine().Table().Entries(), entriesBefore);
  EXPECT_EQ(app.settings().BookLevel, 2);
  EXPECT_FALSE(window->controller().VariantParams(gtFrisian).UseBook);

  outcome = ApplyEngineSettings(window->controller(), values);
  EXPECT_FALSE(outcome.hashFailed);
  EXPECT_EQ(app.settings().KestrelMemory, 32);
  EXPECT_EQ(window->controller().Engine().Table().Entries(), uint64_t{32} << 15);
}

TEST_F(SettingsWindowsTest, ExternalEngineChoiceSurvivesOkAndTheSettingsFile) {
  EngineSettingsDialog dialog(app.programFolder(), 64, nullptr);
  dialog.SetValues(EngineSettingsFrom(app.settings()), gtInternational);
  EXPECT_FALSE(dialog.hubCommandEdit()->isEnabled());
  dialog.SelectEngine(EngineSettingsDialog::ExternalChoice);
  EXPECT_TRUE(dialog.hubCommandEdit()->isEnabled());
  EXPECT_FALSE(dialog.engineFileBox()->isEnabled());
  // OK with no command line keeps the dialog open.
  dialog.show();
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  EXPECT_TRUE(dialog.isVisible());
  dialog.hubCommandEdit()->setText(QStringLiteral("  /opt/scan/scan hub  "));
  // Another variant keeps its own choice.
  dialog.variantBox()->setCurrentIndex(dialog.variantBox()->findData(gtRussian));
  dialog.SelectEngine(EngineOld);
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ApplyEngineSettings(window->controller(), dialog.Values());

  IniFile ini;
  app.settings().Store(ini);
  Settings back;
  back.Load(ini, app.programFolder());
  EXPECT_TRUE(back.Variants[gtInternational].External);
  EXPECT_EQ(back.Variants[gtInternational].HubCommand, "/opt/scan/scan hub");
  EXPECT_EQ(back.Variants[gtInternational].Engine, DefaultEngineGeneration(gtInternational));
  EXPECT_FALSE(back.Variants[gtRussian].External);
  EXPECT_EQ(back.Variants[gtRussian].Engine, EngineOld);

  // Opened again, the dialog shows what was saved.
  EngineSettingsDialog again(app.programFolder(), 64, nullptr);
  TEngineSettingsValues values = EngineSettingsFrom(app.settings());
  values.variants = back.Variants;
  again.SetValues(values, gtInternational);
  EXPECT_EQ(again.generationBox()->currentData().toInt(), EngineSettingsDialog::ExternalChoice);
  EXPECT_EQ(again.hubCommandEdit()->text(), QStringLiteral("/opt/scan/scan hub"));
}

TEST(EngineSettingsCap, HashIsCappedAtHalfTheMemoryAndFourDigits) {
  constexpr uint64_t MB = uint64_t{1} << 20;
  EXPECT_EQ(MaxHashMegabytes(0), MinHashMegabytes);
  EXPECT_EQ(MaxHashMegabytes(20 * MB), MinHashMegabytes);
  EXPECT_EQ(MaxHashMegabytes(4096 * MB), 2048);
  EXPECT_EQ(MaxHashMegabytes(64 * 1024 * MB), 9999);
}

TEST(FirstStart, ShowsTheInterfaceDialogThenAbout) {
  testing::TempDir dir;
  KestrelApp app(KESTREL_PROGRAM_DIR, dir.path());
  MainWindow::welcomeOnFirstStart = true;
  MainWindow window(app);
  window.Start();
  window.show();
  MainWindow::welcomeOnFirstStart = false;
  QTRY_VERIFY(window.findChild<InterfaceDialog*>() != nullptr);
  auto* interface = window.findChild<InterfaceDialog*>();
  EXPECT_TRUE(interface->isModal());
  interface->accept();
  QTRY_VERIFY(window.findChild<AboutDialog*>() != nullptr);
  auto* about = window.findChild<AboutDialog*>();
  EXPECT_EQ(about->folderLabel()->text().toStdString(), app.programFolder().string());
  about->reject();
  window.close();
}

TEST_F(SettingsWindowsTest, HelpOpensTheGuideOfTheLanguageAndShowLogShowsTheLog) {
  QString opened;
  MainWindow::openDocument = [&](const QString& path) { opened = path; };
  window->activateWindow();
  if (QTest::qWaitForWindowActive(window.get()))
    QTest::keyClick(window.get(), Qt::Key_F1);
  else
    window->helpAction()->trigger();
  EXPECT_TRUE(opened.endsWith(QStringLiteral("Docs/English.htm"))) << opened.toStdString();
  window->SetLanguage("Russian");
  window->helpAction()->trigger();
  EXPECT_TRUE(opened.endsWith(QStringLiteral("Docs/Russian.htm"))) << opened.toStdString();
  app.settings().LanguageName = "Klingon";
  window->helpAction()->trigger();
  EXPECT_TRUE(opened.endsWith(QStringLiteral("Docs/NoLang.htm"))) << opened.toStdString();
  MainWindow::openDocument = [](const QString&) {};
  for (const char* doc : {"English.htm", "Russian.htm", "NoLang.htm"})
    EXPECT_TRUE(fs::exists(fs::path(KESTREL_PROGRAM_DIR) / "Docs" / doc)) << doc;

  app.log().Write("A line for the log window");
  LogDialog log(app.LogPath());
  EXPECT_TRUE(log.Text().contains(QStringLiteral("Program started.")));
  EXPECT_TRUE(log.Text().contains(QStringLiteral("A line for the log window")));
}

}  // namespace
}  // namespace kestrel
