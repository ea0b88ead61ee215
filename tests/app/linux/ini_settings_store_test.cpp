#include "app/linux/ini_settings_store.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace melodane::on_linux {
namespace {

namespace fs = std::filesystem;

struct IniSettingsStoreTest : ::testing::Test {
  void SetUp() override { fs::remove_all(folder); }
  void TearDown() override { fs::remove_all(folder); }
  fs::path folder = fs::temp_directory_path() / ("melodane-ini-" + std::to_string(getpid()));
  IniSettingsStore store{folder.string()};
};

TEST_F(IniSettingsStoreTest, OneFilePerApplicationWrittenWholeWithTheSectionAsAGroup) {
  ASSERT_TRUE(store.Save("BWSMD", "Value", "Vol", "64"));
  ASSERT_TRUE(store.Save("BWSMD", "Value", "AutoRun", "True"));
  std::stringstream text;
  text << std::ifstream(folder / "BWSMD.ini").rdbuf();
  EXPECT_EQ(text.str(), "[Value]\nAutoRun=True\nVol=64\n");
  // Renamed over the old file when finished: nothing else is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(IniSettingsStoreTest, TextComesBackExactlyAndMissingEntriesAreNothing) {
  EXPECT_EQ(store.Load("BWSMD", "Value", "Key"), std::nullopt);
  for (const char* text : {"-1", "", " 12 ", "a, b", "x=y", "semi;colon", "\"q\"", "caf\xC3\xA9"}) {
    ASSERT_TRUE(store.Save("BWSMD", "Value", "Key", text));
    EXPECT_EQ(IniSettingsStore(folder.string()).Load("BWSMD", "Value", "Key"), text);
  }
  EXPECT_EQ(store.Load("BWSMD", "Other", "Key"), std::nullopt);
  EXPECT_EQ(store.Load("BWSMD", "Value", "Tools"), std::nullopt);
  EXPECT_EQ(store.Load("Other", "Value", "Key"), std::nullopt);
}

TEST_F(IniSettingsStoreTest, AHandEditedListReadsAsItsTextAndAWriteWithNoPlaceIsRefused) {
  fs::create_directories(folder);
  std::ofstream(folder / "BWSMD.ini") << "[Value]\nVol=1, 2\n";
  EXPECT_EQ(store.Load("BWSMD", "Value", "Vol"), "1, 2");
  IniSettingsStore nowhere((folder / "BWSMD.ini" / "melodane").string());
  EXPECT_FALSE(nowhere.Save("BWSMD", "Value", "Vol", "10"));
}

}  // namespace
}  // namespace melodane::on_linux
