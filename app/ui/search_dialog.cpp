#include "app/ui/search_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/game_info_dialog.h"
#include "app/ui/qt_text.h"
#include "app/ui/pattern_board_widget.h"
#include "app/play/play_texts.h"
#include "app/ui/ui_language.h"
#include "database/list_texts.h"
#include "rules/game_types.h"

namespace kestrel {
namespace {

// "W Men", "B Men", "W Kings", "B Kings", "Total", in the order of the material rows.
constexpr int MaterialEntries[MaterialRows] = {261, 262, 263, 264, LtTotal};


QSpinBox* Spin(QWidget* parent, int lo, int hi, int width = 58) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  s->setFixedWidth(width);
  return s;
}


}  // namespace

SearchDialog::SearchDialog(QWidget* parent) : QDialog(parent) {
  BindLangTitle(this, 106);  // "New search"

  // Header criteria.
  auto* header = new QGridLayout;
  // "White", "Black", "Tournament", "Site", "Annotator"
  const int captionEntries[5] = {57, 58, 76, 78, 79};
  for (int i = 0; i < 5; ++i) {
    names_[i] = new QComboBox(this);
    names_[i]->setEditable(true);
    names_[i]->setInsertPolicy(QComboBox::NoInsert);
    names_[i]->setMinimumWidth(220);
    header->addWidget(LangLabel(this, captionEntries[i]), i, 0);
    header->addWidget(names_[i], i, 1);
  }
  ignoreColors_ = new QCheckBox(this);
  BindLang(ignoreColors_, 124);  // "Ignore colors"
  header->addWidget(ignoreColors_, 0, 2, 1, 2);
  auto* resultBox = new QGroupBox(this);
  BindLang(resultBox, 80);  // "Result"
  auto* resultRow = new QHBoxLayout(resultBox);
  for (int r = 0; r < 6; ++r) {
    results_[r] = new QCheckBox(QString::fromLatin1(ResultText(static_cast<uint8_t>(r), 0).data()), resultBox);
    resultRow->addWidget(results_[r]);
  }
  header->addWidget(resultBox, 1, 2, 2, 2);
  yearFrom_ = Spin(this, 0, 2100);
  yearTo_ = Spin(this, 0, 2100);
  lengthFrom_ = Spin(this, 0, 255);
  lengthTo_ = Spin(this, 0, 255);
  auto* ranges = new QGridLayout;
  ranges->addWidget(LangLabel(this, LtYears), 0, 0);
  ranges->addWidget(yearFrom_, 0, 1);
  ranges->addWidget(new QLabel(QStringLiteral("-"), this), 0, 2);
  ranges->addWidget(yearTo_, 0, 3);
  ranges->addWidget(LangLabel(this, 125), 1, 0);
  ranges->addWidget(lengthFrom_, 1, 1);
  ranges->addWidget(new QLabel(QStringLiteral("-"), this), 1, 2);
  ranges->addWidget(lengthTo_, 1, 3);
  ranges->setColumnStretch(4, 1);
  header->addLayout(ranges, 3, 2, 2, 2);

  const auto check = [](QWidget* parent, int entry) {
    auto* box = new QCheckBox(parent);
    BindLang(box, entry);
    return box;
  };
  deleted_ = check(this, 165);      // "Deleted"
  comments_ = check(this, 126);     // "Comments"
  variations_ = check(this, 127);   // "Variations"
  uncommented_ = check(this, 265);  // "Uncommented"
  typeBox_ = check(this, 5);        // "Type": of the game
  type_ = new QComboBox(this);
  type_->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // the items follow the language
  for (int t = 1; t <= GameTypeCount; ++t) type_->addItem(QString());
  OnLanguageChange(this, [this] {
    for (int t = 1; t <= GameTypeCount; ++t) type_->setItemText(t - 1, ProgramTextQ(GameTypeTitle(t)));
  });
  position_ = check(this, 128);  // "Position"
  auto* switches = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{deleted_, comments_, variations_, uncommented_, typeBox_, type_})
    switches->addWidget(w);
  switches->addStretch();
  switches->addWidget(position_);
  connect(comments_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) uncommented_->setChecked(false);
  });
  connect(variations_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) uncommented_->setChecked(false);
  });
  connect(uncommented_, &QCheckBox::toggled, this, [this](bool on) {
    if (!on) return;
    comments_->setChecked(false);
    variations_->setChecked(false);
  });

  // The position part.
  positionPart_ = new QWidget(this);
  board_ = new PatternBoardWidget(positionPart_);
  auto* kindRow = new QHBoxLayout;
  auto* kindGroup = new QButtonGroup(this);
  for (int k = 0; k < 6; ++k) {
    kinds_[k] = new QRadioButton(QString::fromLatin1(PatternBoardCaptions[k].data()), positionPart_);
    kindGroup->addButton(kinds_[k], k);
    kindRow->addWidget(kinds_[k]);
  }
  connect(kindGroup, &QButtonGroup::idClicked, this,
          [this](int k) { SetBoardKind(static_cast<TPatternBoardKind>(k)); });
  auto* buttonRow = new QHBoxLayout;
  auto addButton = [&](int caption, auto action) {
    auto* b = new QPushButton(positionPart_);
    BindLang(b, caption);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, action);
    buttonRow->addWidget(b);
  };
  addButton(51, [this] {  // "Clear"
    TPatternState s = board_->State();
    ClearPattern(s);
    board_->SetState(s);
  });
  addButton(LtCleanPattern, [this] {
    TPatternState s = board_->State();
    CleanPattern(s);
    board_->SetState(s);
  });
  addButton(113, [this] {  // "Copy"
    TPatternState s = board_->State();
    SetPatternPosition(s, mainBoard_);
    board_->SetState(s);
    comb_->setChecked(false);
  });
  addButton(131, [this] {  // "Start"
    TPatternState s = board_->State();
    SetPatternPosition(s, PatternStartPosition(board_->Kind()));
    board_->SetState(s);
    comb_->setChecked(false);
  });
  auto* boardColumn = new QVBoxLayout;
  boardColumn->addWidget(board_);
  boardColumn->addLayout(kindRow);
  boardColumn->addLayout(buttonRow);
  boardColumn->addStretch();

  whiteMoves_ = check(positionPart_, 129);   // "White moves"
  blackMoves_ = check(positionPart_, 130);   // "Black moves"
  reversed_ = check(positionPart_, 132);     // "Reversed"
  onlyInitial_ = check(positionPart_, 257);  // "Only initial position"
  auto* materialBox = new QGroupBox(positionPart_);
  BindLang(materialBox, 260);  // "Material"
  auto* materialGrid = new QGridLayout(materialBox);
  for (int r = 0; r < MaterialRows; ++r) {
    material_[r] = new QCheckBox(materialBox);
    BindLang(material_[r], MaterialEntries[r], {}, r < mrTotal ? QStringLiteral(":") : QString());
    materialMin_[r] = Spin(materialBox, 0, 99, 50);
    materialMax_[r] = Spin(materialBox, 0, 99, 50);
    materialGrid->addWidget(material_[r], r, 0);
    materialGrid->addWidget(materialMin_[r], r, 1);
    materialGrid->addWidget(materialMax_[r], r, 2);
  }
  comb_ = check(positionPart_, 258);  // "Combination:"
  combLabel_ = LangLabel(positionPart_, 259);  // "draughts>="
  combCount_ = Spin(positionPart_, 1, 99, 50);
  connect(comb_, &QCheckBox::toggled, this, &SearchDialog::SetCombinationOn);
  auto* combRow = new QHBoxLayout;
  combRow->addWidget(comb_);
  combRow->addWidget(combLabel_);
  combRow->addWidget(combCount_);
  combRow->addStretch();
  auto* optionColumn = new QVBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{whiteMoves_, blackMoves_, reversed_, onlyInitial_, materialBox})
    optionColumn->addWidget(w);
  optionColumn->addLayout(combRow);
  optionColumn->addStretch();
  auto* partLayout = new QHBoxLayout(positionPart_);
  partLayout->setContentsMargins(0, 0, 0, 0);
  partLayout->addLayout(boardColumn);
  partLayout->addLayout(optionColumn);
  connect(position_, &QCheckBox::toggled, this, &SearchDialog::ShowPositionPart);

  auto* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // grows and shrinks with the position part
  layout->addLayout(header);
  layout->addLayout(switches);
  layout->addWidget(positionPart_);
  layout->addWidget(buttons);
  SetValues(TSearchDialogValues{});
}

void SearchDialog::SetNameLists(std::vector<std::string> players, std::vector<std::string> tournaments,
                                std::vector<std::string> sites) {
  FillNameBox(names_[0], players);
  FillNameBox(names_[1], players);
  FillNameBox(names_[2], tournaments);
  FillNameBox(names_[3], sites);
  FillNameBox(names_[4], players);
}

void SearchDialog::SetValues(const TSearchDialogValues& v) {
  const std::array<const std::string*, 5> texts{&v.white, &v.black, &v.tournament, &v.site, &v.annotator};
  for (int i = 0; i < 5; ++i) names_[i]->setCurrentText(StoredToQt(*texts[i]));
  ignoreColors_->setChecked(v.ignoreColors);
  for (int r = 0; r < 6; ++r) results_[r]->setChecked(v.results[r]);
  yearFrom_->setValue(v.yearFrom);
  yearTo_->setValue(v.yearTo);
  lengthFrom_->setValue(v.lengthFrom);
  lengthTo_->setValue(v.lengthTo);
  deleted_->setChecked(v.deleted);
  comments_->setChecked(v.comments);
  variations_->setChecked(v.variations);
  uncommented_->setChecked(v.uncommented);
  typeBox_->setChecked(v.typeChecked);
  type_->setCurrentIndex(std::clamp(v.type, 1, GameTypeCount) - 1);
  SetBoardKind(v.board);
  kinds_[static_cast<int>(v.board)]->setChecked(true);
  whiteMoves_->setChecked(v.whiteMoves);
  blackMoves_->setChecked(v.blackMoves);
  reversed_->setChecked(v.reversed);
  onlyInitial_->setChecked(v.onlyInitial);
  for (int r = 0; r < MaterialRows; ++r) {
    material_[r]->setChecked(v.material[r]);
    materialMin_[r]->setValue(v.materialMin[r]);
    materialMax_[r]->setValue(v.materialMax[r]);
  }
  combCount_->setValue(v.combCount);
  {
    const QSignalBlocker block(comb_);  // the pattern as given, not cleaned
    comb_->setChecked(v.pattern.comb);
  }
  board_->SetState(v.pattern);
  position_->setChecked(v.position);
  ShowPositionPart(v.position);
}

TSearchDialogValues SearchDialog::Values() const {
  TSearchDialogValues v;
  v.white = QtToStored(names_[0]->currentText());
  v.black = QtToStored(names_[1]->currentText());
  v.tournament = QtToStored(names_[2]->currentText());
  v.site = QtToStored(names_[3]->currentText());
  v.annotator = QtToStored(names_[4]->currentText());
  v.ignoreColors = ignoreColors_->isChecked();
  for (int r = 0; r < 6; ++r) v.results[r] = results_[r]->isChecked();
  v.yearFrom = yearFrom_->value();
  v.yearTo = yearTo_->value();
  v.lengthFrom = lengthFrom_->value();
  v.lengthTo = lengthTo_->value();
  v.deleted = deleted_->isChecked();
  v.comments = comments_->isChecked();
  v.variations = variations_->isChecked();
  v.uncommented = uncommented_->isChecked();
  v.typeChecked = typeBox_->isChecked();
  v.type = type_->currentIndex() + 1;
  v.position = position_->isChecked();
  v.board = board_->Kind();
  v.pattern = board_->State();
  v.whiteMoves = whiteMoves_->isChecked();
  v.blackMoves = blackMoves_->isChecked();
  v.reversed = reversed_->isChecked();
  v.onlyInitial = onlyInitial_->isChecked();
  for (int r = 0; r < MaterialRows; ++r) {
    v.material[r] = material_[r]->isChecked();
    v.materialMin[r] = materialMin_[r]->value();
    v.materialMax[r] = materialMax_[r]->value();
  }
  v.combCount = combCount_->value();
  return v;
}

void SearchDialog::showEvent(QShowEvent* event) {
  position_->setChecked(false);
  ShowPositionPart(false);
  QDialog::showEvent(event);
}

void SearchDialog::ShowPositionPart(bool on) {
  positionPart_->setVisible(on);
  // Closed, "Combination:" is cleared and disabled with its label and count.
  if (!on) comb_->setChecked(false);
  comb_->setEnabled(on);
  combLabel_->setEnabled(on);
  combCount_->setEnabled(on);
}

void SearchDialog::SetBoardKind(TPatternBoardKind kind) {
  board_->SetKind(kind);
  // English boards call side 0 "Black".
  const bool english = kind == TPatternBoardKind::b64en;
  BindLang(whiteMoves_, english ? 130 : 129);  // "Black moves" : "White moves"
  BindLang(blackMoves_, english ? 129 : 130);
}

void SearchDialog::SetCombinationOn(bool on) {
  TPatternState s = board_->State();
  SetCombination(s, on);
  board_->SetState(s);
}

}  // namespace kestrel
