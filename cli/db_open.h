// Opening a database for a kestrel-cli command, with the reason printed
// when it cannot be opened.
#pragma once

#include <string>

#include "database/database_file.h"

namespace kestrel::cli {

// Opens read-only without converting; says why on stderr when it cannot.
bool OpenForReading(const std::string& path, TKestrelDB& db);

// Opens for writing without converting, holding the database against other
// writers until it is closed; says why on stderr when it cannot ("Database
// is in use by another program" among the reasons).
bool OpenForWriting(const std::string& path, TKestrelDB& db);

}  // namespace kestrel::cli
