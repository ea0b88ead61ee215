#include <sys/stat.h>
#include <unistd.h>

#include <QTest>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "help/linux/curl_transfer.h"
#include "help/linux/xdg_open_launcher.h"
#include "help/transfer_cases.h"

namespace melodane::on_linux {
namespace {

TEST(CurlTransfer, GivesTheBodyOfASuccessOnlyWithinTheLimitAndOverVerifiedHttps) {
  if (const char* ca = std::getenv("MELODANE_TEST_CA")) setenv("SSL_CERT_FILE", ca, 1);
  CurlTransfer transfer;
  testing::ExpectTransferRules(transfer);
}

TEST(XdgOpenLauncher, HandsEachAddressAsItIsToTheHandlerWithoutWaiting) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("melodane-url-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto handler = folder / "handler", log = folder / "log";
  std::ofstream(handler) << "#!/usr/bin/python3\nimport sys\nopen('" << log.string()
                         << "', 'a').write(repr(sys.argv[1:]) + '\\n')\n";
  chmod(handler.c_str(), 0700);
  setenv("MELODANE_URL_HANDLER", handler.c_str(), 1);
  XdgOpenLauncher launcher;
  launcher.OpenWebAddress("https://site.test/melodane.htm?selectedTab=recommend");
  launcher.OpenWebAddress("https://a.test/x y;$(z)");
  // Each start's arguments, a line each, in the order they finish.
  const auto logged = [&](const std::string& line) {
    std::ifstream in(log);
    return std::string(std::istreambuf_iterator<char>(in), {}).find(line + "\n") !=
           std::string::npos;
  };
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return logged("['https://site.test/melodane.htm?selectedTab=recommend']"); }, 5000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return logged("['https://a.test/x y;$(z)']"); }, 5000))
      << "no shell";
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace melodane::on_linux
