#include "app/ui/game_list_model.h"

#include <QColor>
#include <QFont>

#include "app/database/list_rows.h"
#include "app/ui/ui_language.h"
#include "database/derived_header.h"
#include "database/game_io.h"
#include "database/list_texts.h"
#include "database/code_page.h"

namespace kestrel {
namespace {

// Names are 8-bit text in the Windows code page; Cyrillic names are common.
QString Text(const std::string& s) { return QString::fromStdString(AnsiToUtf8(s)); }

}  // namespace

GameListModel::GameListModel(TCurrentDatabase& db, QObject* parent) : QAbstractTableModel(parent), db_(db) {}

int GameListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : db_.Count(); }

int GameListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columnCount_; }

void GameListModel::SetMovesList(bool on) {
  movesList_ = on;
  Reload();
}

void GameListModel::SetNotation(int mode, std::string takeChar) {
  notation_ = mode;
  takeChar_ = std::move(takeChar);
}

void GameListModel::Reload() {
  beginResetModel();
  cache_.clear();
  endResetModel();
}

void GameListModel::RowChanged(int32_t pos) {
  cache_.erase(pos);
  emit dataChanged(index(pos - 1, 0), index(pos - 1, columnCount_ - 1));
}

const GameListModel::Row& GameListModel::RowAt(int32_t pos) const {
  if (const auto it = cache_.find(pos); it != cache_.end()) return it->second;
  if (cache_.size() > 4000) cache_.clear();
  Row& row = cache_[pos];
  const int32_t number = db_.GameAt(pos);
  row.texts[colNumber] = QString::number(number);
  TQuickGameHeader q;
  if (!ReadQuickHeader(db_.DB(), number, q)) {
    // A record that cannot be read shows as damaged, never stops the list.
    row.texts[colPlayers] = QStringLiteral("(damaged header)");
    row.deleted = true;
    return row;
  }
  row.readable = true;
  row.deleted = (q.Header.Flags & hfDeleted) != 0;
  row.texts[colPlayers] = Text(q.WhiteName) + QStringLiteral(" - ") + Text(q.BlackName);
  if (movesList_) {
    TGame game;
    std::string message;
    if (ReadDBGame(db_.DB(), number, false, game, &message))
      row.texts[colEvent] = Text(ListMovesText(game, db_.List()[pos].gotomove, notation_, game.Header.TypeOfGame,
                                                takeChar_));
    else
      row.texts[colEvent] = QStringLiteral("(damaged game) ") + Text(message);
  } else {
    row.texts[colEvent] = Text(ListEventText(q));
  }
  row.texts[colDate] = Text(ListDateText(q.Header.Date));
  row.texts[colResult] = Text(std::string(ResultText(q.Header.Result, resultStyle_)));
  row.texts[colLength] = QString::number(q.Header.GameLength);
  row.texts[colMarks] = Text(FlagMarks(q.Header.Flags));
  return row;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= db_.Count()) return {};
  const int32_t pos = index.row() + 1;
  switch (role) {
    case Qt::DisplayRole: return RowAt(pos).texts[index.column()];
    case Qt::ForegroundRole:
      if (db_.List()[pos].selected) return QColor(Qt::red);
      return {};
    case Qt::FontRole:
      if (RowAt(pos).deleted) {
        QFont font;
        font.setStrikeOut(true);
        return font;
      }
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == colNumber || index.column() == colLength)
        return int(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default: return {};
  }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case colNumber: return QStringLiteral("#");
    case colPlayers: return LangQ(57) + QStringLiteral(" - ") + LangQ(58);
    case colEvent: return LangQ(movesList_ ? 195 : 76);
    case colDate: return LangQ(121);
    case colResult: return LangQ(122);  // "Res": the column is narrow
    case colLength: return LangQ(298);
    case colMarks: return QStringLiteral("PVC");
    default: return {};
  }
}

}  // namespace kestrel
