// The status page in a real browser: headless Chromium renders it at a
// phone's and a desk's size, and the screenshots stay in the build folder for
// a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ServiceTestSupport.h"
#include "support/TestDatabase.h"

namespace mts::test {
namespace {

const char* kChromium = "/usr/bin/chromium";

// Chromium's flags for this machine: no sandbox as root, no GPU, and none of
// its background traffic (the closed network refuses it).
std::vector<std::string> Chromium(const std::filesystem::path& profile) {
  return {kChromium,
          "--headless",
          "--no-sandbox",
          "--disable-gpu",
          "--disable-quic",
          "--no-first-run",
          "--disable-background-networking",
          "--disable-component-update",
          "--disable-sync",
          "--hide-scrollbars",
          "--user-data-dir=" + profile.string()};
}

bool IsPng(const std::string& bytes) {
  return bytes.size() > 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0;
}

TEST(StatusPageInBrowser, RendersTheTerminalsAndIsSavedAsScreenshots) {
  if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "no chromium";
  TestDatabase database(DemoFactoryScript());
  ServerUnderTest::Options options;
  options.database = database.path().string();
  // Three terminals named, as a factory would: one will work, one will
  // leave, one never comes.
  options.extraSections =
      "[TERMINAIS]\r\n127.0.0.2=Montagem 1;Linha 2\r\n127.0.0.3=Costura 4;Linha 1\r\n"
      "127.0.0.9=Corte 1;Galp\xE3o B\r\n";
  ServerUnderTest server(options);
  server.Start();
  RawTerminal first("127.0.0.2", server.terminalPort());
  auto second = std::make_unique<RawTerminal>("127.0.0.3", server.terminalPort());
  RawTerminal third("127.0.0.4", server.terminalPort());
  ASSERT_EQ(first.Read(kBadgePrompt.size()), kBadgePrompt);
  ASSERT_EQ(second->Read(kBadgePrompt.size()), kBadgePrompt);
  ASSERT_EQ(third.Read(kBadgePrompt.size()), kBadgePrompt);
  first.Send("4");
  second.reset();
  ASSERT_TRUE(WaitFor([&] {
    const std::string status = HttpGet(server.statusPort(), "/status").body;
    return Field(TerminalJson(status, "127.0.0.2"), "lastKey") == "\"4\"" &&
           Field(TerminalJson(status, "127.0.0.3"), "connected") == "false";
  }));
  const std::string url = "http://127.0.0.1:" + std::to_string(server.statusPort()) + "/";

  // What the browser built from the page: the problems come first, then the
  // terminals with their names, the one that left and the one never seen.
  std::vector<std::string> dump = Chromium(server.folder() / "profile-dom");
  dump.insert(dump.end(), {"--dump-dom", url});
  const std::filesystem::path dom = server.folder() / "dom.html";
  ASSERT_EQ(runProgram(dump, {}, dom), 0) << readFile(dom);
  const std::string rendered = readFile(dom);
  EXPECT_NE(rendered.find("Terminais: 2 de 4 conectados"), std::string::npos) << rendered;
  const std::size_t problems = rendered.find("id=\"problems\"");
  ASSERT_NE(problems, std::string::npos) << rendered;
  EXPECT_LT(problems, rendered.find("id=\"terminals\""));
  EXPECT_NE(rendered.find("2 terminais desconectados: Costura 4 (127.0.0.3) h\xC3\xA1 "),
            std::string::npos)
      << rendered;
  EXPECT_NE(rendered.find("Corte 1 (127.0.0.9) nunca conectou."), std::string::npos);
  EXPECT_NE(rendered.find("<b class=\"down\">desconectado h\xC3\xA1 "), std::string::npos);
  EXPECT_NE(rendered.find("<b class=\"down\">nunca conectou</b>"), std::string::npos);
  EXPECT_NE(rendered.find("<b>Corte 1</b> <span class=\"when\">Galp\xC3\xA3o B</span>"),
            std::string::npos);
  EXPECT_NE(rendered.find("127.0.0.4"), std::string::npos);

  struct Shot {
    const char* file;
    const char* size;
  };
  for (const Shot& shot :
       {Shot{"status-page-phone.png", "412,915"}, Shot{"status-page-desktop.png", "1280,800"}}) {
    SCOPED_TRACE(shot.file);
    const std::filesystem::path png = std::filesystem::path(SCREENSHOT_DIR) / shot.file;
    std::filesystem::remove(png);
    std::vector<std::string> capture = Chromium(server.folder() / "profile-shot");
    capture.insert(capture.end(), {std::string("--window-size=") + shot.size,
                                   "--screenshot=" + png.string(), url});
    const std::filesystem::path log = server.folder() / "chromium.txt";
    ASSERT_EQ(runProgram(capture, {}, log), 0) << readFile(log);
    ASSERT_TRUE(std::filesystem::exists(png)) << readFile(log);
    EXPECT_TRUE(IsPng(readFile(png)));
    // A blank page compresses to almost nothing; this one has tables and text.
    EXPECT_GT(std::filesystem::file_size(png), 10000u);
  }
  EXPECT_EQ(server.Stop(), 0) << server.Output();
}

}  // namespace
}  // namespace mts::test
