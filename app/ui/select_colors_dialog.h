// The "Select colors" dialog: board and game panel colours, the four figure
// pictures, the figure sets under Pics/, "Default" and "Cyan Night".
#pragma once

#include <QColor>
#include <QDialog>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

#include "app/ui/figure_drawing.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace kestrel {

class BoardPanel;

class SelectColorsDialog : public QDialog {
  Q_OBJECT

 public:
  // The choosers open the colour and picture dialogs; tests put their own.
  using ColorChooser = std::function<std::optional<QColor>(const QColor& current, const QString& title)>;
  using PictureChooser = std::function<QString(const QString& startFolder)>;

  explicit SelectColorsDialog(BoardPanel& board, QWidget* parent = nullptr);

  void SetColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }
  void SetPictureChooser(PictureChooser chooser) { choosePicture_ = std::move(chooser); }

  // Fills the style list and shows the current colours and figures.
  void Refresh();

  void ChooseBoardColor(bool dark);
  // 0 main line, 1 second line, 2 third line, 3 comments.
  void ChoosePanelColor(int which);
  void ChooseFigure(FigureKind kind);
  void ChooseStyle(const QString& style);
  void RestoreDefaults();
  void SetCyanNight(bool on);

  QStringList styleNames() const;
  // The listed set the figure files come from, or empty.
  QString currentStyle() const;
  // What the last command could not load, one line per file.
  QStringList messages() const { return messages_; }

 signals:
  void gamePanelColorsChanged();

 private:
  QString PicsFolder() const;
  void ShowMessages(QStringList messages);
  void ApplyBoardColors();
  void ShowColors();

  BoardPanel& board_;
  ColorChooser chooseColor_;
  PictureChooser choosePicture_;
  QPushButton* dark_;
  QPushButton* light_;
  std::array<QPushButton*, 4> panel_{};
  std::array<QPushButton*, FigureKindCount> figure_{};
  QComboBox* style_;
  QPushButton* default_;
  QCheckBox* cyanNight_;
  QLabel* messageLabel_;
  QStringList messages_;
  QString plainStyle_;
  QPalette plainPalette_;
};

}  // namespace kestrel
