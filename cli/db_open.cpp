#include <iostream>

#include "cli/db_open.h"
#include "database/db_error.h"

namespace kestrel::cli {

namespace {

bool Opened(const std::string& path, const TOpenResult& r) {
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

}  // namespace

bool OpenForReading(const std::string& path, TKestrelDB& db) {
  // Reading needs no lock, so a database the program has open can be read.
  return Opened(path, OpenDatabase(path, db, false, TDBAccess::readOnly));
}

bool OpenForWriting(const std::string& path, TKestrelDB& db) {
  if (!Opened(path, OpenDatabase(path, db, false))) return false;
  if (!db.DBReadOnly) return true;
  std::cerr << path << ": the database cannot be written here\n";
  CloseDatabase(db);
  return false;
}

}  // namespace kestrel::cli
