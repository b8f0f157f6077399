#include "app/ui/game_panel.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "app/ui/qt_text.h"
#include "app/ui/board_renderer.h"
#include "app/ui/ui_language.h"

namespace kestrel {

namespace {

constexpr int BarWidth = 16;


}  // namespace

GamePanel::GamePanel(QWidget* parent)
    : QWidget(parent), font_(QStringLiteral("Palatino Linotype"), 13), bar_(new QScrollBar(Qt::Vertical, this)),
      menu_(new QMenu(this)) {
  setAutoFillBackground(false);
  SetColors(0, 0, 0x00008000, 0x00606060);
  bar_->setFocusPolicy(Qt::NoFocus);
  bar_->hide();
  connect(bar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (syncing_) return;
    view_.SetBarPosition(value);
    update();
  });
  BuildMenu();
}

GamePanel::~GamePanel() = default;

void GamePanel::SetColors(uint32_t mainLine, uint32_t secondLine, uint32_t thirdLine, uint32_t comment) {
  lineColors_ = {ColorFromSetting(mainLine), ColorFromSetting(secondLine), ColorFromSetting(thirdLine),
                 ColorFromSetting(comment)};
  update();
}

void GamePanel::SetGameFont(const QFont& font) {
  font_ = font;
  Relayout();
}

void GamePanel::SetLayoutOptions(const TTreeLayoutOptions& options) {
  options_ = options;
  Relayout();
}

void GamePanel::BuildGameTree(const TGame& game) {
  game_ = game;
  Relayout();
}

void GamePanel::Relayout() {
  if (!game_) return;
  currentSlot_ = game_->CurMovPos;
  TTreeLayoutOptions options = options_;
  options.width = width();
  view_.Build(*game_, [this](std::string_view t, TTreeStyle s) { return TextWidth(t, s); }, options, height(),
              LineHeight());
  SyncBar();
  update();
}

void GamePanel::ShowCurrentMove(int slot) {
  currentSlot_ = slot;
  if (game_) game_->CurMovPos = slot;
  view_.ShowSlot(slot);
  SyncBar();
  update();
}

void GamePanel::SyncBar() {
  const TTreeScroll& s = view_.Scroll();
  syncing_ = true;
  bar_->setGeometry(width() - BarWidth, TreeHeaderHeight + 1, BarWidth, std::max(0, height() - TreeHeaderHeight - 1));
  bar_->setRange(0, std::max(0, s.maxShowLine));
  bar_->setPageStep(std::max(1, s.visibleLines));
  bar_->setSingleStep(1);
  bar_->setValue(view_.FirstLine());
  bar_->setVisible(s.barShown);
  syncing_ = false;
}

QFont GamePanel::FontFor(TTreeStyle style) const {
  QFont f = font_;
  switch (style) {
    case TTreeStyle::mainLine:
      f.setBold(true);
      break;
    case TTreeStyle::thirdLine:
    case TTreeStyle::headerEvent:
      f.setItalic(true);
      break;
    case TTreeStyle::headerGameNum:
      f.setPointSize(std::max(1, font_.pointSize() - 1));
      break;
    case TTreeStyle::headerNames:
      f.setPointSize(font_.pointSize() + 2);
      f.setBold(true);
      break;
    default:
      break;
  }
  return f;
}

QColor GamePanel::ColorFor(TTreeColor color) const {
  switch (color) {
    case TTreeColor::mainLine: return lineColors_[0];
    case TTreeColor::secondLine: return lineColors_[1];
    case TTreeColor::thirdLine: return lineColors_[2];
    case TTreeColor::comment: return lineColors_[3];
    case TTreeColor::highlightText: return palette().color(QPalette::HighlightedText);
    case TTreeColor::currentMove: return QColor(128, 128, 128);
    case TTreeColor::buttonFace: return palette().color(QPalette::Button);
    case TTreeColor::windowText: return palette().color(QPalette::WindowText);
    case TTreeColor::selectedGame: return QColor(255, 0, 0);
  }
  return palette().color(QPalette::WindowText);
}

int GamePanel::TextWidth(std::string_view text, TTreeStyle style) const {
  return QFontMetrics(FontFor(style)).horizontalAdvance(StoredToQt(text));
}

int GamePanel::LineHeight() const { return QFontMetrics(font_).height() + 2; }

void GamePanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorFor(TTreeColor::buttonFace));
  for (const THeaderLine& line : view_.HeaderLines()) {
    QFont f = FontFor(line.font);
    f.setStrikeOut(line.strikeOut);
    p.setFont(f);
    p.setPen(ColorFor(line.color));
    p.drawText(line.x, line.y + QFontMetrics(f).ascent(), StoredToQt(line.Text));
  }
  // The text area: below the header, inside the margins and left of the bar.
  const int right = bar_->isVisible() ? width() - BarWidth : width() - 1;
  p.setClipRect(QRect(QPoint(TreeLeftMargin, TreeHeaderHeight), QPoint(right - 1, height() - 2)));
  const int lineHeight = LineHeight();
  for (const TTreeItem& item : view_.VisibleItems()) {
    const TItemLook look = ItemLook(view_.Layout(), item, currentSlot_);
    QFont f = FontFor(look.font);
    f.setUnderline(look.underline);
    f.setStrikeOut(look.strikeOut);
    const QString text = StoredToQt(item.Text);
    const QFontMetrics metrics(f);
    const QRect box(TGameTreeView::ItemLeft(item), view_.ItemTop(item), metrics.horizontalAdvance(text), lineHeight);
    if (look.background != TTreeColor::buttonFace) p.fillRect(box, ColorFor(look.background));
    p.setFont(f);
    p.setPen(ColorFor(look.text));
    p.drawText(box.left(), box.top() + 1 + metrics.ascent(), text);
  }
}

void GamePanel::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool right = event->button() == Qt::RightButton;
  const TTreeClick click = view_.Click(at.x(), at.y(), right);
  switch (click.action) {
    case TTreeClickAction::goToMove:
    case TTreeClickAction::goToMoveAndMenu:
      emit moveClicked(click.slot, right, event->globalPosition().toPoint());
      break;
    case TTreeClickAction::headerDialog:
      emit headerDialogRequested();
      break;
    case TTreeClickAction::none:
      break;
  }
  event->accept();
}

void GamePanel::resizeEvent(QResizeEvent*) {
  if (game_) {
    Relayout();
  } else {
    view_.Resize(height());
    SyncBar();
  }
}

void GamePanel::wheelEvent(QWheelEvent* event) {
  // Stepping through the game is the main window's; the panel lets it through.
  event->ignore();
}

std::optional<QPoint> GamePanel::SlotCentre(int slot) const {
  for (const TTreeItem& item : view_.VisibleItems()) {
    if (item.moverel != slot) continue;
    const int x = TGameTreeView::ItemLeft(item) + (item.posend - item.posstart) / 2;
    return QPoint(x, view_.ItemTop(item) + LineHeight() / 2);
  }
  return std::nullopt;
}

void GamePanel::PopupMenu(const QPoint& globalPos) { menu_->popup(globalPos); }

void GamePanel::BuildMenu() {
  auto command = [this](QMenu* menu, const QString& text, TPanelCommandKind kind, int code = 0) {
    QAction* a = menu->addAction(text);
    a->setData(QStringLiteral("%1:%2").arg(static_cast<int>(kind)).arg(code));
    connect(a, &QAction::triggered, this, [this, kind, code] { emit commandChosen(TPanelCommand{kind, code}); });
    return a;
  };
  QMenu* moveMarks = menu_->addMenu(QString());
  BindLang(moveMarks, 310);
  for (int i = 0; i < static_cast<int>(MoveMarkTexts.size()); ++i)
    command(moveMarks, StoredToQt(MoveMarkTexts[i]), TPanelCommandKind::moveMark, i);
  QMenu* positionMarks = menu_->addMenu(QString());
  BindLang(positionMarks, 311);
  for (int i = 0; i < static_cast<int>(PositionMarkTexts.size()); ++i)
    command(positionMarks, StoredToQt(PositionMarkTexts[i]), TPanelCommandKind::positionMark, i);
  menu_->addSeparator();
  QAction* comment = menu_->addAction(QString());
  BindLang(comment, 69);
  comment->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  connect(comment, &QAction::triggered, this, &GamePanel::commentRequested);
  QAction* diagram = menu_->addAction(QString());
  BindLang(diagram, 159);
  connect(diagram, &QAction::triggered, this, &GamePanel::diagramRequested);
  BindLang(command(menu_, {}, TPanelCommandKind::markViewingStart), 271);
  menu_->addSeparator();
  BindLang(command(menu_, {}, TPanelCommandKind::showInExtraShort), 268);
  BindLang(command(menu_, {}, TPanelCommandKind::hideInExtraShort), 269);
  menu_->addSeparator();
  BindLang(command(menu_, {}, TPanelCommandKind::deleteLine), 71);
  BindLang(command(menu_, {}, TPanelCommandKind::promoteLine), 72);
  BindLang(command(menu_, {}, TPanelCommandKind::removeComments), 246);
  BindLang(command(menu_, {}, TPanelCommandKind::removeVariations), 276);
}

}  // namespace kestrel
