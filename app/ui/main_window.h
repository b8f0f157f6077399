// The main window: a thin shell over the application's logic.
#pragma once

#include <QMainWindow>

namespace kestrel {

class BoardPanel;
class KestrelApp;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(KestrelApp& app, QWidget* parent = nullptr);

  // Runs the start-up sequence and applies the saved window placement.
  void Start();

  BoardPanel& boardPanel() { return *board_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyPlacement();
  void RememberPlacement();

  KestrelApp& app_;
  BoardPanel* board_;
};

}  // namespace kestrel
