// Replacing the three files of a database by a new set built beside them, so
// that a kill or a failed step never leaves a mixed database. The new set is
// complete on disk before a marker file names it; the marker makes every
// later opening finish the renames that an interrupted run left undone.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The marker beside a database while its files are being replaced.
std::string SwapMarkerPath(std::string_view base);

// Moves the files of database `fromBase` (closed, complete) over those of
// database `toBase` (closed). Raises TDatabaseError when the files cannot be
// flushed or the marker cannot be written: the old database is then untouched.
// A failed rename after that is raised too; the next FinishDatabaseSwap (every
// OpenDatabase runs it) completes the replacement.
void SwapDatabaseFiles(const std::string& fromBase, const std::string& toBase);

// Completes a replacement interrupted by a kill; nothing when no marker is
// there. Raises TDatabaseError when a rename fails.
void FinishDatabaseSwap(const std::string& base);

// Writes the file's data to the disk; raises TDatabaseError.
void FlushFileToDisk(const std::string& path);

}  // namespace kestrel
