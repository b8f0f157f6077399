#include "app/ui/database_maintenance_menu.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include <ctime>
#include <exception>
#include <filesystem>

#include "app/play/play_controller.h"
#include "app/ui/database_command.h"
#include "app/ui/database_window.h"
#include "app/ui/maintenance_dialogs.h"
#include "app/ui/progress_dialog.h"
#include "app/ui/ui_language.h"
#include "database/maintenance/backup.h"
#include "database/maintenance/bulk_edit.h"
#include "database/maintenance/database_check.h"
#include "database/maintenance/full_cleanup.h"
#include "database/maintenance/index_rewrite.h"

namespace kestrel {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The game numbers of the selected entries of the list, in list order.
std::vector<int32_t> SelectedGames(const TCurrentDatabase& db) {
  std::vector<int32_t> games;
  for (int32_t pos = 1; pos <= db.Count(); ++pos)
    if (db.List()[pos].selected) games.push_back(db.List()[pos].num);
  return games;
}

}  // namespace

DatabaseMaintenanceMenu::DatabaseMaintenanceMenu(DatabaseWindow& window, TPlayController& controller)
    : QObject(&window), window_(window), controller_(controller) {
  confirm = [this](const QString& question) {
    return QMessageBox::question(&window_, window_.windowTitle(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
  };
  showMessage = [this](const QString& message) { QMessageBox::information(&window_, window_.windowTitle(), message); };
  askBackupFile = [this](const QString& proposed) {
    return QFileDialog::getSaveFileName(&window_, LangQ(308), proposed, QStringLiteral("Zip (*.zip)"));
  };

  askSort = [this](bool wholeDatabase, std::vector<TSortKey>& keys, bool& save) {
    SortGamesDialog dialog(wholeDatabase, &window_);
    if (dialog.exec() != QDialog::Accepted) return false;
    keys = dialog.Keys();
    save = dialog.SaveToDatabase();
    return true;
  };

  menu_ = window_.AddMenu(QString());
  BindLang(menu_, 357, QStringLiteral("&"));  // "Maintenance"
  const auto add = [this](const QString& text, const QKeySequence& key, auto slot) {
    QAction* a = menu_->addAction(text);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };

  sort_ = add(QString(), QKeySequence(Qt::CTRL | Qt::Key_T), [this] {
    TCurrentDatabase& db = window_.Current();
    const bool whole = !db.ReadOnly() && CanSaveSortOrder(db.DB(), db.List());
    std::vector<TSortKey> keys;
    bool save = false;
    if (!db.IsOpen() || !askSort(whole, keys, save) || keys.empty()) return;
    Run(
        [this, keys, save]() -> QString {
          TCurrentDatabase& db = window_.Current();
          ProgressDialog progress(&window_);
          SortGameList(db.DB(), db.MutableList(), keys, progress);
          if (!save) {
            window_.Reload(true);
            return {};
          }
          Renumbered(SaveSortOrder(db.DB(), db.MutableList()));
          return {};
        },
        save);
  });
  BindLang(sort_, 116);  // "Sort games list"
  menu_->addSeparator();
  deleteSelected_ = add(QString(), QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] {
    Run([this]() -> QString {
      const std::vector<int32_t> games = SelectedGames(window_.Current());
      if (games.empty()) return LangQ(LtNoGameSelected);
      if (!confirm(LangQ(LtDeleteSelectedQuestion).arg(games.size())))
        return {};
      const TRenumbering r = DeleteSelectedGames(window_.Current().DB(), window_.Current().List());
      Renumbered(r);
      return LangQ(LtGamesDeleted).arg(r.removed);
    });
  });
  BindLang(deleteSelected_, 215);  // "Delete selected games (physically)"
  QMenu* cleanUp = menu_->addMenu(QString());
  BindLang(cleanUp, 104);  // "CleanUp database"
  quickCleanUp_ = cleanUp->addAction(QString());
  BindLang(quickCleanUp_, 283);  // "Quick"
  connect(quickCleanUp_, &QAction::triggered, this, [this] {
    Run([this]() -> QString {
      const TRenumbering r = QuickCleanUp(window_.Current().DB());
      Renumbered(r);
      return LangQ(LtDeletedRemoved).arg(r.removed);
    });
  });
  fullCleanUp_ = cleanUp->addAction(QString());
  BindLang(fullCleanUp_, 284);  // "Full"
  connect(fullCleanUp_, &QAction::triggered, this, [this] {
    Run([this]() -> QString {
      ProgressDialog progress(&window_);
      TKestrelDB& db = window_.Current().DB();
      const std::string name = db.DBNameMain;
      const int32_t before = db.DBSize;
      TFullCleanUpReport report;
      try {
        report = FullCleanUp(db, progress);
      } catch (const std::exception&) {
        // A failure once the new files were in place (the reopening
        // completes the swap) still renumbered the games, and one that left
        // the database closed may have: no open game keeps its number.
        if (!db.DBOpened || db.DBSize != before) {
          controller_.ChangeEveryGame([&name](TGame& game) {
            if (game.DBName == name) game.DBGameNo = 0;
          });
          controller_.Refresh().Request(rqSaveButton);
        }
        throw;
      }
      Renumbered(report.renumbering);
      QString text = LangQ(LtDeletedRemoved).arg(report.renumbering.removed);
      if (report.unreadable > 0) text += QLatin1Char(' ') + LangQ(349).arg(report.unreadable);
      return text;
    });
  });
  check_ = add(QString(), {}, [this] {
    Run([this]() -> QString {
      const bool mark = confirm(LangQ(LtMarkDamagedQuestion));
      ProgressDialog progress(&window_);
      const TCheckReport report = CheckDatabase(window_.Current().DB(), mark, progress);
      window_.Reload(false);
      QString text = LangQ(LtDamagedCounts).arg(report.damagedGames).arg(report.damagedHeaders);
      if (report.cancelled) text += QLatin1Char(' ') + LangQ(LtCheckCancelled);
      for (size_t i = 0; i < report.log.size() && i < 20; ++i) text += QLatin1Char('\n') + Q(report.log[i]);
      return text;
    });
  });
  BindLang(check_, 154);  // "Check database"
  backup_ = add(QString(), {}, [this] {
    Run([this]() -> QString {
      const std::time_t now = std::time(nullptr);
      std::tm local{};
      localtime_r(&now, &local);
      const std::string main = window_.Current().DB().DBNameMain;
      const std::filesystem::path proposed =
          std::filesystem::path(main).parent_path() / BackupFileName(main, local);
      const QString path = askBackupFile(Q(proposed.string()));
      if (path.isEmpty()) return {};
      ProgressDialog progress(&window_);
      BackupDatabase(window_.Current().DB(), path.toStdString(), progress);
      return LangQ(LtDatabaseSavedInto).arg(path);
    });
  });
  BindLang(backup_, 308);  // "Backup database"
  menu_->addSeparator();
  // A bulk edit of the selected games, reported with the entry `done` ("... %1 games").
  const auto bulk = [this](TBulkReport (*edit)(TKestrelDB&, const std::vector<int32_t>&, TProgress&), int done) {
    return [this, edit, done] {
      Run([this, edit, done]() -> QString {
        const std::vector<int32_t> games = SelectedGames(window_.Current());
        if (games.empty()) return LangQ(LtNoGameSelected);
        ProgressDialog progress(&window_);
        return LangQ(done).arg(edit(window_.Current().DB(), games, progress).changed);
      });
    };
  };
  removeComments_ = add(QString(), {}, bulk(&RemoveComments, LtCommentsRemoved));
  BindLang(removeComments_, 246);  // "Remove comments": of the selected games
  removeVariations_ = add(QString(), {}, bulk(&RemoveVariations, LtVariationsRemoved));
  BindLang(removeVariations_, 276);  // "Remove variations"
}

void DatabaseMaintenanceMenu::Run(const std::function<QString()>& command, bool writes) {
  RunDatabaseCommand(window_, showMessage, command, writes);
}

void DatabaseMaintenanceMenu::Renumbered(const TRenumbering& renumbering) {
  const TKestrelDB& db = window_.Current().DB();
  controller_.ChangeEveryGame([&](TGame& game) { ForgetMovedGame(game, db, renumbering); });
  controller_.Refresh().Request(rqSaveButton);
  window_.Current().ResetList();
  window_.Reload(true);
}

}  // namespace kestrel
