#include "app/ui/main_window_export.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/export/diagram_text.h"
#include "app/export/ftp_upload.h"
#include "app/export/gif_writer.h"
#include "app/export/rtf_writer.h"
#include "app/language/language_table.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/board_panel.h"
#include "app/ui/board_picture_gif.h"
#include "app/ui/board_renderer.h"
#include "app/ui/board_view.h"
#include "app/ui/database_window.h"
#include "app/ui/ftp_settings_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/main_window_database.h"
#include "app/ui/ui_language.h"
#include "database/game_io.h"
#include "engine/packed_board.h"
#include "formats/fen.h"
#include "formats/pdn_export.h"
#include "formats/pdn_import.h"
#include "rules/notation.h"

namespace kestrel {

DiagramSizeDialog::DiagramSizeDialog(int size, QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 151);
  size_ = new QComboBox(this);
  for (int s = MinDiagramSize; s <= MaxDiagramSize; s += DiagramSizeStep) size_->addItem(QString::number(s), s);
  size_->setCurrentIndex(size_->findData(NearestDiagramSize(size)));
  auto* form = new QFormLayout;
  QLabel* label = new QLabel(this);
  BindLang(label, 68);
  label->setBuddy(size_);
  form->addRow(label, size_);
  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setMinimumWidth(280);
}

int DiagramSizeDialog::Size() const { return size_->currentData().toInt(); }

MainWindowExport::MainWindowExport(MainWindow& window, KestrelApp& app) : QObject(&window), main_(window), app_(app) {
  chooseSize = [this](int current) -> std::optional<int> {
    DiagramSizeDialog dialog(current, &main_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Size();
  };
  chooseSaveFile = [this](const QString& title, const QString& folder, const QString& filter) {
    return QFileDialog::getSaveFileName(&main_, title, folder, filter, nullptr, QFileDialog::DontConfirmOverwrite);
  };
  showMessage = [this](const QString& message) { QMessageBox::information(&main_, main_.windowTitle(), message); };
  confirm = [this](const QString& question) {
    return QMessageBox::question(&main_, main_.windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };

  const auto add = [this](QMenu* menu, const QString& text, int lang, const QKeySequence& key, auto slot) {
    QAction* a = menu->addAction(text);
    if (lang > 0) BindLang(a, lang);
    a->setShortcut(key);
    main_.addAction(a);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  diagramMenu_ = new QMenu(&main_);
  BindLang(diagramMenu_, 151);
  add(diagramMenu_, QStringLiteral("*.GIF..."), 0, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), [this] { ExportGif(); });
  add(diagramMenu_, {}, 305, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B), [this] { CopyBitmap(); });
  add(diagramMenu_, {}, 302, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { CopyTextDiagram(); });
  add(diagramMenu_, {}, 303, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), [this] { CopyFen(); });
  add(diagramMenu_, {}, 304, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), [this] { CopyWords(); });
  diagramMenu_->addSeparator();
  gallery_ = add(diagramMenu_, {}, 0, {}, [this] { UploadToGallery(); });
  ftpSettings_ = new QAction(this);
  BindLang(ftpSettings_, 325, {}, QStringLiteral("..."));
  connect(ftpSettings_, &QAction::triggered, this, [this] { EditGallery(); });
  // A disabled command still shows why in its tip.
  diagramMenu_->setToolTipsVisible(true);
  connect(diagramMenu_, &QMenu::aboutToShow, this, [this] { UpdateGalleryAction(); });
  diagramMenu_->installEventFilter(this);  // its caption is made in code, again for a new language
  UpdateGalleryAction();

  gameMenu_ = new QMenu(&main_);
  BindLang(gameMenu_, 238);
  add(gameMenu_, QStringLiteral("*.PDN..."), 0, {}, [this] { AppendPdn(); });
  add(gameMenu_, QStringLiteral("*.RTF..."), 0, {}, [this] { WriteRtf(); });

  // In the "Game" menu, before its last command (Exit).
  const QList<QAction*> menus = main_.menuBar()->actions();
  if (!menus.isEmpty() && menus.front()->menu()) {
    QMenu* game = menus.front()->menu();
    const QList<QAction*> items = game->actions();
    QAction* before = items.size() >= 2 ? items[items.size() - 2] : nullptr;  // the separator above Exit
    game->insertMenu(before, diagramMenu_);
    game->insertMenu(before, gameMenu_);
  }
  // The database window: marked games (or the one under the cursor) as RTF.
  databaseRtf_ = new QAction(this);
  BindLang(databaseRtf_, 334);
  connect(databaseRtf_, &QAction::triggered, this, [this] { WriteDatabaseRtf(); });
  if (QMenu* games = main_.database().Window().Menu(DatabaseWindow::MenuId::games)) {
    games->addSeparator();
    games->addAction(databaseRtf_);
  }
  // With the other settings dialogs, before the fonts.
  if (QMenu* options = main_.optionsMenu()) {
    const QList<QAction*> items = options->actions();
    QAction* before = nullptr;
    for (QAction* item : items)
      if (item->menu()) {
        before = item;
        break;
      }
    options->insertAction(before, ftpSettings_);
  }
}

MainWindowExport::~MainWindowExport() = default;

bool MainWindowExport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == diagramMenu_ && event->type() == QEvent::LanguageChange) UpdateGalleryAction();
  return QObject::eventFilter(watched, event);
}

MainWindowExport::TPosition MainWindowExport::CurrentPosition() const {
  return main_.controller().ReadGame(
      [](const TGame& g) { return TPosition{g.CurBoard, g.SideToMove, GameTypeOf(g)}; });
}

TGame MainWindowExport::CurrentGame() const {
  return main_.controller().ReadGame([](const TGame& g) { return g; });
}

QImage MainWindowExport::ExportPicture(int size) const {
  const BoardView& view = main_.boardPanel().view();
  BoardScene scene = view.scene();
  const TPosition position = CurrentPosition();
  scene.board = position.board.b;
  scene.type = position.type;
  scene.highlight = false;
  scene.blind = false;
  return ScaleBoardImage(DrawBoardImage(scene, view.colors(), view.figures()), size);
}

QString MainWindowExport::ExportFolder(const char* sub) const {
  const std::filesystem::path& base = app_.dataFolder().empty() ? app_.programFolder() : app_.dataFolder();
  const std::filesystem::path folder = base / "Export" / sub;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return QString::fromStdString(folder.string());
}

void MainWindowExport::ExportGif() {
  const auto size = chooseSize(size_);
  if (!size) return;
  size_ = *size;
  const QString chosen = chooseSaveFile(LangQ(LtExportGifTitle), ExportFolder("GIF"), QStringLiteral("GIF-file (*.GIF *.gif)"));
  if (chosen.isEmpty()) return;
  const std::string path = GifExportFileName(chosen.toStdString());
  std::string error;
  if (!WriteBoardGif(ExportPicture(size_), path, &error)) showMessage(QString::fromStdString(error));
}

void MainWindowExport::CopyBitmap() {
  const auto size = chooseSize(size_);
  if (!size) return;
  size_ = *size;
  // As it is drawn now, with the last move's marks when they are shown.
  QApplication::clipboard()->setImage(ScaleBoardImage(main_.boardPanel().view().boardImage(), size_));
}

void MainWindowExport::CopyTextDiagram() {
  const TPosition p = CurrentPosition();
  QApplication::clipboard()->setText(QString::fromLatin1(TextDiagram(p.board.b, p.type).c_str()));
  showMessage(QStringLiteral("Ok.\n") + LangQ(LtUseFont).arg(QString::fromLatin1(DiagramFontName)));
}

void MainWindowExport::CopyFen() {
  const TPosition p = CurrentPosition();
  const char* tag = app_.settings().UseItalPDN ? "Posizione" : "FEN";
  const std::string text = std::string("[") + tag + " \"" + WriteFEN(p.board, p.side, p.type) + "\"]";
  QApplication::clipboard()->setText(QString::fromStdString(text));
  showMessage(QStringLiteral("Ok."));
}

void MainWindowExport::CopyWords() {
  const TPosition p = CurrentPosition();
  const TPositionWords words{LangText(129), LangText(130), LangText(57), LangText(58)};
  const QString text = ProgramTextQ(PositionInWords(p.board.b, p.side, p.type, words));
  QApplication::clipboard()->setText(text);
  showMessage(text);
}

void MainWindowExport::AppendPdn() {
  const QString chosen = chooseSaveFile(LangQ(102), ExportFolder("PDN"), QStringLiteral("Portable Draughts Notation (*.PDN *.pdn)"));
  if (chosen.isEmpty()) return;
  const std::string path = PdnExportFileName(chosen.toStdString());
  TPdnWriteOptions options;
  options.italianTags = app_.settings().UseItalPDN;
  options.resultStyle = app_.settings().ResType;
  try {
    AppendPDNGame(CurrentGame(), path, options);
  } catch (const TPdnFileError& e) {
    showMessage(QString::fromStdString(e.what()));
    return;
  }
  if (MainWindow::openDocument)
    MainWindow::openDocument(QString::fromStdString(std::filesystem::path(path).parent_path().string()));
  else
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(std::filesystem::path(path).parent_path().string())));
}

TRtfOptions MainWindowExport::RtfOptions() const {
  const Settings& s = app_.settings();
  TRtfOptions options;
  options.notation = NotationMode;
  options.takeChar = TakeChar;
  options.resultStyle = s.ResType;
  options.showJamaican = s.ShowJamaican;
  options.poolWhiteBottom = s.PoolWhiteBottom;
  return options;
}

void MainWindowExport::WriteRtf() {
  const QString chosen = chooseSaveFile(LangQ(LtSaveRtfFile), ExportFolder("RTF"), QStringLiteral("Rich Text Format (*.RTF *.rtf)"));
  if (chosen.isEmpty()) return;
  TRtfDocument document(RtfOptions());
  document.AddGame(1, CurrentGame());
  SaveRtf(document, chosen);
}

void MainWindowExport::WriteDatabaseRtf() {
  TCurrentDatabase& db = main_.database().Current();
  if (!db.IsOpen() || db.Count() == 0) return;
  // The marked games in list order, or the game under the cursor.
  std::vector<int32_t> rows = main_.database().Window().SelectedRows();
  if (rows.empty() && db.Cursor() > 0) rows.push_back(db.Cursor());
  if (rows.empty()) return;
  const QString chosen = chooseSaveFile(LangQ(LtSaveRtfFile), ExportFolder("RTF"), QStringLiteral("Rich Text Format (*.RTF *.rtf)"));
  if (chosen.isEmpty()) return;
  TRtfDocument document(RtfOptions());
  QProgressDialog progress(LangQ(335), LangQ(84), 0, static_cast<int>(rows.size()), &main_);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  QStringList skipped;
  int n = 0;
  TGame game;
  for (size_t i = 0; i < rows.size(); ++i) {
    progress.setValue(static_cast<int>(i));
    if (progress.wasCanceled()) return;
    const int32_t number = db.GameAt(rows[i]);
    std::string message;
    if (!ReadDBGame(db.DB(), number, false, game, &message) || !message.empty()) {
      skipped << QString::number(number) + QStringLiteral(": ") + ProgramTextQ(message);
      continue;
    }
    document.AddGame(++n, game);
  }
  progress.reset();
  if (n == 0 || !SaveRtf(document, chosen)) {
    if (!skipped.isEmpty()) showMessage(skipped.join(QLatin1Char('\n')));
    return;
  }
  if (!skipped.isEmpty()) showMessage(LangQ(LtGamesLeftOut) + QLatin1Char('\n') + skipped.join(QLatin1Char('\n')));
}

bool MainWindowExport::SaveRtf(const TRtfDocument& document, const QString& chosen) {
  const std::string path = RtfExportFileName(chosen.toStdString());
  std::string error;
  if (!WriteRtfFile(path, document, &error)) {
    showMessage(QString::fromStdString(error));
    return false;
  }
  const QString file = QString::fromStdString(path);
  if (MainWindow::openDocument)
    MainWindow::openDocument(file);
  else
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
  return true;
}

namespace {

TFtpTarget GalleryOf(const Settings& s) {
  return {s.FtpSite, s.FtpFolder, s.FtpUser, s.FtpPass, s.FtpWebFolder, s.FtpAllowPlain};
}

}  // namespace

void MainWindowExport::UpdateGalleryAction() {
  const TFtpTarget target = GalleryOf(app_.settings());
  const bool configured = IsGalleryConfigured(target);
  gallery_->setEnabled(configured);
  // The caption follows the language; the site is the user's own text.
  gallery_->setText(configured ? LangQ(324) + QStringLiteral(" (") + QString::fromStdString(target.site) + QLatin1Char(')')
                               : LangQ(324));
  gallery_->setToolTip(configured ? QString() : GalleryMissingTip());
}

QString MainWindowExport::GalleryMissingTip() {
  return LangQ(333) + QLatin1Char(' ') + LangQ(33).remove(QLatin1Char('&')) + QStringLiteral(" > ") + LangQ(325) +
         QLatin1Char('.');
}

void MainWindowExport::EditGallery() {
  FtpSettingsDialog dialog(app_.settings(), &main_);
  if (editGallery ? editGallery(dialog) : dialog.exec() == QDialog::Accepted) UpdateGalleryAction();
}

void MainWindowExport::UploadToGallery() {
  TFtpTarget target = GalleryOf(app_.settings());
  if (!IsGalleryConfigured(target)) {
    UpdateGalleryAction();
    showMessage(gallery_->toolTip());
    return;
  }
  const auto size = chooseSize(size_);
  if (!size) return;
  size_ = *size;
  static std::mt19937 random{std::random_device{}()};
  const std::string name = RandomGalleryName(random);
  const std::filesystem::path local = std::filesystem::temp_directory_path() / name;
  std::string error;
  if (!WriteBoardGif(ExportPicture(size_), local, &error)) {
    showMessage(QString::fromStdString(error));
    return;
  }
  for (;;) {
    // The transfer runs on a worker; this loop keeps the window alive and
    // the Cancel button answering.
    QProgressDialog progress(LangQ(343).arg(QString::fromStdString(name), QString::fromStdString(target.site)),
                             LangQ(84), 0, 100, &main_);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    std::atomic<bool> cancel{false}, done{false};
    std::atomic<int> percent{0};
    TUploadResult result;
    {
      std::jthread worker([&] {
        result = UploadFile(target, local, name, [&](int64_t sent, int64_t total) {
          if (total > 0) percent = static_cast<int>(100 * sent / total);
          return !cancel.load();
        });
        done = true;
      });
      while (!done) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (progress.wasCanceled()) cancel = true;
        progress.setValue(percent);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
    progress.reset();
    if (result.status == TUploadStatus::noTls && !target.allowPlain &&
        confirm(LangQ(344)
                    .arg(QString::fromStdString(target.site)))) {
      app_.settings().FtpAllowPlain = target.allowPlain = true;
      continue;
    }
    std::error_code ec;
    std::filesystem::remove(local, ec);
    if (result.status == TUploadStatus::done) break;
    if (result.status != TUploadStatus::cancelled) showMessage(QStringLiteral("FTP: ") + QString::fromStdString(result.message));
    return;
  }
  const std::string address = GalleryAddress(target, name);
  QApplication::clipboard()->setText(QString::fromStdString(GalleryImgElement(address)));
  if (MainWindow::openDocument)
    MainWindow::openDocument(QString::fromStdString(address));
  else
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace kestrel
