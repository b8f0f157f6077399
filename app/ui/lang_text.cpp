#include "app/ui/lang_text.h"

#include "app/language/language_table.h"
#include "database/code_page.h"

namespace kestrel {

QString LangQ(int n) { return ProgramTextQ(LangTextOrDesign(n)); }

QString ProgramTextQ(const std::string& text) { return QString::fromStdString(FileTextToUtf8(text)); }

}  // namespace kestrel
