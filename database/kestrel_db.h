// An open game database: the index file (.abd) of header records, the main
// file (.abm) of encoded games after its version byte, and the three name
// lists read from the names file (.abn).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/binary_file.h"
#include "database/name_list.h"

namespace kestrel {

// What every command that needs an open database says without one.
inline constexpr std::string_view DatabaseNotOpenedText = "Database not opened.";  // language text 87

constexpr uint8_t CurrentDBVersion = 30;
constexpr uint8_t OldestDBVersion = 20;

// Game numbers, offsets and lengths are 32-bit in the header record.
constexpr int64_t MaxMainFileSize = INT32_MAX;

struct TKestrelDB {
  TKestrelDB() = default;
  // Closing writes the names file when names were added.
  ~TKestrelDB();
  TKestrelDB(const TKestrelDB&) = delete;
  TKestrelDB& operator=(const TKestrelDB&) = delete;

  bool DBOpened = false;
  std::string DBNameIdx;    // .abd
  std::string DBNameNames;  // .abn
  std::string DBNameMain;   // .abm
  // The index file, read in records of RecordSize() bytes by DBType.
  TBinaryFile DBIdx;
  TNameList DBNames;  // players, also the annotators
  TNameList DBTourn;
  TNameList DBSites;
  TBinaryFile DBMain;
  int32_t DBCurPos = 1;  // cursor in the game list, 1-based
  int32_t DBSize = 0;    // header records, deleted games included
  uint8_t DBType = 0;    // format version, the first byte of the main file
  bool DBChanged = false;  // names added since the names file was written
  bool DBReadOnly = false;  // opened for reading only: nothing may be written
  // Entries of the players, tournaments and sites lists that the names file
  // holds, so that names added by a write can be appended to it.
  std::array<int32_t, 3> NamesInFile{};
  // Encoding and decoding of games reuse this buffer.
  std::vector<uint8_t> GameBuffer;

  int RecordSize() const;
  // Whole records in the index file; a trailing partial record does not count.
  int32_t RecordCount() const;
};

}  // namespace kestrel
