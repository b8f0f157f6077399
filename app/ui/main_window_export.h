// The main window's "Export diagram" and "Export game" menus: the size
// dialog, "*.GIF", the clipboard (bitmap, text diagram, FEN, position in
// words), the gallery upload with its "FTP gallery" settings dialog (in the
// Options menu), and the current game appended to a PDN file
// or written as RTF. Dialogs and messages go through replaceable functions
// so that tests can answer them.
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "app/export/diagram_size.h"
#include "app/export/rtf_writer.h"
#include "game/game.h"

class QAction;
class QComboBox;
class QMenu;

namespace kestrel {

class KestrelApp;
class MainWindow;
class GalleryUpload;
class FtpSettingsDialog;

// "Export diagram": the edge of the picture, 115 to 920 pixels in steps of 115.
class DiagramSizeDialog : public QDialog {
  Q_OBJECT

 public:
  DiagramSizeDialog(int size, QWidget* parent = nullptr);
  int Size() const;

 private:
  QComboBox* size_;
};

class MainWindowExport : public QObject {
  Q_OBJECT

 public:
  MainWindowExport(MainWindow& window, KestrelApp& app);
  ~MainWindowExport() override;

  QMenu* diagramMenu() const { return diagramMenu_; }
  QMenu* gameMenu() const { return gameMenu_; }
  QAction* galleryAction() const { return gallery_; }
  // "FTP gallery...", in the Options menu.
  QAction* ftpSettingsAction() const { return ftpSettings_; }

  void ExportGif();
  void CopyBitmap();
  void CopyTextDiagram();
  void CopyFen();
  void CopyWords();
  void AppendPdn();
  void WriteRtf();
  // The database window's marked games (the cursor's game when none is
  // marked) as one RTF document.
  void WriteDatabaseRtf();
  QAction* databaseRtfAction() const { return databaseRtf_; }
  void UploadToGallery();
  // Caption, enabled state and tip of the gallery command from the settings.
  void UpdateGalleryAction();
  // The tip of the disabled gallery command: where the gallery is set.
  static QString GalleryMissingTip();
  void EditGallery();

  // Replaceable for tests.
  std::function<std::optional<int>(int current)> chooseSize;
  std::function<QString(const QString& title, const QString& folder, const QString& filter)> chooseSaveFile;
  std::function<void(const QString& message)> showMessage;
  std::function<bool(const QString& question)> confirm;
  // Runs the "FTP gallery" dialog; true when the user confirmed it.
  std::function<bool(FtpSettingsDialog& dialog)> editGallery;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TPosition {
    TBoard board;
    TDColor side;
    int type;
  };
  TPosition CurrentPosition() const;
  TGame CurrentGame() const;
  // The board picture for files and uploads: the current position without
  // the last-move marks, at `size` pixels.
  QImage ExportPicture(int size) const;
  QString ExportFolder(const char* sub) const;
  TRtfOptions RtfOptions() const;
  // Writes the document to the chosen name (extension ".rtf") and opens it.
  bool SaveRtf(const TRtfDocument& document, const QString& chosen);

  MainWindow& main_;
  KestrelApp& app_;
  int size_ = DefaultDiagramSize;  // kept until the program ends
  QMenu* diagramMenu_;
  QMenu* gameMenu_;
  QAction* gallery_;
  QAction* ftpSettings_;
  QAction* databaseRtf_;
  GalleryUpload* upload_ = nullptr;
};

}  // namespace kestrel
