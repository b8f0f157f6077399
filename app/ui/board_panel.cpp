#include "app/ui/board_panel.h"

#include <QMenu>
#include <QResizeEvent>

#include "app/panels/book_grid.h"
#include "app/settings/kestrel_app.h"
#include "app/ui/select_colors_dialog.h"
#include "app/ui/ui_language.h"
#include "rules/current_game_type.h"
#include "rules/game_types.h"

namespace kestrel {

BoardPanel::BoardPanel(KestrelApp& app, QWidget* parent) : QWidget(parent), app_(app), view_(new BoardView(this)) {
  view_->move(0, 0);
  small_ = new QAction(this);
  BindLang(small_, 20);
  average_ = new QAction(this);
  BindLang(average_, 21);
  large_ = new QAction(this);
  BindLang(large_, 22);
  selectColors_ = new QAction(this);
  BindLang(selectColors_, 158, {}, QStringLiteral("..."));
  connect(small_, &QAction::triggered, this, [this] { RequestBoardSize(SmallBoardRequest); });
  connect(average_, &QAction::triggered, this,
          [this] { RequestBoardSize(AverageBoardRequest(width(), height())); });
  connect(large_, &QAction::triggered, this, [this] { RequestBoardSize(LargeBoardRequest); });
  connect(selectColors_, &QAction::triggered, this, [this] {
    SelectColorsDialog& dialog = selectColorsDialog();
    dialog.Refresh();
    dialog.show();
    dialog.raise();
  });
  // Until the game record shows its own position, a change of game type shows
  // the new type's start position.
  gameTypeListener_ = AddGameTypeListener(nullptr, [this](int, int) { ShowStartPosition(); });
}

BoardPanel::~BoardPanel() { RemoveGameTypeListener(gameTypeListener_); }

void BoardPanel::AddViewActions(QMenu* menu) {
  menu->addAction(small_);
  menu->addAction(average_);
  menu->addAction(large_);
  menu->addSeparator();
  menu->addAction(selectColors_);
}

SelectColorsDialog& BoardPanel::selectColorsDialog() {
  if (!dialog_) {
    dialog_ = new SelectColorsDialog(*this, this);
    connect(dialog_, &SelectColorsDialog::gamePanelColorsChanged, this, &BoardPanel::gamePanelColorsChanged);
  }
  return *dialog_;
}

QStringList BoardPanel::LoadFigures() {
  const Settings& s = app_.settings();
  FigureSet& figures = view_->figures();
  figures.UseBuiltin(QString::fromLatin1(DefaultFigureStyle));
  const QStringList messages = figures.Load(FigureFiles{QString::fromStdString(s.FigWSName),
                                                        QString::fromStdString(s.FigBSName),
                                                        QString::fromStdString(s.FigWKName),
                                                        QString::fromStdString(s.FigBKName)});
  view_->Redraw();
  return messages;
}

QStringList BoardPanel::ApplySettings() {
  const Settings& s = app_.settings();
  BoardColors colors = view_->colors();
  colors.dark = ColorFromSetting(s.BoardDarkSquares);
  colors.light = ColorFromSetting(s.BoardLightSquares);
  colors.background = palette().color(QPalette::Window);
  BoardScene scene = view_->scene();
  scene.highlight = s.HighlightMove;
  scene.showCoords = s.ShowCoords;
  scene.showJamaican = s.ShowJamaican;
  scene.poolWhiteBottom = s.PoolWhiteBottom;
  scene.poolChessNotation = s.PoolChessNotation;
  view_->SetColors(colors);
  view_->SetScene(scene);
  const QStringList messages = LoadFigures();
  ShowStartPosition();
  Relayout();
  return messages;
}

void BoardPanel::ShowStartPosition() {
  BoardScene scene = view_->scene();
  scene.type = IsValidGameType(CurrentGameType) ? CurrentGameType : gtRussian;
  scene.board = InitialPosition(scene.type).b;
  scene.highlighted.clear();
  view_->SetScene(scene);
}

void BoardPanel::SetReversed(bool reversed) {
  BoardScene scene = view_->scene();
  scene.reversed = reversed;
  view_->SetScene(scene);
}

void BoardPanel::SetBlindPlay(bool blind) {
  BoardScene scene = view_->scene();
  scene.blind = blind;
  view_->SetScene(scene);
}

void BoardPanel::SetLastMove(std::vector<int> squares) {
  BoardScene scene = view_->scene();
  scene.highlighted = std::move(squares);
  view_->SetScene(scene);
}

void BoardPanel::RequestBoardSize(int wanted) {
  if (wanted != 0) app_.settings().BoardSize = wanted;
  Relayout();
}

void BoardPanel::Relayout() {
  MainLayoutInput in;
  in.clientWidth = width();
  in.clientHeight = height();
  in.wantedBoardSize = app_.settings().BoardSize;
  in.clockVisible = app_.settings().PlayingMode;
  in.bookGridWidth = BookGridWidth;
  layout_ = LayOutMainWindow(in);
  view_->SetEdge(layout_.boardEdge);
  emit layoutChanged();
}

void BoardPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

}  // namespace kestrel
