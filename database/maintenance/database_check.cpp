#include "database/maintenance/database_check.h"

#include "database/game_io.h"
#include "database/game_replay_check.h"
#include "database/maintenance/deleted_marks.h"
#include "database/name_tables.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {

std::string ReplayFault(const TGame& game) {
  const TReplayCheck check = CheckGameReplay(game);
  return check.ok ? std::string() : check.reason;
}

TCheckReport CheckDatabase(TKestrelDB& db, bool mark, TProgress& progress, const TGameReplay& replay) {
  TCheckReport report;
  TProgressStage stage(progress, DatabaseCheckCaption, CheckingText, db.DBSize);
  TGame game;
  TQuickGameHeader q;
  for (int32_t n = 1; n <= db.DBSize; ++n) {
    if (n % 100 == 0 && !stage.Step(n)) {
      report.cancelled = true;
      break;
    }
    std::string message;
    bool damaged = !ReadDBGame(db, n, false, game, &message);
    if (!damaged && replay) {
      message = replay(game);
      damaged = !message.empty();
    }
    if (damaged) {
      ++report.damagedGames;
      report.log.push_back("Damaged moves in Game: #" + std::to_string(n) + (message.empty() ? "" : " (" + message + ")"));
      if (mark) SetDeletedMark(db, n, true);
    }
    if (ReadQuickHeader(db, n, q))
      for (const std::string* name : {&q.WhiteName, &q.BlackName, &q.AnnotatorName, &q.Tournament, &q.Site})
        if (*name == ErrorName) {
          ++report.damagedHeaders;
          break;
        }
  }
  report.log.push_back("Found " + std::to_string(report.damagedGames) + " damaged games, " +
                       std::to_string(report.damagedHeaders) + " damaged headers.");
  return report;
}

}  // namespace kestrel
