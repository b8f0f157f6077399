#include "app/ui/engine_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/play/play_texts.h"
#include "app/ui/ui_language.h"
#include "engine/engine_params.h"

namespace kestrel {

namespace {

// "Best", "Good", "Normal".
constexpr int BookLevelEntries[] = {235, 236, 237};

QString PathText(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

EngineSettingsDialog::EngineSettingsDialog(std::filesystem::path programFolder, int maxHashMegabytes,
                                           QWidget* parent)
    : QDialog(parent), programFolder_(std::move(programFolder)) {
  BindLangTitle(this, 36);
  variant_ = new QComboBox(this);
  variant_->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // the items follow the language
  for (int t = 1; t <= GameTypeCount; ++t) variant_->addItem(QString(), t);
  auto* top = new QFormLayout;
  top->addRow(LangLabel(this, 203), variant_);

  auto* engineBox = new QGroupBox(this);
  BindLang(engineBox, 90);
  generation_ = new QComboBox(engineBox);
  engineFile_ = new QComboBox(engineBox);
  hubCommand_ = new QLineEdit(engineBox);
  hubCommand_->setPlaceholderText(QStringLiteral("scan hub"));
  BindLangTip(hubCommand_, LtHubCommandTip);
  hubBrowse_ = new QPushButton(engineBox);
  BindLang(hubBrowse_, 93);
  auto* hubLine = new QHBoxLayout;
  auto* hubLabel = new QLabel(engineBox);
  BindLang(hubLabel, 355);  // "Hub command line:"
  hubLine->addWidget(hubLabel);
  hubLine->addWidget(hubCommand_, 1);
  hubLine->addWidget(hubBrowse_);
  auto* engineLayout = new QVBoxLayout(engineBox);
  engineLayout->addWidget(generation_);
  engineLayout->addWidget(engineFile_);
  engineLayout->addLayout(hubLine);

  auto* bookBox = new QGroupBox(this);
  BindLang(bookBox, 91);
  book_ = new QLineEdit(bookBox);
  bookBrowse_ = new QPushButton(bookBox);
  BindLang(bookBrowse_, 93);
  useBook_ = new QCheckBox(bookBox);
  BindLang(useBook_, 92);
  bookLevel_ = new QComboBox(bookBox);
  bookLevel_->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // the items follow the language
  for (int i = 0; i < 3; ++i) bookLevel_->addItem(QString());
  auto* bookLine = new QHBoxLayout;
  bookLine->addWidget(book_, 1);
  bookLine->addWidget(bookBrowse_);
  auto* levelLine = new QHBoxLayout;
  levelLine->addWidget(useBook_);
  levelLine->addStretch();
  levelLine->addWidget(LangLabel(bookBox, 234));
  levelLine->addWidget(bookLevel_);
  auto* bookLayout = new QVBoxLayout(bookBox);
  bookLayout->addLayout(bookLine);
  bookLayout->addLayout(levelLine);

  auto* edBox = new QGroupBox(this);
  BindLang(edBox, 288);
  edPath_ = new QLineEdit(edBox);
  edBrowse_ = new QPushButton(edBox);
  BindLang(edBrowse_, 93);
  auto* edLine = new QHBoxLayout(edBox);
  edLine->addWidget(edPath_, 1);
  edLine->addWidget(edBrowse_);

  auto* memoryBox = new QGroupBox(this);
  BindLang(memoryBox, 94);
  hash_ = new QSpinBox(memoryBox);
  hash_->setRange(MinHashMegabytes, std::max(maxHashMegabytes, MinHashMegabytes));
  ed_ = new QSpinBox(memoryBox);
  ed_->setRange(1, MaxEDBMegabytes);
  auto* memoryLine = new QHBoxLayout(memoryBox);
  memoryLine->addWidget(LangLabel(memoryBox, 290));
  memoryLine->addWidget(hash_);
  memoryLine->addSpacing(20);
  memoryLine->addWidget(LangLabel(memoryBox, 291));
  memoryLine->addWidget(ed_);
  memoryLine->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  BindButtonBox(buttons);
  problem_ = new QLabel(this);
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  problem_->setWordWrap(true);
  problem_->hide();
  connect(buttons, &QDialogButtonBox::accepted, this, &EngineSettingsDialog::AcceptIfComplete);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // The choices' items in the language in use.
  OnLanguageChange(this, [this] {
    for (int i = 0; i < variant_->count(); ++i)
      variant_->setItemText(i, ProgramTextQ(GameTypeTitle(variant_->itemData(i).toInt())));
    for (int i = 0; i < 3; ++i) bookLevel_->setItemText(i, LangQ(BookLevelEntries[i]));
    if (const int i = generation_->findData(ExternalChoice); i >= 0) generation_->setItemText(i, LangQ(LtExternalHub));
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(engineBox);
  layout->addWidget(bookBox);
  layout->addWidget(edBox);
  layout->addWidget(memoryBox);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
  setMinimumWidth(480);  // room for paths and the command line

  connect(variant_, &QComboBox::currentIndexChanged, this, [this](int index) {
    KeepVariant();
    ShowVariant(variant_->itemData(index).toInt());
  });
  connect(useBook_, &QCheckBox::toggled, bookLevel_, &QWidget::setEnabled);
  connect(generation_, &QComboBox::currentIndexChanged, this, [this] { EnableEngineControls(); });
  connect(hubBrowse_, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, LangQ(192), hubCommand_->text().section(' ', 0, 0));
    // A path with spaces is quoted so that the command line splits it as one word.
    if (!file.isEmpty()) hubCommand_->setText(file.contains(' ') ? '"' + file + '"' : file);
  });
  connect(bookBrowse_, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, LangQ(192), book_->text(),
                                                      QStringLiteral("Kestrel Thornby Book/Tree (*.CBK *.cbk)"));
    if (!file.isEmpty()) book_->setText(file);
  });
  connect(edBrowse_, &QPushButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(this, LangQ(319), edPath_->text());
    if (!folder.isEmpty()) edPath_->setText(folder);
  });
}

void EngineSettingsDialog::SetValues(const TEngineSettingsValues& values, int currentType) {
  values_ = values;
  shown_ = 0;
  bookLevel_->setCurrentIndex(std::clamp(values.bookLevel, 0, 2));
  edPath_->setText(PathText(values.edPath));
  hash_->setValue(values.hashMegabytes);
  ed_->setValue(values.edbMegabytes);
  const int index = variant_->findData(IsValidGameType(currentType) ? currentType : gtRussian);
  const QSignalBlocker block(variant_);
  variant_->setCurrentIndex(index);
  ShowVariant(variant_->itemData(index).toInt());
}

void EngineSettingsDialog::ShowVariant(int type) {
  if (!IsValidGameType(type)) return;
  shown_ = type;
  const VariantSettings& v = values_.variants[type];
  {
    const QSignalBlocker block(generation_);
    generation_->clear();
    // The item data is the generation, so that a new generation is one more item.
    int generation = 0;
    for (const std::string& choice : EngineGenerationChoices(type))
      generation_->addItem(QString::fromStdString(choice), generation++);
    generation_->addItem(LangQ(LtExternalHub), ExternalChoice);
  }
  SelectEngine(v.External ? ExternalChoice : v.Engine);
  engineFile_->clear();
  for (const std::string& file : ListEngineFiles(EngineFolder(programFolder_, type)))
    engineFile_->addItem(QString::fromStdString(file));
  int file = engineFile_->findText(QString::fromStdString(v.EngineName));
  if (file < 0 && !v.EngineName.empty()) {
    engineFile_->addItem(QString::fromStdString(v.EngineName));
    file = engineFile_->count() - 1;
  }
  engineFile_->setCurrentIndex(file);
  hubCommand_->setText(QString::fromStdString(v.HubCommand));
  EnableEngineControls();
  book_->setText(PathText(v.Book));
  useBook_->setChecked(v.UseBook);
  bookLevel_->setEnabled(v.UseBook);
}

void EngineSettingsDialog::KeepVariant() {
  if (!IsValidGameType(shown_)) return;
  VariantSettings& v = values_.variants[shown_];
  const int choice = generation_->currentData().toInt();
  v.External = choice == ExternalChoice;
  if (!v.External) v.Engine = std::max(choice, 0);
  v.HubCommand = hubCommand_->text().trimmed().toStdString();
  if (engineFile_->currentIndex() >= 0) v.EngineName = engineFile_->currentText().toStdString();
  v.Book = book_->text().toStdString();
  v.UseBook = useBook_->isChecked();
}

void EngineSettingsDialog::SelectEngine(int choice) {
  int index = generation_->findData(choice);
  // A generation this variant lacks falls back to the best it has.
  if (index < 0) index = std::max(generation_->count() - 2, 0);
  generation_->setCurrentIndex(index);
}

void EngineSettingsDialog::EnableEngineControls() {
  const int choice = generation_->currentData().toInt();
  engineFile_->setEnabled(choice >= EngineNew);
  hubCommand_->setEnabled(choice == ExternalChoice);
  hubBrowse_->setEnabled(choice == ExternalChoice);
}

void EngineSettingsDialog::AcceptIfComplete() {
  KeepVariant();
  // An external engine without a command would leave Compute nothing to run.
  for (int t = 1; t <= GameTypeCount; ++t) {
    if (!values_.variants[t].External || !values_.variants[t].HubCommand.empty()) continue;
    variant_->setCurrentIndex(variant_->findData(t));
    problem_->setText(ProgramTextQ(GameTypeTitle(t)) + QStringLiteral(": the external engine needs its command line."));
    problem_->show();
    hubCommand_->setFocus();
    return;
  }
  problem_->hide();
  accept();
}

TEngineSettingsValues EngineSettingsDialog::Values() {
  KeepVariant();
  values_.bookLevel = bookLevel_->currentIndex();
  values_.edPath = edPath_->text().toStdString();
  values_.hashMegabytes = hash_->value();
  values_.edbMegabytes = ed_->value();
  return values_;
}

}  // namespace kestrel
