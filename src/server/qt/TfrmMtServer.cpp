#include "server/qt/TfrmMtServer.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>

#include "server/qt/HandlerGuard.h"
#include "server/qt/QtText.h"

namespace mts {
namespace {

constexpr int kTerminalColumns = 4;
constexpr int kTerminalFrameHeight = 150;
// The received-data view keeps the newest lines only, so a server that runs
// for months does not grow without end.
constexpr int kReceivedLinesKept = 50000;

// A list that lays its entries out top to bottom in four equal columns,
// continuing to the right when a column is full.
class ColumnList final : public QListWidget {
 public:
  explicit ColumnList(QWidget* parent) : QListWidget(parent) {
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QListWidget::resizeEvent(event);
    setGridSize(QSize(viewport()->width() / kTerminalColumns, fontMetrics().height() + 4));
  }
};

}  // namespace

TfrmMtServer::TfrmMtServer(ServerPaths paths, QWidget* parent) : QMainWindow(parent) {
  BuildWidgets();
  runtime_ = std::make_unique<ServerRuntime>(std::move(paths), *this);
  core().FormCreate();
}

TfrmMtServer::~TfrmMtServer() = default;

void TfrmMtServer::BuildWidgets() {
  setObjectName("frmMtServer");
  setWindowTitle(kServerTitle);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->setSpacing(4);

  auto* GroupBox3 = new QGroupBox(" Terminais Conectados ", central);
  GroupBox3->setObjectName("GroupBox3");
  GroupBox3->setFixedHeight(kTerminalFrameHeight);
  auto* terminalsLayout = new QVBoxLayout(GroupBox3);
  listTerminais = new ColumnList(GroupBox3);
  listTerminais->setObjectName("listTerminais");
  terminalsLayout->addWidget(listTerminais);
  layout->addWidget(GroupBox3);

  auto* GroupBox6 = new QGroupBox(" Dados Recebidos ", central);
  GroupBox6->setObjectName("GroupBox6");
  QFont arial("Arial");
  arial.setPointSizeF(font().pointSizeF());
  GroupBox6->setFont(arial);
  auto* receivedLayout = new QVBoxLayout(GroupBox6);
  mRecebe = new QPlainTextEdit(GroupBox6);
  mRecebe->setObjectName("mRecebe");
  mRecebe->setReadOnly(true);
  mRecebe->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mRecebe->setMaximumBlockCount(kReceivedLinesKept);
  receivedLayout->addWidget(mRecebe);
  btnLimpaMemo = new QPushButton("Limpar", GroupBox6);
  btnLimpaMemo->setObjectName("btnLimpaMemo");
  auto* clearRow = new QHBoxLayout();
  clearRow->addStretch();
  clearRow->addWidget(btnLimpaMemo);
  receivedLayout->addLayout(clearRow);
  layout->addWidget(GroupBox6, 1);

  auto* Panel1 = new QFrame(central);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameShape(QFrame::StyledPanel);
  auto* panelLayout = new QHBoxLayout(Panel1);
  panelLayout->setContentsMargins(6, 4, 6, 4);
  btnSair = new QPushButton("&Sair", Panel1);
  btnSair->setObjectName("btnSair");
  panelLayout->addStretch();
  panelLayout->addWidget(btnSair);
  layout->addWidget(Panel1);
  setCentralWidget(central);

  stBarra = new QStatusBar(this);
  stBarra->setObjectName("stBarra");
  stBarra->setSizeGripEnabled(false);
  for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
    auto* panel = new QLabel(stBarra);
    panel->setObjectName(QString("stBarraPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const bool last = i + 1 == statusPanels_.size();
    // The last panel runs to the window's right edge, as status bars do.
    if (last) {
      panel->setMinimumWidth(kStatusPanelWidths[i]);
    } else {
      panel->setFixedWidth(kStatusPanelWidths[i]);
    }
    stBarra->addWidget(panel, last ? 1 : 0);
    statusPanels_[i] = panel;
  }
  setStatusBar(stBarra);

  connect(btnLimpaMemo, &QPushButton::clicked, this,
          [this] { runtime_->Guarded([this] { btnLimpaMemoClick(); }); });
  connect(btnSair, &QPushButton::clicked, this,
          [this] { runtime_->Guarded([this] { btnSairClick(); }); });

  setFixedSize(kClientWidth, kClientHeight);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TfrmMtServer::addReceived(const std::string& line) {
  mRecebe->appendPlainText(QStringFromWindows1252(line));
}

void TfrmMtServer::addTerminalListEntry(const std::string& entry) {
  const QString text = QStringFromWindows1252(entry);
  if (listTerminais->findItems(text, Qt::MatchExactly).isEmpty()) listTerminais->addItem(text);
}

void TfrmMtServer::setStatusPanel(int panel, const std::string& text) {
  if (panel < 0 || panel >= static_cast<int>(statusPanels_.size())) return;
  statusPanels_[static_cast<std::size_t>(panel)]->setText(QStringFromWindows1252(text));
}

void TfrmMtServer::showError(const std::string& message) {
  QMessageBox::critical(isVisible() ? this : nullptr, kServerTitle,
                        QStringFromWindows1252(message));
}

void TfrmMtServer::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  core().FormShow();
}

void TfrmMtServer::closeEvent(QCloseEvent* event) {
  // The window is going away: a failure here is shown, never restarts anything.
  RunGuarded([this](const std::string& message) { showError(message); },
             [this] { core().FormClose(); });
  event->accept();
}

void TfrmMtServer::btnLimpaMemoClick() {
  mRecebe->clear();
}

void TfrmMtServer::btnSairClick() {
  close();
}

}  // namespace mts
