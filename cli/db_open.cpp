#include <iostream>

#include "cli/db_open.h"
#include "database/db_error.h"

namespace kestrel::cli {

bool OpenForReading(const std::string& path, TKestrelDB& db) {
  // Reading needs no lock, so a database the program has open can be read.
  const TOpenResult r = OpenDatabase(path, db, false, TDBAccess::readOnly);
  if (r.ok()) return true;
  switch (r.status) {
    case TOpenStatus::filesMissing: std::cerr << path << ": not all three database files exist\n"; break;
    case TOpenStatus::notConverted:
      std::cerr << path << ": an older database version; convert it with: kestrel-cli db convert " << path << '\n';
      break;
    default: std::cerr << path << ": " << (r.message.empty() ? std::string(CannotOpenText) : r.message) << '\n';
  }
  return false;
}

}  // namespace kestrel::cli
