#include "app/ui/database_search.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>

#include "app/ui/search_dialog.h"
#include "app/ui/ui_language.h"

namespace kestrel {
namespace {

bool Opened(QWidget* parent, const TKestrelDB& db) {
  if (db.DBOpened) return true;
  QMessageBox::information(parent, QString(), QString::fromLatin1(DatabaseNotOpenedText.data()));
  return false;
}

void Replace(TKestrelDB& db, TGameList& list, const TSearchResult& r) {
  list.SetEntries(r.found);
  db.DBCurPos = 1;
}

}  // namespace

TSearchResult SearchWithProgress(QWidget* parent, const TKestrelDB& db, const TSearchInfo& info,
                                 const TSearchSwitches& switches) {
  QProgressDialog progress(CoreTextQ(SearchingText), LangQ(84), 0,
                           std::max(db.DBSize, 1), parent);
  progress.setWindowTitle(LangQ(49));  // "Search"
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(300);
  if (parent) parent->setEnabled(false);
  const TSearchResult r = SearchDatabase(db, info, switches, [&](const TSearchProgress& p) {
    progress.setLabelText(CoreTextQ(SearchingFoundText) + QString::number(p.found) +
                          QStringLiteral("..."));
    progress.setValue(p.gameNo);
    QApplication::processEvents();
    return !progress.wasCanceled();
  });
  if (parent) parent->setEnabled(true);
  if (r.unreadable > 0)
    QMessageBox::warning(parent, LangQ(49), LangQ(LtUnreadableGames).arg(r.unreadable));
  return r;
}

bool NewSearch(QWidget* parent, SearchDialog& dialog, TKestrelDB& db, TGameList& list, TDatabaseSearch& search) {
  if (!Opened(parent, db)) return false;
  dialog.SetNameLists(db.DBNames.Names(), db.DBTourn.Names(), db.DBSites.Names());
  dialog.SetValues(search.values);
  if (dialog.exec() != QDialog::Accepted) return false;
  search.values = dialog.Values();
  TSearchSwitches switches;
  ToSearchRecord(search.values, search.info, switches);
  Replace(db, list, SearchWithProgress(parent, db, search.info, switches));
  return true;
}

bool QuickSearch(QWidget* parent, TKestrelDB& db, TGameList& list, TDatabaseSearch& search, const TBrd& board,
                 TDColor sideToMove, int squareCount) {
  if (!Opened(parent, db)) return false;
  TSearchSwitches switches;
  ToQuickSearch(search.values, board, sideToMove, squareCount, search.info, switches);
  Replace(db, list, SearchWithProgress(parent, db, search.info, switches));
  return true;
}

}  // namespace kestrel
