// The language table in the windows. A caption bound to an entry takes the
// entry's current text now and again whenever the language changes, so the
// windows need no code of their own to follow a language change.
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <string_view>

#include "app/language/window_texts.h"
#include "app/ui/lang_text.h"

class QAction;
class QDialog;
class QDialogButtonBox;
class QLabel;
class QObject;
class QWidget;

namespace kestrel {

// Binds the caption of `target` to entry n, with fixed text before and
// after it: the text of a label, button, check box, action or group box,
// the title of a menu. Sets it at once.
void BindLang(QObject* target, int n, const QString& prefix = {}, const QString& suffix = {});
// The window title of a top-level widget.
void BindLangTitle(QWidget* window, int n);
// The hint (tool tip) of an action or widget.
void BindLangTip(QObject* target, int n);
// The tab caption of a page of a tab widget.
void BindLangTab(QWidget* page, int n);

// A label bound to entry n.
QLabel* LangLabel(QWidget* parent, int n, const QString& suffix = {});
// The Cancel button of a button box takes entry 84 ("OK" is the same in
// every language the program has).
void BindButtonBox(QDialogButtonBox* box);
// OK and Cancel of a dialog: bound to the language and to accept/reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
// "White" or "Black" (the rules core's English side names) in the language
// in use.
QString SideNameQ(const std::string& englishSide);

// Texts composed in code (spin box suffixes, list items, composed
// messages): `apply` runs now and again whenever the language changes.
void OnLanguageChange(QWidget* window, std::function<void()> apply);
// A text of the core libraries (messages, progress captions and stages,
// which are English there) in the language in use; a text the table has no
// entry for is shown as it is.
QString CoreTextQ(std::string_view text);

// Qt's own buttons (Yes, No, Cancel... of message boxes and button boxes)
// take their words from the language table. Installed once, at start.
void InstallStandardButtonTexts();

// Applies the current texts to every bound caption under `root` (itself
// included).
void ApplyLanguage(QObject* root);
// Applies the current texts to every window of the program, then sends
// each widget a language-change event so that texts composed in code (the
// Window menu, the status bar) are made again.
void ChangeLanguage();

}  // namespace kestrel
