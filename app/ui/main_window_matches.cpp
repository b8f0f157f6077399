// Coach menu: the engine match and the engines tournament, run on the
// engine worker with engines of their own.
#include <QFileDialog>
#include <QMessageBox>

#include "app/match/endgame_adjudicator.h"
#include "app/match/engine_tournament.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/engines_tournament_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/set_time_dialog.h"
#include "app/ui/ui_language.h"
#include "database/database_file.h"
#include "database/game_io.h"
#include "rules/current_game_type.h"

namespace kestrel {
namespace {

const char* const DatabaseFilter = "Kestrel Thornby Database (*.ABD *.abd)";

// Every readable game of the database: the sortition positions.
std::vector<TGame> ReadPositions(const std::string& path, QString& error) {
  std::vector<TGame> games;
  TKestrelDB db;
  const TOpenResult r = OpenDatabase(path, db, true);
  if (!r.ok()) {
    error = r.message.empty() ? LangQ(LtCannotOpenFile) + QString::fromStdString(path) : CoreTextQ(r.message);
    return games;
  }
  for (int32_t n = 1; n <= db.RecordCount(); ++n) {
    TGame g;
    if (ReadDBGame(db, n, false, g)) games.push_back(std::move(g));
  }
  try {
    CloseDatabase(db);
  } catch (...) {
  }
  if (games.empty()) error = LangQ(LtNoSortitionPositions);
  return games;
}

// Opens or creates the save database; false with the reason in `message`.
bool OpenSaveDatabase(const std::string& path, TKestrelDB& db, QString& message) {
  TOpenResult opened;
  try {
    opened = OpenOrCreateDatabase(path, db, [](std::string_view) { return true; });
  } catch (const std::exception& e) {
    opened.message = e.what();
  }
  message = opened.message.empty() ? LangQ(LtCannotOpenFile) + QString::fromStdString(path) : CoreTextQ(opened.message);
  return opened.ok();
}

// Runs `run` on the engine worker: its failure message and the closing of
// the save database are posted, and STOP reaches it through `stop`.
void StartRun(TPlayController& controller, std::shared_ptr<TKestrelDB> save, std::function<std::string()> run,
              std::function<void()> stop) {
  TRefreshRequests& refresh = controller.Refresh();
  controller.Worker().Start(TWorkKind::match, [run = std::move(run), save, &refresh] {
    const std::string message = run();
    try {
      CloseDatabase(*save);
    } catch (const std::exception& e) {
      refresh.PostMessage(e.what(), true);
    }
    if (!message.empty()) refresh.PostMessage(message, true);
    refresh.Request(rqStopButton);
  });
  controller.Worker().SetStopHook(std::move(stop));
}

}  // namespace

void MainWindow::OnEngineMatch() {
  controller_->StopAndWait();
  controller_->SetPlayMode();
  RenderModes();
  SetTimeDialog time(this);
  time.SetValues(controller_->SetTimeValues(), CurrentGameType);
  if (time.exec() != QDialog::Accepted) return;
  controller_->SetCustomTime(time.Values());

  const QString bases = QString::fromStdString((app_.programFolder() / "Bases").string());
  QMessageBox::information(this, windowTitle(), LangQ(LtOpenSortitionDatabase));
  const QString sortition = QFileDialog::getOpenFileName(this, LangQ(295), bases, DatabaseFilter);
  if (sortition.isEmpty()) return;
  QString error;
  std::vector<TGame> positions = ReadPositions(sortition.toStdString(), error);
  if (positions.empty()) {
    QMessageBox::warning(this, windowTitle(), error);
    return;
  }
  QMessageBox::information(this, windowTitle(), LangQ(LtDatabaseHolds) + QString::number(positions.size()) + LangQ(LtPositionsSuffix));
  QMessageBox::information(this, windowTitle(), LangQ(LtOpenSaveDatabase));
  const QString savePath = QFileDialog::getSaveFileName(this, LangQ(295), bases, DatabaseFilter,
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
  if (savePath.isEmpty()) return;
  auto save = std::make_shared<TKestrelDB>();
  if (!OpenSaveDatabase(savePath.toStdString(), *save, error)) {
    QMessageBox::warning(this, windowTitle(), error);
    return;
  }

  const int type = CurrentGameType;
  TEngineMatchSettings s;
  s.gametype = type;
  s.positions = std::move(positions);
  // Candidate files and result files live beside the save database.
  s.folder = std::filesystem::path(savePath.toStdString()).parent_path();
  s.current = controller_->VariantParams(type).EvalFunc;
  s.seed = static_cast<uint64_t>(std::time(nullptr));
  TPairContext c;
  c.gametype = type;
  c.timeControl = ControlFromDialog(controller_->SetTimeValues());
  c.save = save.get();
  // Positions the endgame tables know end with their verdict.
  c.adjudicate = EndgameAdjudicator(controller_->Endgame());
  TRefreshRequests& refresh = controller_->Refresh();
  c.post = [&refresh](const std::string& text) { refresh.PostMessage(text, false); };
  engineMatchRun_ = std::make_unique<TEngineMatch>(std::move(s), std::move(c));
  TEngineMatch* run = engineMatchRun_.get();
  StartRun(*controller_, save, [run] { return run->Run(); }, [run] { run->RequestStop(); });
  RenderStopButton();
}

void MainWindow::OnEnginesTournament() {
  controller_->StopAndWait();
  controller_->SetPlayMode();
  RenderModes();
  const QString bases = QString::fromStdString((app_.programFolder() / "Bases").string());
  EnginesTournamentDialog dialog(bases, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const TTournamentChoices choices = dialog.Choices();
  controller_->SetCustomTime(choices.time);

  QString error;
  std::vector<TGame> positions = ReadPositions(choices.sortition, error);
  auto save = std::make_shared<TKestrelDB>();
  if (positions.empty() || !OpenSaveDatabase(choices.save, *save, error)) {
    QMessageBox::warning(this, windowTitle(), error);
    return;
  }

  const int type = CurrentGameType;
  TTournamentSettings s;
  s.gametype = type;
  s.positions = std::move(positions);
  s.gamesPerRound = choices.gamesForMatch;
  s.folder = std::filesystem::path(choices.save).parent_path();
  for (const std::string& f : choices.engines) s.engineFiles.emplace_back(f);
  s.totalFunctions = choices.totalFunctions;
  s.bestInRound = choices.bestInRound;
  s.mutateStage = choices.mutateStage;
  s.staticFlag = choices.staticFlag;
  s.dynamicFlag = choices.dynamicFlag;
  s.namePrefix = choices.namePrefix;
  s.runNext = choices.runNext;
  s.current = controller_->VariantParams(type).EvalFunc;
  s.seed = static_cast<uint64_t>(std::time(nullptr));
  TPairContext c;
  c.gametype = type;
  c.timeControl = ControlFromDialog(choices.time);
  c.save = save.get();
  // Positions the endgame tables know end with their verdict.
  c.adjudicate = EndgameAdjudicator(controller_->Endgame());
  TRefreshRequests& refresh = controller_->Refresh();
  c.post = [&refresh](const std::string& text) { refresh.PostMessage(text, false); };
  tournamentRun_ = std::make_unique<TEngineTournament>(std::move(s), std::move(c));
  TEngineTournament* run = tournamentRun_.get();
  StartRun(*controller_, save, [run] { return run->Run(); }, [run] { run->RequestStop(); });
  RenderStopButton();
}

}  // namespace kestrel
