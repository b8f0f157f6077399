// Opening a database for a kestrel-cli command, with the reason printed
// when it cannot be opened.
#pragma once

#include <string>

#include "database/database_file.h"

namespace kestrel::cli {

// Opens read-only without converting; says why on stderr when it cannot.
bool OpenForReading(const std::string& path, TKestrelDB& db);

}  // namespace kestrel::cli
