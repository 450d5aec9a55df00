#pragma once

#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <array>
#include <memory>

#include "server/ServerView.h"
#include "server/qt/ServerRuntime.h"

namespace mts {

// The server's main window: a fixed-size view of the server with the list of
// connected terminals, the received-data lines and a four-panel status bar.
// It owns the server (ServerRuntime) and runs its start-up when constructed;
// closing it stops the listener, and the application ends with it.
class TfrmMtServer final : public QMainWindow, public ServerView {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 799;
  static constexpr int kClientHeight = 613;
  static constexpr std::array<int, 4> kStatusPanelWidths{330, 170, 110, 50};

  explicit TfrmMtServer(ServerPaths paths, QWidget* parent = nullptr);
  ~TfrmMtServer() override;

  ServerCore& core() { return runtime_->core(); }
  ServerRuntime& runtime() { return *runtime_; }

  // ServerView
  void addReceived(const std::string& line) override;
  void addTerminalListEntry(const std::string& entry) override;
  void setStatusPanel(int panel, const std::string& text) override;
  void showError(const std::string& message) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildWidgets();
  void btnLimpaMemoClick();
  void btnSairClick();

  QListWidget* listTerminais = nullptr;
  QPlainTextEdit* mRecebe = nullptr;
  QPushButton* btnLimpaMemo = nullptr;
  QPushButton* btnSair = nullptr;
  QStatusBar* stBarra = nullptr;
  std::array<QLabel*, 4> statusPanels_{};
  std::unique_ptr<ServerRuntime> runtime_;
  bool shown_ = false;
};

}  // namespace mts
