// The status page in a real browser: headless Chromium renders it at a
// phone's and a desk's size, and the screenshots stay in the build folder for
// a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
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
  ServerUnderTest server(options);
  server.Start();
  RawTerminal first("127.0.0.2", server.terminalPort());
  RawTerminal second("127.0.0.3", server.terminalPort());
  ASSERT_EQ(first.Read(kBadgePrompt.size()), kBadgePrompt);
  ASSERT_EQ(second.Read(kBadgePrompt.size()), kBadgePrompt);
  first.Send("4");
  ASSERT_TRUE(WaitFor([&] {
    return HttpGet(server.statusPort(), "/status").body.find("\"lastKey\":\"4\"") !=
           std::string::npos;
  }));
  const std::string url = "http://127.0.0.1:" + std::to_string(server.statusPort()) + "/";

  // What the browser built from the page: the terminals are in its DOM.
  std::vector<std::string> dump = Chromium(server.folder() / "profile-dom");
  dump.insert(dump.end(), {"--dump-dom", url});
  const std::filesystem::path dom = server.folder() / "dom.html";
  ASSERT_EQ(runProgram(dump, {}, dom), 0) << readFile(dom);
  const std::string rendered = readFile(dom);
  EXPECT_NE(rendered.find("Terminais: 2 de 2 conectados"), std::string::npos) << rendered;
  EXPECT_NE(rendered.find("127.0.0.3"), std::string::npos);

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
