// Sets the code page of stored texts for one test and puts back the
// default, so that tests after it read as the program starts.
#pragma once

#include "database/code_page.h"

namespace kestrel::testing {

struct CodePageScope {
  explicit CodePageScope(TCodePage page) { SetCodePage(page); }
  ~CodePageScope() { SetCodePage(TCodePage::windows1251); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;
};

}  // namespace kestrel::testing
