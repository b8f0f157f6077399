// The game list of the database window as a table model: rows are read from
// the database only when the view draws them, so a list of any length opens
// and scrolls at once.
#pragma once

#include <QAbstractTableModel>

#include <unordered_map>

#include "app/database/current_database.h"

namespace kestrel {

class GameListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { colNumber, colPlayers, colEvent, colDate, colResult, colLength, colMarks, columnCount_ };

  explicit GameListModel(TCurrentDatabase& db, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // "Moves list": the third column shows the main line instead.
  void SetMovesList(bool on);
  bool MovesList() const { return movesList_; }
  void SetResultStyle(int style) { resultStyle_ = style; }
  void SetNotation(int mode, std::string takeChar);

  // The list or the database changed: everything is read again.
  void Reload();
  // One row changed (a mark): only it is drawn again.
  void RowChanged(int32_t pos);

 private:
  struct Row {
    bool readable = false;
    bool deleted = false;
    QString texts[columnCount_];
  };
  const Row& RowAt(int32_t pos) const;

  TCurrentDatabase& db_;
  bool movesList_ = false;
  int resultStyle_ = 0;
  int notation_ = 0;
  std::string takeChar_ = "x";
  // Rows read for drawing; dropped when they grow many or the list changes.
  mutable std::unordered_map<int32_t, Row> cache_;
};

}  // namespace kestrel
