#include "app/ui/ui_language.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTabWidget>
#include <QTranslator>
#include <QVariant>
#include <QWidget>

#include "app/database/current_database.h"
#include "app/language/language_table.h"
#include "database/ballots.h"
#include "database/database_file.h"
#include "database/kestrel_db.h"
#include "database/maintenance/game_append.h"
#include "database/search/search_database.h"
#include "database/code_page.h"
#include "database/maintenance/progress_texts.h"

namespace kestrel {

namespace {

constexpr const char* TextKey = "kestrelLangText";
constexpr const char* PrefixKey = "kestrelLangPrefix";
constexpr const char* SuffixKey = "kestrelLangSuffix";
constexpr const char* TitleKey = "kestrelLangTitle";
constexpr const char* TipKey = "kestrelLangTip";
constexpr const char* TabKey = "kestrelLangTab";

int EntryOf(const QObject* o, const char* key) {
  const QVariant v = o->property(key);
  return v.isValid() ? v.toInt() : 0;
}

void ApplyOne(QObject* o) {
  if (const int n = EntryOf(o, TextKey)) {
    const QString text = o->property(PrefixKey).toString() + LangQ(n) + o->property(SuffixKey).toString();
    if (auto* a = qobject_cast<QAction*>(o))
      a->setText(text);
    else if (auto* m = qobject_cast<QMenu*>(o))
      m->setTitle(text);
    else if (auto* g = qobject_cast<QGroupBox*>(o))
      g->setTitle(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(o))
      b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(o))
      l->setText(text);
  }
  if (const int n = EntryOf(o, TitleKey))
    if (auto* w = qobject_cast<QWidget*>(o)) w->setWindowTitle(LangQ(n));
  if (const int n = EntryOf(o, TipKey)) {
    if (auto* a = qobject_cast<QAction*>(o))
      a->setToolTip(LangQ(n));
    else if (auto* w = qobject_cast<QWidget*>(o))
      w->setToolTip(LangQ(n));
  }
  if (const int n = EntryOf(o, TabKey))
    if (auto* page = qobject_cast<QWidget*>(o))
      // The page sits in the tab widget's stack, two levels down.
      for (QWidget* p = page->parentWidget(); p; p = p->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
          const int index = tabs->indexOf(page);
          if (index >= 0) tabs->setTabText(index, LangQ(n));
          break;
        }
}

// Runs its function on every language change of the widget it watches.
class LanguageWatcher : public QObject {
 public:
  LanguageWatcher(QWidget* window, std::function<void()> apply) : QObject(window), apply_(std::move(apply)) {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent() && event->type() == QEvent::LanguageChange) apply_();
    return false;
  }

 private:
  std::function<void()> apply_;
};

struct TCoreText {
  std::string_view english;
  int entry;
};

// The core's texts that reach the windows, whole.
constexpr TCoreText CoreTexts[] = {
    {DatabaseNotOpenedText, 87},
    {CannotOpenText, 307},
    {CreateQuestionText, 306},
    {NoGameFromDatabaseText, 275},
    {BallotNotFoundText, 210},
    {InUseText, LtDatabaseInUse},
    {WrongDatabaseTypeText, LtWrongDatabaseType},
    {ConversionErrorText, LtConversionError},
    {CannotAddText, LtCannotAdd},
    {SearchCaptionText, 49},
    {SearchingText, LtSearching},
    // Progress captions and stages of the database maintenance.
    {BuildTreeCaption, 118},
    {TreeReadingText, LtTreeReading},
    {TreeSortingText, LtTreeSorting},
    {TreeMovingText, LtTreeMoving},
    {TreeWritingText, LtTreeWriting},
    {CopyGamesCaption, LtCopyGames},
    {CopyingText, LtCopying},
    {CopyDatabaseCaption, LtCopyDatabase},
    {MatchGamesCaption, 155},
    {LoadingText, LtLoading},
    {MatchingText, LtMatching},
    {RemoveCommentsCaption, 246},
    {RemoveVariationsCaption, 276},
    {WorkingText, LtWorking},
    {DatabaseCheckCaption, 154},
    {CheckingText, LtChecking},
};
// ... and those that begin a longer text (a file name or a count follows).
constexpr TCoreText CorePrefixes[] = {
    {CopyingFileText, LtCopyingFile},
    {SearchingFoundText, LtSearchingFound},
    {TooLargeQuantityText, LtTooManyGames},
    {EstimatedTimeText, LtEstimatedTime},
};

// The texts Qt gives its standard buttons, with the entries that replace
// them; "OK" is the same in every language the program has.
struct TButtonText {
  const char* qt;
  int entry;
  bool accelerator;  // "&" before the first letter
};
constexpr TButtonText ButtonTexts[] = {
    {"&Yes", LtYes, true}, {"&No", LtNoAnswer, true}, {"Cancel", 84, false}, {"Close", 225, false},
    {"Save", 110, false},  {"Open", LtOpen, false},   {"Help", 40, false},   {"Reset", 107, false},
};

class StandardButtonTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (qstrcmp(context, "QPlatformTheme") != 0) return {};
    for (const TButtonText& b : ButtonTexts)
      if (qstrcmp(source, b.qt) == 0) return (b.accelerator ? QStringLiteral("&") : QString()) + LangQ(b.entry);
    return {};
  }
};

}  // namespace

void BindLang(QObject* target, int n, const QString& prefix, const QString& suffix) {
  target->setProperty(TextKey, n);
  target->setProperty(PrefixKey, prefix);
  target->setProperty(SuffixKey, suffix);
  ApplyOne(target);
}

void BindLangTitle(QWidget* window, int n) {
  window->setProperty(TitleKey, n);
  ApplyOne(window);
}

void BindLangTip(QObject* target, int n) {
  target->setProperty(TipKey, n);
  ApplyOne(target);
}

void BindLangTab(QWidget* page, int n) {
  page->setProperty(TabKey, n);
  ApplyOne(page);
}

QLabel* LangLabel(QWidget* parent, int n, const QString& suffix) {
  auto* label = new QLabel(parent);
  BindLang(label, n, {}, suffix);
  return label;
}

void BindButtonBox(QDialogButtonBox* box) {
  if (QAbstractButton* cancel = box->button(QDialogButtonBox::Cancel)) BindLang(cancel, 84);
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  BindButtonBox(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QString SideNameQ(const std::string& englishSide) { return LangQ(englishSide == "White" ? 57 : 58); }

void OnLanguageChange(QWidget* window, std::function<void()> apply) {
  apply();
  new LanguageWatcher(window, std::move(apply));
}

QString CoreTextQ(std::string_view text) {
  for (const TCoreText& t : CoreTexts)
    if (text == t.english) return LangQ(t.entry);
  for (const TCoreText& t : CorePrefixes)
    if (text.substr(0, t.english.size()) == t.english)
      return LangQ(t.entry) + ProgramTextQ(std::string(text.substr(t.english.size())));
  return ProgramTextQ(std::string(text));
}

void InstallStandardButtonTexts() {
  static StandardButtonTranslator* translator = nullptr;
  if (translator) return;
  translator = new StandardButtonTranslator(QCoreApplication::instance());
  QCoreApplication::installTranslator(translator);
}

void ApplyLanguage(QObject* root) {
  ApplyOne(root);
  for (QObject* o : root->findChildren<QObject*>()) ApplyOne(o);
}

void ChangeLanguage() {
  // The events first: some widgets reset their own texts on them (button
  // boxes), and the bound captions are to win.
  // A handler may rebuild part of its window (the Window menu): widgets that
  // went away meanwhile are skipped.
  QList<QPointer<QWidget>> widgets;
  for (QWidget* w : QApplication::allWidgets()) widgets << w;
  for (const QPointer<QWidget>& w : widgets) {
    if (!w) continue;
    QEvent event(QEvent::LanguageChange);
    QCoreApplication::sendEvent(w, &event);
  }
  for (QWidget* w : QApplication::topLevelWidgets()) ApplyLanguage(w);
}

}  // namespace kestrel
