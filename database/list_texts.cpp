#include "database/list_texts.h"

#include <array>

#include "database/derived_header.h"
#include "rules/plain_text.h"

namespace kestrel {

std::string DatabaseCaption(const TKestrelDB& db, const TGameList& list, std::string_view databaseWord,
                            std::string_view foundWord) {
  std::string text = " " + std::string(databaseWord) + " " + db.DBNameIdx + " (";
  if (list.GameListCount != db.DBSize) text += foundWord;
  const int32_t selected = list.SelectedCount();
  if (selected > 0) text += std::to_string(selected) + "/";
  text += std::to_string(list.GameListCount) + ")";
  return text;
}

std::string_view ResultText(uint8_t result, int style) {
  static constexpr std::array<std::array<std::string_view, 6>, 2> texts = {{
      {"*", "1-0", "=", "0-1", "1-0t", "0-1t"},
      {"*", "2-0", "1-1", "0-2", "2-0t", "0-2t"},
  }};
  if (result >= texts[0].size()) return "*";
  return texts[style == 1 ? 1 : 0][result];
}

std::string FlagMarks(uint8_t flags) {
  std::string marks;
  if (flags & hfSetUp)
    marks += 'P';
  else if (flags & hfFullSetUp)
    marks += 'p';
  if (flags & hfVariations)
    marks += 'V';
  else if (flags & hfFewVariations)
    marks += 'v';
  if (flags & hfComments)
    marks += 'C';
  else if (flags & hfFewComments)
    marks += 'c';
  return marks;
}

std::string ListDateText(const TGameDate& date) {
  if (date.Year == 0 && date.Month == 0 && date.Day == 0) return {};
  std::string text = ZeroPadded(date.Year, 4);
  if (date.Month != 0 || date.Day != 0) text += "." + ZeroPadded(date.Month, 2) + "." + ZeroPadded(date.Day, 2);
  return text;
}

}  // namespace kestrel
