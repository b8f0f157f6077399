#include "app/ui/engines_tournament_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/ui_language.h"
#include "database/database_file.h"

namespace kestrel {
namespace {

const char* const DatabaseFilter = "Kestrel Thornby Database (*.ABD *.abd)";
const char* const EngineFilter = "Kestrel Thornby Engine Parameters (*.ENG *.eng)";

QSpinBox* Spin(QWidget* parent, int low, int high, int value) {
  auto* s = new QSpinBox(parent);
  s->setRange(low, high);
  s->setValue(value);
  return s;
}

}  // namespace

EnginesTournamentDialog::EnginesTournamentDialog(QString startFolder, QWidget* parent)
    : QDialog(parent), folder_(std::move(startFolder)) {
  BindLangTitle(this, 351);  // "Engines tournament"
  auto* form = new QFormLayout;

  sortitionLabel_ = new QLabel(this);
  auto* browseSortition = new QPushButton(this);
  BindLang(browseSortition, 93);  // "Browse"
  auto* sortitionRow = new QHBoxLayout;
  sortitionRow->addWidget(sortitionLabel_, 1);
  sortitionRow->addWidget(browseSortition);
  form->addRow(LangLabel(this, LtSortitionDatabase), sortitionRow);
  connect(browseSortition, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, LangQ(295), folder_, DatabaseFilter);
    if (!path.isEmpty()) SetSortitionDatabase(path);
  });

  games_ = Spin(this, 1, 1, 1);
  form->addRow(LangLabel(this, LtGamesForMatch), games_);

  saveLabel_ = new QLabel(this);
  auto* browseSave = new QPushButton(this);
  BindLang(browseSave, 93);
  auto* saveRow = new QHBoxLayout;
  saveRow->addWidget(saveLabel_, 1);
  saveRow->addWidget(browseSave);
  form->addRow(LangLabel(this, LtSaveGamesTo), saveRow);
  connect(browseSave, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, LangQ(295), folder_, DatabaseFilter,
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) SetSaveDatabase(path);
  });

  engines_ = new QListWidget(this);
  engines_->setMinimumHeight(90);
  auto* open = new QPushButton(this);
  auto* clear = new QPushButton(this);
  BindLang(open, LtOpen);
  BindLang(clear, 51);  // "Clear"
  auto* engineButtons = new QVBoxLayout;
  engineButtons->addWidget(open);
  engineButtons->addWidget(clear);
  engineButtons->addStretch();
  auto* engineRow = new QHBoxLayout;
  engineRow->addWidget(engines_, 1);
  engineRow->addLayout(engineButtons);
  form->addRow(LangLabel(this, LtEngines), engineRow);
  connect(open, &QPushButton::clicked, this, [this] {
    AddEngines(QFileDialog::getOpenFileNames(this, LangQ(LtOpenEngines), folder_, EngineFilter));
  });
  connect(clear, &QPushButton::clicked, this, [this] { engines_->clear(); });

  total_ = Spin(this, 2, 999, 20);
  form->addRow(LangLabel(this, LtTotalFunctions), total_);
  best_ = Spin(this, 1, 999, 1);
  form->addRow(LangLabel(this, LtBestInRound), best_);
  stage_ = new QComboBox(this);
  stage_->addItems({"0", "1", "2", "3", QString()});
  stage_->setCurrentIndex(4);
  form->addRow(LangLabel(this, LtMutateStage), stage_);
  static_ = new QCheckBox(this);
  BindLang(static_, LtStatic);
  static_->setChecked(true);
  dynamic_ = new QCheckBox(this);
  BindLang(dynamic_, LtDynamic);
  dynamic_->setChecked(true);
  auto* flags = new QHBoxLayout;
  flags->addWidget(static_);
  flags->addWidget(dynamic_);
  flags->addStretch();
  form->addRow(QString(), flags);
  prefix_ = new QLineEdit(this);
  form->addRow(LangLabel(this, LtNamePrefix), prefix_);
  runNext_ = new QCheckBox(this);
  BindLang(runNext_, LtRunNextGenetics);
  form->addRow(QString(), runNext_);

  auto* time = new QGridLayout;
  for (int side = 0; side < 2; ++side) {
    minutes_[side] = Spin(this, 0, 9999, 3);
    seconds_[side] = Spin(this, 0, 59, 0);
    time->addWidget(LangLabel(this, side == 0 ? 57 : 58), side, 0);  // "White", "Black"
    time->addWidget(minutes_[side], side, 1);
    time->addWidget(seconds_[side], side, 2);
  }
  // White's time is usually both sides' time.
  connect(minutes_[0], &QSpinBox::valueChanged, minutes_[1], &QSpinBox::setValue);
  connect(seconds_[0], &QSpinBox::valueChanged, seconds_[1], &QSpinBox::setValue);
  moves_ = Spin(this, 0, MaxMovesPerControl, 0);
  time->addWidget(LangLabel(this, 241), 2, 0);  // "for"
  time->addWidget(moves_, 2, 1);
  time->addWidget(LangLabel(this, 242), 2, 2);  // "moves (0=all)"

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  BindButtonBox(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &EnginesTournamentDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(time);
  layout->addWidget(buttons);
  OnLanguageChange(this, [this] {
    stage_->setItemText(4, LangQ(LtAll));
    for (int side = 0; side < 2; ++side) {
      minutes_[side]->setSuffix(QLatin1Char(' ') + LangQ(312));  // "min"
      seconds_[side]->setSuffix(QLatin1Char(' ') + LangQ(61));   // "sec"
    }
    ShowSortitionCount();
  });
  resize(520, sizeHint().height());
}

bool EnginesTournamentDialog::SetSortitionDatabase(const QString& path) {
  TKestrelDB db;
  const TOpenResult r = OpenDatabase(path.toStdString(), db, true);
  if (!r.ok()) {
    QMessageBox::warning(this, windowTitle(), r.message.empty() ? LangQ(LtCannotOpenFile) + path : CoreTextQ(r.message));
    return false;
  }
  sortitionGames_ = db.RecordCount();
  try {
    CloseDatabase(db);
  } catch (...) {
  }
  sortition_ = path.toStdString();
  ShowSortitionCount();
  games_->setMaximum(std::max(sortitionGames_, 1));
  games_->setValue(std::max(sortitionGames_, 1));
  return true;
}

bool EnginesTournamentDialog::SetSaveDatabase(const QString& path) {
  TKestrelDB db;
  TOpenResult r;
  try {
    r = OpenOrCreateDatabase(path.toStdString(), db, [](std::string_view) { return true; });
  } catch (const std::exception& e) {
    r.message = e.what();
  }
  if (!r.ok()) {
    QMessageBox::warning(this, windowTitle(), r.message.empty() ? LangQ(LtCannotOpenFile) + path : CoreTextQ(r.message));
    return false;
  }
  try {
    CloseDatabase(db);
  } catch (...) {
  }
  save_ = path.toStdString();
  saveLabel_->setText(path);
  return true;
}

void EnginesTournamentDialog::ShowSortitionCount() {
  if (sortition_.empty()) return;
  sortitionLabel_->setText(QString::fromStdString(sortition_) + "\n" + QString::number(sortitionGames_) +
                           LangQ(LtPositionsSuffix));
}

void EnginesTournamentDialog::AddEngines(const QStringList& files) {
  for (const QString& f : files) engines_->addItem(f);
  if (!files.isEmpty()) total_->setValue(std::max(engines_->count(), 2));
}

TTournamentChoices EnginesTournamentDialog::Choices() const {
  TTournamentChoices c;
  c.sortition = sortition_;
  c.sortitionGames = sortitionGames_;
  c.save = save_;
  for (int i = 0; i < engines_->count(); ++i) c.engines.push_back(engines_->item(i)->text().toStdString());
  c.gamesForMatch = games_->value();
  c.totalFunctions = total_->value();
  c.bestInRound = best_->value();
  c.mutateStage = stage_->currentIndex();
  c.staticFlag = static_->isChecked();
  c.dynamicFlag = dynamic_->isChecked();
  c.namePrefix = prefix_->text().toStdString();
  c.runNext = runNext_->isChecked();
  c.time.moves = moves_->value();
  for (int side = 0; side < 2; ++side) {
    c.time.minutes[side] = minutes_[side]->value();
    c.time.seconds[side] = seconds_[side]->value();
  }
  return c;
}

void EnginesTournamentDialog::accept() {
  if (sortition_.empty() || save_.empty()) {
    QMessageBox::information(this, windowTitle(), LangQ(LtOpenDatabases));
    return;
  }
  QDialog::accept();
}

}  // namespace kestrel
