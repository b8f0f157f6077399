// Captions and stage texts of the maintenance commands' progress windows.
// The windows show them in the user's language by matching these very
// constants, so a text changed here cannot silently stay English there.
#pragma once

#include <string_view>

namespace kestrel {

inline constexpr std::string_view BuildTreeCaption = "Build tree";
inline constexpr std::string_view TreeReadingText = "Reading (1/4)...";
inline constexpr std::string_view TreeSortingText = "Sorting positions (2/4)...";
inline constexpr std::string_view TreeMovingText = "Moving positions (3/4)...";
inline constexpr std::string_view TreeWritingText = "Writing (4/4)...";
inline constexpr std::string_view CopyGamesCaption = "Copy games";
inline constexpr std::string_view CopyingText = "Copying...";
inline constexpr std::string_view CopyingFileText = "Copying: ";  // the file name follows
inline constexpr std::string_view CopyDatabaseCaption = "Copy database";
inline constexpr std::string_view MatchGamesCaption = "Match Games";
inline constexpr std::string_view LoadingText = "Loading...";
inline constexpr std::string_view MatchingText = "Matching...";
inline constexpr std::string_view RemoveCommentsCaption = "Remove comments";
inline constexpr std::string_view RemoveVariationsCaption = "Remove variations";
inline constexpr std::string_view WorkingText = "Working...";
inline constexpr std::string_view DatabaseCheckCaption = "Database check";
inline constexpr std::string_view CheckingText = "Checking...";
inline constexpr std::string_view EstimatedTimeText = "Estimated time";  // " h:mm:ss" follows

}  // namespace kestrel
