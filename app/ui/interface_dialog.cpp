#include "app/ui/interface_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/language/language_table.h"
#include "app/ui/ui_language.h"
#include "app/settings/code_page_setting.h"

namespace kestrel {

namespace {

constexpr const char* OptionKey = "kestrelOption";

QButtonGroup* Choices(QGroupBox* box, std::initializer_list<std::pair<int, QString>> items) {
  auto* group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  int id = 0;
  for (const auto& [entry, text] : items) {
    auto* radio = new QRadioButton(text, box);
    if (entry) BindLang(radio, entry);
    group->addButton(radio, id++);
    layout->addWidget(radio);
  }
  return group;
}

// The quick settings of the Pool tab: flipped (Jamaican), chess notation,
// white at the bottom.
struct PoolPreset {
  int name;  // its language entry
  bool jamaican, chess, whiteBottom;
};
constexpr PoolPreset PoolPresets[] = {
    {LtUnifiedPool, false, true, true},
    {LtAmericanPool, false, false, false},
    {LtJamaicanPool, true, false, false},
};

}  // namespace

InterfaceDialog::InterfaceDialog(Settings& settings, std::filesystem::path programFolder, QWidget* parent)
    : QDialog(parent), settings_(settings), original_(settings), programFolder_(std::move(programFolder)) {
  BindLangTitle(this, 139);
  tabs_ = new QTabWidget(this);
  auto* general = new QWidget(tabs_);
  auto* pool = new QWidget(tabs_);
  tabs_->addTab(general, QString());
  tabs_->addTab(pool, QString());
  BindLangTab(general, 266);
  BindLangTab(pool, 9);

  auto* notationBox = new QGroupBox(general);
  BindLang(notationBox, 140);
  notation_ = Choices(notationBox, {{142, {}}, {141, {}}, {267, {}}});
  auto* takeBox = new QGroupBox(general);
  BindLang(takeBox, 143);
  takeChar_ = Choices(takeBox, {{0, QStringLiteral(":")}, {0, QStringLiteral("x")}});
  auto* resultBox = new QGroupBox(general);
  BindLang(resultBox, 80);
  result_ = Choices(resultBox, {{0, QStringLiteral("1-0; 1/2-1/2")}, {0, QStringLiteral("2-0; 1-1")}});
  notation_->button(settings_.Notation)->setChecked(true);
  takeChar_->button(settings_.TakeChar)->setChecked(true);
  result_->button(settings_.ResType)->setChecked(true);
  connect(notation_, &QButtonGroup::idClicked, this, [this](int id) { settings_.Notation = id; Changed(); });
  connect(takeChar_, &QButtonGroup::idClicked, this, [this](int id) { settings_.TakeChar = id; Changed(); });
  connect(result_, &QButtonGroup::idClicked, this, [this](int id) { settings_.ResType = id; Changed(); });

  // The settings file keeps its texts as UTF-8.
  userName_ = new QLineEdit(QString::fromStdString(settings_.UserName), general);
  connect(userName_, &QLineEdit::textEdited, this, [this](const QString& text) {
    settings_.UserName = text.toStdString();
    Changed();
  });

  auto* options = new QVBoxLayout;
  Option(general, "Sound", 136, &Settings::Sound, false);
  Option(general, "HighlightMove", 149, &Settings::HighlightMove, true);
  Option(general, "ShowCoords", 194, &Settings::ShowCoords, true);
  Option(general, "UseItalPDN", 233, &Settings::UseItalPDN, false);
  Option(general, "Line3InLine", 248, &Settings::Line3InLine, true);
  Option(general, "AutoCapture", 249, &Settings::AutoCapture, false);
  Option(general, "SaveGameChanges", 252, &Settings::SaveGameChanges, false);
  Option(general, "TimeoutMessages", 253, &Settings::TimeoutMessages, false);
  Option(general, "ComposerMode", 270, &Settings::ComposerMode, true);
  for (const char* key : {"Sound", "HighlightMove", "ShowCoords", "UseItalPDN", "Line3InLine", "AutoCapture",
                          "SaveGameChanges", "TimeoutMessages", "ComposerMode"})
    options->addWidget(option(key));
  auto* nameLine = new QHBoxLayout;
  nameLine->addWidget(LangLabel(general, 134));
  nameLine->addWidget(userName_, 1);
  options->addLayout(nameLine);
  // How the stored bytes of names and comments read; it takes effect at
  // once, so a database shown with wrong letters is put right by choosing
  // the code page it was written in.
  codePage_ = new QComboBox(general);
  for (const TCodePage page : {TCodePage::windows1251, TCodePage::windows1252, TCodePage::utf8})
    codePage_->addItem(QString::fromLatin1(CodePageName(page)));
  codePage_->setCurrentText(QString::fromLatin1(CodePageName(CodePageOfSetting(settings_.CodePage))));
  connect(codePage_, &QComboBox::activated, this, [this] {
    settings_.CodePage = codePage_->currentText().toStdString();
    Changed();
  });
  auto* codePageLine = new QHBoxLayout;
  codePageLine->addWidget(LangLabel(general, 321));
  codePageLine->addWidget(codePage_, 1);
  options->addLayout(codePageLine);
  options->addStretch();

  languages_ = new QListWidget(general);
  for (const TLanguageEntry& language : LanguageList(programFolder_)) {
    auto* item = new QListWidgetItem(ProgramTextQ(language.ownName), languages_);
    item->setData(Qt::UserRole, QString::fromStdString(language.file));
    if (language.file == settings_.LanguageName) languages_->setCurrentItem(item);
  }
  connect(languages_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const std::string file = item->data(Qt::UserRole).toString().toStdString();
    if (onLanguage) onLanguage(file);
    settings_.LanguageName = file;
  });

  auto* generalGrid = new QGridLayout(general);
  generalGrid->addWidget(notationBox, 0, 0);
  generalGrid->addWidget(takeBox, 1, 0);
  generalGrid->addWidget(resultBox, 2, 0);
  generalGrid->addLayout(options, 0, 1, 3, 1);
  auto* languageColumn = new QVBoxLayout;
  languageColumn->addWidget(LangLabel(general, 320));
  languageColumn->addWidget(languages_, 1);
  generalGrid->addLayout(languageColumn, 0, 2, 3, 1);

  auto* poolLayout = new QVBoxLayout(pool);
  Option(pool, "LoadRusAsPool", 169, &Settings::LoadRusAsPool, true);
  Option(pool, "ShowJamaican", 250, &Settings::ShowJamaican, true);
  Option(pool, "PoolChessNotation", 286, &Settings::PoolChessNotation, true);
  Option(pool, "PoolWhiteBottom", 287, &Settings::PoolWhiteBottom, true);
  for (const char* key : {"LoadRusAsPool", "ShowJamaican", "PoolChessNotation", "PoolWhiteBottom"})
    poolLayout->addWidget(option(key));
  quick_ = new QComboBox(pool);
  quick_->addItem(QString());  // custom: the three options as they are
  for (std::size_t i = 0; i < std::size(PoolPresets); ++i) quick_->addItem(QString());
  OnLanguageChange(this, [this] {
    for (std::size_t i = 0; i < std::size(PoolPresets); ++i)
      quick_->setItemText(static_cast<int>(i) + 1, LangQ(PoolPresets[i].name));
  });
  auto* quickLine = new QHBoxLayout;
  quickLine->addWidget(LangLabel(pool, 285));
  quickLine->addWidget(quick_, 1);
  poolLayout->addLayout(quickLine);
  poolLayout->addStretch();
  ShowQuickSettings();
  connect(quick_, &QComboBox::activated, this, &InterfaceDialog::ApplyQuickSettings);

  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
}

QCheckBox* InterfaceDialog::Option(QWidget* parent, const char* key, int entry, bool Settings::*field, bool atOnce) {
  auto* box = new QCheckBox(parent);
  box->setProperty(OptionKey, QString::fromLatin1(key));
  BindLang(box, entry);
  box->setChecked(settings_.*field);
  if (atOnce)
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
      settings_.*field = on;
      ShowQuickSettings();
      Changed();
    });
  else
    okOptions_.push_back({box, field});
  return box;
}

QCheckBox* InterfaceDialog::option(const char* key) const {
  for (QCheckBox* box : findChildren<QCheckBox*>())
    if (box->property(OptionKey).toString() == QLatin1String(key)) return box;
  return nullptr;
}

void InterfaceDialog::Changed() {
  if (!updating_ && onChange) onChange();
}

void InterfaceDialog::ShowQuickSettings() {
  int index = 0;
  for (int i = 0; i < static_cast<int>(std::size(PoolPresets)); ++i) {
    const PoolPreset& p = PoolPresets[i];
    if (p.jamaican == settings_.ShowJamaican && p.chess == settings_.PoolChessNotation &&
        p.whiteBottom == settings_.PoolWhiteBottom)
      index = i + 1;
  }
  quick_->setCurrentIndex(index);
}

void InterfaceDialog::ApplyQuickSettings(int index) {
  if (index < 1 || index > static_cast<int>(std::size(PoolPresets))) return;
  const PoolPreset& p = PoolPresets[index - 1];
  updating_ = true;
  option("ShowJamaican")->setChecked(p.jamaican);
  option("PoolChessNotation")->setChecked(p.chess);
  option("PoolWhiteBottom")->setChecked(p.whiteBottom);
  updating_ = false;
  Changed();
}

void InterfaceDialog::accept() {
  for (const OkOption& o : okOptions_) settings_.*(o.field) = o.box->isChecked();
  QDialog::accept();
}

void InterfaceDialog::reject() {
  // What took effect at once is put back, the language included.
  const std::string language = settings_.LanguageName;
  Settings& s = settings_;
  const Settings& o = original_;
  s.Notation = o.Notation;
  s.TakeChar = o.TakeChar;
  s.ResType = o.ResType;
  s.UserName = o.UserName;
  s.HighlightMove = o.HighlightMove;
  s.ShowCoords = o.ShowCoords;
  s.Line3InLine = o.Line3InLine;
  s.ComposerMode = o.ComposerMode;
  s.LoadRusAsPool = o.LoadRusAsPool;
  s.ShowJamaican = o.ShowJamaican;
  s.PoolChessNotation = o.PoolChessNotation;
  s.PoolWhiteBottom = o.PoolWhiteBottom;
  s.LanguageName = o.LanguageName;
  s.CodePage = o.CodePage;
  if (language != original_.LanguageName && onLanguage) {
    InitLanguageTable();
    onLanguage(original_.LanguageName);
  }
  if (onChange) onChange();
  QDialog::reject();
}

}  // namespace kestrel
