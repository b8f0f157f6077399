#include "app/ui/select_colors_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>

#include "app/settings/kestrel_app.h"
#include "app/ui/board_panel.h"
#include "app/ui/ui_language.h"

namespace kestrel {
namespace {

// The defaults of the settings file.
constexpr uint32_t DefaultLight = 0x00F0F0E3;
constexpr uint32_t DefaultDark = 0x00808040;
constexpr std::array<uint32_t, 4> DefaultPanel = {0, 0, 0x00008000, 0x00606060};

// "Main line", "Second line", "Third line", "Comments".
constexpr int PanelTitleEntries[4] = {172, 173, 174, 175};

uint32_t* PanelColor(Settings& s, int which) {
  switch (which) {
    case 0: return &s.GameColorMainLine;
    case 1: return &s.GameColorSecondLine;
    case 2: return &s.GameColorThirdLine;
    default: return &s.GameColorComment;
  }
}

std::string* FigureFileSetting(Settings& s, FigureKind kind) {
  switch (kind) {
    case FigureKind::WhiteMan: return &s.FigWSName;
    case FigureKind::BlackMan: return &s.FigBSName;
    case FigureKind::WhiteKing: return &s.FigWKName;
    default: return &s.FigBKName;
  }
}

QIcon Swatch(const QColor& color) {
  QPixmap pixmap(40, 18);
  pixmap.fill(color);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.drawRect(0, 0, 39, 17);
  return QIcon(pixmap);
}

// The built-in "Cyan Night" look: dark panels with cyan accents.
QPalette CyanNightPalette() {
  QPalette p;
  const QColor base(18, 38, 44), window(26, 52, 60), text(206, 240, 242), accent(0, 170, 190);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, accent);
  p.setColor(QPalette::HighlightedText, Qt::black);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Link, accent);
  return p;
}

}  // namespace

SelectColorsDialog::SelectColorsDialog(BoardPanel& board, QWidget* parent) : QDialog(parent), board_(board) {
  BindLangTitle(this, 158);
  chooseColor_ = [this](const QColor& current, const QString& title) -> std::optional<QColor> {
    const QColor c = QColorDialog::getColor(current, this, title);
    if (!c.isValid()) return std::nullopt;
    return c;
  };
  choosePicture_ = [this](const QString& start) {
    return QFileDialog::getOpenFileName(this, LangQ(313), start, QStringLiteral("BMP (*.BMP *.bmp)"));
  };

  auto* boardBox = new QGroupBox(this);
  BindLang(boardBox, 18);
  auto* boardGrid = new QGridLayout(boardBox);
  dark_ = new QPushButton(boardBox);
  BindLang(dark_, 162);
  light_ = new QPushButton(boardBox);
  BindLang(light_, 163);
  boardGrid->addWidget(dark_, 0, 0);
  boardGrid->addWidget(light_, 0, 1);
  connect(dark_, &QPushButton::clicked, this, [this] { ChooseBoardColor(true); });
  connect(light_, &QPushButton::clicked, this, [this] { ChooseBoardColor(false); });

  auto* panelBox = new QGroupBox(this);
  BindLang(panelBox, 171);
  auto* panelGrid = new QGridLayout(panelBox);
  for (int i = 0; i < 4; ++i) {
    panel_[i] = new QPushButton(panelBox);
    BindLang(panel_[i], PanelTitleEntries[i]);
    panelGrid->addWidget(panel_[i], i / 2, i % 2);
    connect(panel_[i], &QPushButton::clicked, this, [this, i] { ChoosePanelColor(i); });
  }

  auto* figureBox = new QGroupBox(this);
  BindLang(figureBox, 313);
  auto* figureGrid = new QGridLayout(figureBox);
  for (int k = 0; k < FigureKindCount; ++k) {
    figure_[k] = new QPushButton(figureBox);
    figure_[k]->setIconSize(QSize(FigureSize, FigureSize));
    BindLangTip(figure_[k], LtWhiteMan + k);  // "White man", "Black man", "White king", "Black king"
    figureGrid->addWidget(figure_[k], 0, k);
    connect(figure_[k], &QPushButton::clicked, this, [this, k] { ChooseFigure(static_cast<FigureKind>(k)); });
  }
  auto* styleLabel = LangLabel(figureBox, 247);
  style_ = new QComboBox(figureBox);
  figureGrid->addWidget(styleLabel, 1, 0);
  figureGrid->addWidget(style_, 1, 1, 1, 3);
  connect(style_, &QComboBox::textActivated, this, &SelectColorsDialog::ChooseStyle);

  default_ = new QPushButton(this);
  BindLang(default_, 164);
  connect(default_, &QPushButton::clicked, this, &SelectColorsDialog::RestoreDefaults);
  cyanNight_ = new QCheckBox(QStringLiteral("Cyan Night"), this);  // a scheme's name
  connect(cyanNight_, &QCheckBox::toggled, this, &SelectColorsDialog::SetCyanNight);
  messageLabel_ = new QLabel(this);
  messageLabel_->setWordWrap(true);
  messageLabel_->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  if (QAbstractButton* close = buttons->button(QDialogButtonBox::Close)) BindLang(close, 225);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(default_);
  bottom->addWidget(cyanNight_);
  bottom->addStretch();
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(boardBox);
  layout->addWidget(panelBox);
  layout->addWidget(figureBox);
  layout->addWidget(messageLabel_);
  layout->addLayout(bottom);
  Refresh();
}

QString SelectColorsDialog::PicsFolder() const {
  return QString::fromStdString((board_.app().programFolder() / "Pics").string());
}

QString SelectColorsDialog::currentStyle() const { return style_->currentText(); }

QStringList SelectColorsDialog::styleNames() const {
  QStringList names;
  for (int i = 0; i < style_->count(); ++i) names << style_->itemText(i);
  return names;
}

void SelectColorsDialog::Refresh() {
  style_->clear();
  style_->addItems(FigureStyleNames(PicsFolder()));
  // The set the white man comes from, when it is one of the listed sets.
  const QFileInfo current(QString::fromStdString(board_.app().settings().FigWSName));
  const bool inPics = QDir::cleanPath(current.dir().absolutePath() + QStringLiteral("/..")) ==
                      QDir::cleanPath(QDir(PicsFolder()).absolutePath());
  style_->setCurrentIndex(inPics ? style_->findText(current.dir().dirName()) : -1);
  ShowColors();
}

void SelectColorsDialog::ShowColors() {
  Settings& s = board_.app().settings();
  dark_->setIcon(Swatch(ColorFromSetting(s.BoardDarkSquares)));
  light_->setIcon(Swatch(ColorFromSetting(s.BoardLightSquares)));
  for (int i = 0; i < 4; ++i) panel_[i]->setIcon(Swatch(ColorFromSetting(*PanelColor(s, i))));
  const QColor under = ColorFromSetting(s.BoardDarkSquares);
  for (int k = 0; k < FigureKindCount; ++k) {
    QPixmap tile(FigureSize, FigureSize);
    tile.fill(under);
    QPainter p(&tile);
    const QImage& picture = board_.view().figures().Picture(static_cast<FigureKind>(k));
    p.drawImage(QRect(0, 0, FigureSize, FigureSize), picture);
    p.end();
    figure_[k]->setIcon(QIcon(tile));
  }
}

void SelectColorsDialog::ShowMessages(QStringList messages) {
  messages_ = std::move(messages);
  messageLabel_->setText(messages_.join(QLatin1Char('\n')));
  messageLabel_->setVisible(!messages_.isEmpty());
  for (const QString& m : messages_) board_.app().log().Write(m.toStdString());
}

void SelectColorsDialog::ApplyBoardColors() {
  const Settings& s = board_.app().settings();
  BoardColors colors = board_.view().colors();
  colors.dark = ColorFromSetting(s.BoardDarkSquares);
  colors.light = ColorFromSetting(s.BoardLightSquares);
  board_.view().SetColors(colors);
  ShowColors();
}

void SelectColorsDialog::ChooseBoardColor(bool dark) {
  Settings& s = board_.app().settings();
  uint32_t& value = dark ? s.BoardDarkSquares : s.BoardLightSquares;
  const std::optional<QColor> chosen =
      chooseColor_(ColorFromSetting(value), LangQ(dark ? 162 : 163));
  if (!chosen) return;
  value = SettingFromColor(*chosen);
  ApplyBoardColors();
}

void SelectColorsDialog::ChoosePanelColor(int which) {
  if (which < 0 || which > 3) return;
  uint32_t* value = PanelColor(board_.app().settings(), which);
  const std::optional<QColor> chosen = chooseColor_(ColorFromSetting(*value), LangQ(PanelTitleEntries[which]));
  if (!chosen) return;
  *value = SettingFromColor(*chosen);
  ShowColors();
  emit gamePanelColorsChanged();
}

void SelectColorsDialog::ChooseFigure(FigureKind kind) {
  const QString file = choosePicture_(PicsFolder());
  if (file.isEmpty()) return;
  // The file becomes the figure's only when it could be read.
  QStringList messages = board_.view().figures().Load(kind, file);
  if (messages.isEmpty()) *FigureFileSetting(board_.app().settings(), kind) = file.toStdString();
  ShowMessages(std::move(messages));
  board_.view().Redraw();
  ShowColors();
}

void SelectColorsDialog::ChooseStyle(const QString& style) {
  if (style.isEmpty()) return;
  Settings& s = board_.app().settings();
  const FigureFiles files = FigureFilesOfStyle(PicsFolder(), style);
  // Start from whole built-in pictures, so that a file missing from the set
  // does not leave a figure of the previous set in its place.
  FigureSet& figures = board_.view().figures();
  figures.UseBuiltin(IsBuiltinFigureStyle(style) ? style : QString::fromLatin1(DefaultFigureStyle));
  ShowMessages(figures.Load(files));
  for (int k = 0; k < FigureKindCount; ++k)
    *FigureFileSetting(s, static_cast<FigureKind>(k)) = files[k].toStdString();
  board_.view().Redraw();
  ShowColors();
}

void SelectColorsDialog::RestoreDefaults() {
  Settings& s = board_.app().settings();
  s.BoardLightSquares = DefaultLight;
  s.BoardDarkSquares = DefaultDark;
  for (int i = 0; i < 4; ++i) *PanelColor(s, i) = DefaultPanel[i];
  const FigureFiles files = FigureFilesOfStyle(PicsFolder(), QString::fromLatin1(DefaultFigureStyle));
  for (int k = 0; k < FigureKindCount; ++k)
    *FigureFileSetting(s, static_cast<FigureKind>(k)) = files[k].toStdString();
  // Missing default files leave the built-in pictures, at once.
  FigureSet& figures = board_.view().figures();
  figures.UseBuiltin(QString::fromLatin1(DefaultFigureStyle));
  ShowMessages(figures.Load(files));
  ApplyBoardColors();
  emit gamePanelColorsChanged();
}

void SelectColorsDialog::SetCyanNight(bool on) {
  if (cyanNight_->isChecked() != on) {
    cyanNight_->setChecked(on);  // comes back here through the signal
    return;
  }
  if (on) {
    plainStyle_ = QApplication::style()->name();
    plainPalette_ = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(CyanNightPalette());
  } else if (!plainStyle_.isEmpty()) {
    QApplication::setStyle(QStyleFactory::create(plainStyle_));
    QApplication::setPalette(plainPalette_);
  }
}

}  // namespace kestrel
