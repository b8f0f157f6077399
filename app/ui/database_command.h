// How the commands of the database window run: on the open database only,
// not on one opened for reading when they write, and a failure becomes a
// message with the list shown afresh (it may name games the command was
// about to move).
#pragma once

#include <QString>

#include <functional>

namespace kestrel {

class DatabaseWindow;

// Runs `command` and shows the text it returns (nothing for an empty one).
void RunDatabaseCommand(DatabaseWindow& window, const std::function<void(const QString&)>& showMessage,
                        const std::function<QString()>& command, bool writes);

}  // namespace kestrel
