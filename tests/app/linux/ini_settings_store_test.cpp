#include "app/linux/ini_settings_store.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace melodane::on_linux {
namespace {

namespace fs = std::filesystem;

class IniSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("melodane-ini-" + std::to_string(getpid()));
    fs::remove_all(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }
  std::string File(const std::string& app) const {
    std::ifstream file(folder_ / (app + ".ini"));
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  fs::path folder_;
};

TEST_F(IniSettingsStoreTest, OneFilePerApplicationWithTheSectionAsAGroup) {
  IniSettingsStore store(folder_.string());
  ASSERT_TRUE(store.Save("BWSMD", "Value", "Vol", "64"));
  ASSERT_TRUE(store.Save("BWSMD", "Value", "AutoRun", "True"));
  const std::string text = File("BWSMD");
  EXPECT_NE(text.find("[Value]"), std::string::npos) << text;
  EXPECT_NE(text.find("Vol=64"), std::string::npos) << text;
  EXPECT_NE(text.find("AutoRun=True"), std::string::npos) << text;
  // Written by renaming a finished file over the old one: nothing else is left behind.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_)) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST_F(IniSettingsStoreTest, TextComesBackExactly) {
  IniSettingsStore store(folder_.string());
  for (const char* text :
       {"-1", "True", "", " 12 ", "a, b", "x=y", "semi;colon", "\"quoted\"", "caf\xC3\xA9"}) {
    ASSERT_TRUE(store.Save("BWSMD", "Value", "Key", text));
    EXPECT_EQ(IniSettingsStore(folder_.string()).Load("BWSMD", "Value", "Key"), text);
  }
}

TEST_F(IniSettingsStoreTest, MissingFileSectionOrKeyIsNothing) {
  IniSettingsStore store(folder_.string());
  EXPECT_EQ(store.Load("BWSMD", "Value", "Vol"), std::nullopt);
  store.Save("BWSMD", "Value", "Vol", "1");
  EXPECT_EQ(store.Load("BWSMD", "Other", "Vol"), std::nullopt);
  EXPECT_EQ(store.Load("BWSMD", "Value", "Tools"), std::nullopt);
  EXPECT_EQ(store.Load("Other", "Value", "Vol"), std::nullopt);
}

TEST_F(IniSettingsStoreTest, AHandEditedListReadsAsItsText) {
  fs::create_directories(folder_);
  std::ofstream(folder_ / "BWSMD.ini") << "[Value]\nVol=1, 2\nStage=3\n";
  IniSettingsStore store(folder_.string());
  EXPECT_EQ(store.Load("BWSMD", "Value", "Vol"), "1, 2");
  EXPECT_EQ(store.Load("BWSMD", "Value", "Stage"), "3");
}

TEST_F(IniSettingsStoreTest, AWriteThatCannotBeStoredIsRefused) {
  // A file stands where the folder should be.
  std::ofstream(folder_.string()) << "not a folder";
  IniSettingsStore store((folder_ / "melodane").string());
  EXPECT_FALSE(store.Save("BWSMD", "Value", "Vol", "10"));
  EXPECT_EQ(store.Load("BWSMD", "Value", "Vol"), std::nullopt);
  fs::remove(folder_);
}

}  // namespace
}  // namespace melodane::on_linux
