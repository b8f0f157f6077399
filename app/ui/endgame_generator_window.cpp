#include "app/ui/endgame_generator_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

#include "app/play/play_texts.h"
#include "app/ui/ui_language.h"
#include "engine/bitboard_movegen.h"
#include "engine/endgame/edb_tables.h"
#include "rules/game_types.h"

namespace kestrel {

namespace {

constexpr int MaxThreads = 16;
constexpr int MaxPieces = 10;
// The step line changes many times a second; the window shows a few of them.
constexpr auto StepInterval = std::chrono::milliseconds(150);

QString Number(uint64_t n) { return QLocale().toString(static_cast<qulonglong>(n)); }

QString Elapsed(double seconds) {
  const int s = static_cast<int>(seconds);
  if (s < 60) return QString::number(seconds, 'f', 1) + QStringLiteral(" s");
  return QStringLiteral("%1:%2:%3")
      .arg(s / 3600)
      .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

EndgameGeneratorWindow::EndgameGeneratorWindow(std::filesystem::path folder, int gametype, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName("EDBGenerator");
  BindLangTitle(this, 356);  // "Endgame databases generator"

  variant_ = new QComboBox(this);
  for (int t = 1; t <= GameTypeCount; ++t)
    if (HasBitBoardGenerator(t)) variant_->addItem(QString(), t);
  const int shown = variant_->findData(gametype);
  variant_->setCurrentIndex(shown >= 0 ? shown : 0);

  auto* which = new QGroupBox(this);
  BindLang(which, LtTables);
  full_ = new QRadioButton(which);
  BindLang(full_, LtAllTablesUpTo, QStringLiteral("&"));
  full_->setChecked(true);
  pieces_ = new QSpinBox(which);
  pieces_->setRange(2, MaxPieces);
  pieces_->setValue(4);
  split_ = new QRadioButton(which);
  BindLang(split_, LtOneSplit, QStringLiteral("&"));
  strong_ = new QSpinBox(which);
  weak_ = new QSpinBox(which);
  strong_->setValue(2);
  weak_->setValue(1);
  auto* fullLine = new QHBoxLayout;
  fullLine->addWidget(full_);
  fullLine->addWidget(pieces_);
  fullLine->addStretch();
  auto* splitLine = new QHBoxLayout;
  splitLine->addWidget(split_);
  splitLine->addWidget(strong_);
  splitLine->addWidget(LangLabel(which, LtPiecesAgainst));
  splitLine->addWidget(weak_);
  splitLine->addStretch();
  plan_ = new QLabel(which);
  auto* whichLayout = new QVBoxLayout(which);
  whichLayout->addLayout(fullLine);
  whichLayout->addLayout(splitLine);
  whichLayout->addWidget(plan_);

  threads_ = new QSpinBox(this);
  threads_->setRange(1, MaxThreads);
  threads_->setValue(std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, MaxThreads));
  ranged_ = new QCheckBox(this);
  BindLang(ranged_, LtDistancesMtw, QStringLiteral("&"));
  folder_ = new QLineEdit(QString::fromStdString(folder.string()), this);
  browse_ = new QPushButton(this);
  BindLang(browse_, 93);
  auto* folderLine = new QHBoxLayout;
  folderLine->addWidget(folder_, 1);
  folderLine->addWidget(browse_);

  auto* threadsLine = new QHBoxLayout;
  threadsLine->addWidget(threads_);
  threadsLine->addStretch();
  // Rows whose field is a layout need their label's buddy set by hand.
  auto* threadsLabel = new QLabel(this);
  BindLang(threadsLabel, LtThreads, QStringLiteral("&"));
  threadsLabel->setBuddy(threads_);
  auto* folderLabel = new QLabel(this);
  BindLang(folderLabel, 327, QStringLiteral("&"));  // "Folder:"
  folderLabel->setBuddy(folder_);
  auto* form = new QFormLayout;
  auto* variantLabel = new QLabel(this);
  BindLang(variantLabel, 5, QStringLiteral("&"), QStringLiteral(":"));  // "Type": of the game
  variantLabel->setBuddy(variant_);
  form->addRow(variantLabel, variant_);
  form->addRow(which);
  form->addRow(threadsLabel, threadsLine);
  form->addRow(ranged_);
  form->addRow(folderLabel, folderLine);

  generate_ = new QPushButton(this);
  BindLang(generate_, LtGenerate, QStringLiteral("&"));
  generate_->setDefault(true);
  cancel_ = new QPushButton(this);
  BindLang(cancel_, 84, QStringLiteral("&"));  // "Cancel"
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(generate_);
  buttons->addWidget(cancel_);

  bar_ = new QProgressBar(this);
  step_ = new QLabel(this);
  step_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  elapsed_ = new QLabel(this);
  auto* stepLine = new QHBoxLayout;
  stepLine->addWidget(step_, 1);
  stepLine->addWidget(elapsed_);
  log_ = new QPlainTextEdit(this);
  log_->setReadOnly(true);
  log_->setMaximumBlockCount(100000);
  log_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont fixed(QStringLiteral("Monospace"));
  fixed.setStyleHint(QFont::TypeWriter);
  log_->setFont(fixed);

  auto* statsBox = new QGroupBox(this);
  BindLang(statsBox, LtRunStatistics);
  auto* statsForm = new QFormLayout(statsBox);
  const int statsCaptions[statsLineCount] = {LtTablesColon, LtPositionsColon, LtLongestDistance, LtContradictions};
  for (int i = 0; i < statsLineCount; ++i) {
    statsLines_[i] = new QLabel(QStringLiteral("-"), statsBox);
    statsLines_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statsForm->addRow(LangLabel(statsBox, statsCaptions[i]), statsLines_[i]);
  }

  clock_ = new QTimer(this);
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this,
          [this] { elapsed_->setText(Elapsed(static_cast<double>(started_.elapsed()) / 1000)); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addWidget(bar_);
  layout->addLayout(stepLine);
  layout->addWidget(log_, 1);
  layout->addWidget(statsBox);
  resize(640, 720);

  connect(variant_, &QComboBox::currentIndexChanged, this, &EndgameGeneratorWindow::ShowPlan);
  for (QSpinBox* box : {pieces_, strong_, weak_}) connect(box, &QSpinBox::valueChanged, this, &EndgameGeneratorWindow::ShowPlan);
  connect(full_, &QRadioButton::toggled, this, &EndgameGeneratorWindow::ShowPlan);
  connect(ranged_, &QCheckBox::toggled, this, &EndgameGeneratorWindow::ShowPlan);
  connect(folder_, &QLineEdit::textChanged, this, &EndgameGeneratorWindow::EnableControls);
  connect(browse_, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getExistingDirectory(this, LangQ(319), folder_->text());
    if (!chosen.isEmpty()) folder_->setText(chosen);
  });
  connect(generate_, &QPushButton::clicked, this, &EndgameGeneratorWindow::Start);
  connect(cancel_, &QPushButton::clicked, this, &EndgameGeneratorWindow::Cancel);
  OnLanguageChange(this, [this] {
    for (int i = 0; i < variant_->count(); ++i)
      variant_->setItemText(i, ProgramTextQ(GameTypeTitle(variant_->itemData(i).toInt())));
    pieces_->setSuffix(LangQ(LtPiecesSuffix));
    bar_->setFormat(LangQ(LtTablesProgress));
    ShowPlan();
    if (resultShown_ && !Running()) ShowResult();
  });
}

EndgameGeneratorWindow::~EndgameGeneratorWindow() {
  // The run stops between steps; every table finished so far stays whole.
  cancelFlag_ = true;
  if (worker_.joinable()) worker_.join();
}

TEdbGenOptions EndgameGeneratorWindow::Options() const {
  TEdbGenOptions o;
  o.gametype = variant_->currentData().toInt();
  o.root = std::filesystem::path(folder_->text().trimmed().toStdString());
  if (full_->isChecked()) {
    o.fullPieces = pieces_->value();
  } else {
    o.splitStrong = strong_->value();
    o.splitWeak = weak_->value();
  }
  o.threads = threads_->value();
  o.mtw = ranged_->isChecked();
  return o;
}

void EndgameGeneratorWindow::ShowPlan() {
  const int type = variant_->currentData().toInt();
  if (IsValidGameType(type)) {
    // A side has at most as many men as the men tables hold.
    const int men = TEdbBoard(type).MaxMen();
    strong_->setRange(1, men);
    weak_->setRange(1, men);
  }
  const int tables = CountGenerationTables(Options());
  plan_->setText(tables > 0 ? LangQ(LtTablesPlanned).arg(tables)
                            : LangQ(LtNoTablesSplit));
  if (!Running()) {
    bar_->setRange(0, std::max(tables, 1));
    bar_->setValue(0);
  }
  EnableControls();
}

void EndgameGeneratorWindow::EnableControls() {
  const bool running = Running();
  for (QWidget* w : std::initializer_list<QWidget*>{variant_, full_, split_, threads_, ranged_, folder_, browse_})
    w->setEnabled(!running);
  pieces_->setEnabled(!running && full_->isChecked());
  strong_->setEnabled(!running && split_->isChecked());
  weak_->setEnabled(!running && split_->isChecked());
  generate_->setEnabled(!running && CountGenerationTables(Options()) > 0 && !folder_->text().trimmed().isEmpty());
  cancel_->setEnabled(running && !cancelFlag_);
}

void EndgameGeneratorWindow::Start() {
  if (Running()) return;
  TEdbGenOptions o = Options();
  const int planned = CountGenerationTables(o);
  if (planned == 0 || o.root.empty()) return;
  cancelFlag_ = false;
  stats_ = {};
  resultShown_ = false;
  log_->clear();
  for (QLabel* line : statsLines_) line->setText(QStringLiteral("-"));
  step_->setText(LangQ(LtStarting));
  started_.start();
  elapsed_->setText(Elapsed(0));
  clock_->start();
  bar_->setRange(0, planned);
  bar_->setValue(0);
  o.cancel = &cancelFlag_;
  // The callbacks run on the generator's thread: they only post to the window.
  o.log = [this](const std::string& line) {
    QMetaObject::invokeMethod(this, [this, text = QString::fromStdString(line)] { log_->appendPlainText(text); },
                              Qt::QueuedConnection);
  };
  auto lastStep = std::make_shared<std::chrono::steady_clock::time_point>();
  o.progress = [this, lastStep](const std::string& step) {
    const auto now = std::chrono::steady_clock::now();
    if (now - *lastStep < StepInterval) return;
    *lastStep = now;
    QMetaObject::invokeMethod(this, [this, text = QString::fromStdString(step)] { step_->setText(text); },
                              Qt::QueuedConnection);
  };
  o.tableDone = [this](int done, int total) {
    QMetaObject::invokeMethod(
        this,
        [this, done, total] {
          bar_->setMaximum(total);
          bar_->setValue(done);
        },
        Qt::QueuedConnection);
  };
  worker_ = std::thread([this, o] {
    TEdbGenStats stats;
    try {
      stats = GenerateEndgameTables(o);
    } catch (const std::exception& e) {
      stats.ok = false;
      stats.error = e.what();
    }
    QMetaObject::invokeMethod(this, [this, stats, root = o.root] { Finished(stats, root); }, Qt::QueuedConnection);
  });
  EnableControls();
}

void EndgameGeneratorWindow::Cancel() {
  if (!Running()) return;
  cancelFlag_ = true;
  step_->setText(LangQ(LtStopping));
  EnableControls();
}

void EndgameGeneratorWindow::Finished(const TEdbGenStats& stats, const std::filesystem::path& folder) {
  if (worker_.joinable()) worker_.join();
  stats_ = stats;
  resultShown_ = true;
  const QString verdict = ShowResult();
  clock_->stop();
  elapsed_->setText(Elapsed(stats.seconds));
  EnableControls();
  if (stats.tablesSolved > 0 && onTablesWritten) onTablesWritten(folder);
  if (!stats.ok) {
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), verdict, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  }
}

QString EndgameGeneratorWindow::ShowResult() {
  const TEdbGenStats& stats = stats_;
  QString verdict;
  if (!stats.ok)
    verdict = LangQ(LtStoppedByError).arg(QString::fromStdString(stats.error));
  else if (stats.cancelled)
    verdict = LangQ(LtCancelledRunAgain);
  else
    verdict = LangQ(45);  // "Done"
  step_->setText(verdict);
  statsLines_[statsTables]->setText(LangQ(LtSolvedPresent).arg(stats.tablesSolved).arg(stats.tablesSkipped));
  statsLines_[statsPositions]->setText(LangQ(LtCountIn).arg(Number(stats.positions), Elapsed(stats.seconds)));
  statsLines_[statsDistance]->setText(Options().mtw && stats.maxDistance > 0
                                          ? LangQ(LtPliesBeyond)
                                                .arg(stats.maxDistance)
                                                .arg(QString::fromStdString(stats.maxPosition))
                                                .arg(Number(stats.runout))
                                          : QStringLiteral("-"));
  statsLines_[statsWrong]->setText(LangQ(LtContradictingPositions).arg(Number(stats.wrong)));
  return verdict;
}

}  // namespace kestrel
