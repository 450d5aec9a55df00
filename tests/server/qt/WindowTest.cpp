#include "server/qt/TfrmMtServer.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <iostream>

#include "QtTestHelpers.h"
#include "TempFolder.h"
#include "support/FreePort.h"
#include "support/TestDatabase.h"

namespace mts {
namespace {

using test::freePort;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

template <typename Widget>
Widget* Find(QWidget& window, const char* name) {
  auto* widget = window.findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

class WindowTest : public testing::Test {
 protected:
  WindowTest() {
    WriteFile(folder_ / "mtserver.ini",
              "[SERVER-CONFIG]\nPROTOCOLO-TERMINAL=STX-ETX\nTIPO-TECLADO=16\nPORTA-IP=" +
                  std::to_string(freePort()) +
                  "\n[BDADOS-CONFIG]\nBDADOS=" + database_.path().string() + "\n");
    window_ =
        std::make_unique<TfrmMtServer>(ServerPaths{folder_ / "mtserver.ini", folder_ / "log"});
    window_->show();
    QCoreApplication::processEvents();
  }

  std::string LogText() {
    std::string all;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "log")) {
      all += ReadFile(entry.path());
    }
    return all;
  }

  TempFolder folder_;
  test::TestDatabase database_{test::factorySchema()};
  std::unique_ptr<TfrmMtServer> window_;
};

TEST_F(WindowTest, LayoutTextsAndFixedSize) {
  TfrmMtServer& w = *window_;
  EXPECT_EQ(w.windowTitle(), "Varnel Sistemas - Servidor de Micro Terminais");
  EXPECT_EQ(w.size(), QSize(799, 613));
  EXPECT_EQ(w.minimumSize(), QSize(799, 613));
  EXPECT_EQ(w.maximumSize(), QSize(799, 613));
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);

  EXPECT_EQ(Find<QGroupBox>(w, "GroupBox3")->title(), " Terminais Conectados ");
  QGroupBox* received = Find<QGroupBox>(w, "GroupBox6");
  EXPECT_EQ(received->title(), " Dados Recebidos ");
  EXPECT_EQ(received->font().family(), "Arial");
  EXPECT_TRUE(Find<QPlainTextEdit>(w, "mRecebe")->isReadOnly());
  EXPECT_EQ(Find<QPushButton>(w, "btnLimpaMemo")->text(), "Limpar");
  EXPECT_EQ(Find<QPushButton>(w, "btnSair")->text(), "&Sair");

  QStatusBar* bar = Find<QStatusBar>(w, "stBarra");
  ASSERT_NE(bar, nullptr);
  const QString expectedTexts[] = {"BD: " + QString::fromStdString(database_.path().string()),
                                   "Protocolo Terminal: STX-ETX", "Tipo Teclado: 16", "Porta IP: "};
  for (int i = 0; i < 4; ++i) {
    QLabel* panel = Find<QLabel>(w, QString("stBarraPanel%1").arg(i).toUtf8().constData());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->text().startsWith(expectedTexts[i])) << panel->text().toStdString();
    if (i < 3) {
      EXPECT_EQ(panel->width(), TfrmMtServer::kStatusPanelWidths[static_cast<std::size_t>(i)]);
    } else {
      EXPECT_GE(panel->width(), 50);
    }
  }

  QListWidget* list = Find<QListWidget>(w, "listTerminais");
  EXPECT_EQ(list->flow(), QListView::TopToBottom);
  EXPECT_TRUE(list->isWrapping());
  EXPECT_EQ(list->gridSize().width(), list->viewport()->width() / 4);
}

TEST_F(WindowTest, ViewLinesListEntriesAndLimpar) {
  TfrmMtServer& w = *window_;
  for (int i = 0; i < 9; ++i)
    w.addTerminalListEntry(std::to_string(i) + " - 10.0.0." + std::to_string(i + 1));
  w.addTerminalListEntry("0 - 10.0.0.1");
  w.addReceived("Erro Conex\xE3o: teste");
  w.addReceived("Conex\xE3o Servidor Reiniciada.");

  QListWidget* list = Find<QListWidget>(w, "listTerminais");
  EXPECT_EQ(list->count(), 9);
  QPlainTextEdit* lines = Find<QPlainTextEdit>(w, "mRecebe");
  EXPECT_EQ(lines->toPlainText(),
            QString::fromUtf8("Erro Conexão: teste\nConexão Servidor Reiniciada."));

  const QString screenshot = SCREENSHOT_DIR "/mtserver-window.png";
  ASSERT_TRUE(w.grab().save(screenshot));
  std::cout << "window screenshot: " << screenshot.toStdString() << std::endl;

  Find<QPushButton>(w, "btnLimpaMemo")->click();
  EXPECT_TRUE(lines->toPlainText().isEmpty());
  EXPECT_EQ(list->count(), 9);
}

TEST_F(WindowTest, SairClosesTheWindowAndStopsTheServer) {
  EXPECT_NE(LogText().find("AtivarServer: servidor ativo"), std::string::npos);
  Find<QPushButton>(*window_, "btnSair")->click();
  QCoreApplication::processEvents();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_NE(LogText().find(": servidor desativado.\n"), std::string::npos);
}

}  // namespace
}  // namespace mts
