#include <windows.h>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "fakes/win32/trusted_ca.h"
#include "help/transfer_cases.h"
#include "help/win32/rundll_launcher.h"
#include "help/win32/wininet_transfer.h"

namespace melodane::win32 {
namespace {

TEST(WininetTransfer, GivesTheBodyOfASuccessOnlyWithinTheLimitAndOverVerifiedHttps) {
  const char* authority = std::getenv("MELODANE_TEST_CA");
  if (authority) {
    ASSERT_TRUE(testing::TrustTestAuthority(std::string("Z:") + authority, true));
  }
  WininetTransfer transfer;
  testing::ExpectTransferRules(transfer);
  if (authority) testing::TrustTestAuthority(std::string("Z:") + authority, false);
}

TEST(RundllLauncher, StartsTheUrlHandlerWithTheAddressAsItIs) {
  // The rundll32.exe beside this program records its command line.
  const std::string path = "melodane-urls-" + std::to_string(GetCurrentProcessId()) + ".txt";
  SetEnvironmentVariableA("MELODANE_URL_LOG", path.c_str());
  RundllLauncher().OpenWebAddress("https://site.test/melodane.htm?selectedTab=recommend");
  std::string line;
  for (int i = 0; i < 100 && line.empty(); ++i, Sleep(50)) std::getline(std::ifstream(path), line);
  EXPECT_EQ(line.substr(line.find(' ') + 1),
            "rundll32.exe url.dll,FileProtocolHandler "
            "https://site.test/melodane.htm?selectedTab=recommend");
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace melodane::win32
