#include "app/ui/database_command.h"

#include <QObject>

#include <exception>

#include "app/ui/database_window.h"
#include "app/ui/ui_language.h"

namespace kestrel {

void RunDatabaseCommand(DatabaseWindow& window, const std::function<void(const QString&)>& showMessage,
                        const std::function<QString()>& command, bool writes) {
  const TCurrentDatabase& db = window.Current();
  if (!db.IsOpen()) {
    showMessage(LangQ(87));  // "Database not opened."
    return;
  }
  if (writes && db.ReadOnly()) {
    showMessage(LangQ(LtReadOnlyDatabase));
    return;
  }
  QString message;
  try {
    message = command();
  } catch (const std::exception& e) {
    message = CoreTextQ(e.what());
    window.Current().ResetList();
    window.Reload(false);
  }
  if (!message.isEmpty()) showMessage(message);
}

}  // namespace kestrel
