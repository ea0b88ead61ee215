#include "app/linux/ini_settings_store.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "app/linux/unprivileged.h"

namespace melodane::on_linux {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& file) {
  return {std::istreambuf_iterator<char>(std::ifstream(file).rdbuf()), {}};
}

struct IniSettingsStoreTest : ::testing::Test {
  void SetUp() override { fs::remove_all(base); }
  void TearDown() override { fs::remove_all(base); }
  std::optional<std::string> Vol() { return store.Load("BWSMD", "Value", "Vol"); }
  bool Save(std::string_view key, std::string_view text, std::string_view section = "Value") {
    return store.Save("BWSMD", section, key, text);
  }
  fs::path base = fs::temp_directory_path() / ("melodane-ini-" + std::to_string(getpid()));
  fs::path folder = base / "config" / "melodane", file = folder / "BWSMD.ini";
  IniSettingsStore store{folder.string()};
};

TEST_F(IniSettingsStoreTest, OneFileInPrivateFoldersWrittenWholeAndTextComesBackExactly) {
  ASSERT_TRUE(Save("Vol", "64") && Save("AutoRun", "True"));
  EXPECT_EQ(Text(file), "[Value]\nVol=64\nAutoRun=True\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "a temporary file is left";
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(base / "config").permissions(), fs::perms::owner_all);
  for (const char* text : {"-1", "", " 12 ", "a, b", "x=y", "semi;colon", "\"q\"", "caf\xC3\xA9",
                           "back\\slash", "two\nlines", "@at"}) {
    ASSERT_TRUE(Save("Key", text));
    EXPECT_EQ(IniSettingsStore(folder.string()).Load("BWSMD", "Value", "Key"), text);
  }
  EXPECT_EQ(store.Load("BWSMD", "Other", "Key"), std::nullopt);
  EXPECT_EQ(store.Load("Other", "Value", "Key"), std::nullopt);
}

TEST_F(IniSettingsStoreTest, HandEditsReadAsTheirTextAndLinesThatDoNotParseStayAsTheyAre) {
  fs::create_directories(folder);
  // Typed in by hand or written by the earlier versions; a key outside its section is none.
  const std::pair<const char*, std::optional<std::string>> files[] = {
      {"[Value]\nVol=1, 2\n", "1, 2"},
      {"[Value]\nVol=\\\"q\\\"\n", "\"q\""},
      {"[value]\r\n  VOL = 64 ; loud\r\n", "64"},
      {"[Value]\nVol=1\nvol=2\n[Value]\nVol=3\n", "1"},
      {"Vol=1\n[Other]\nVol=2\n[Value\nVol=3\n", std::nullopt}};
  for (const auto& [text, vol] : files) {
    std::ofstream(file) << text;
    EXPECT_EQ(Vol(), vol) << text;
  }
  const std::string before =
      "; mine\r\n[Other]\r\nVol=1\r\nno equals\r\n\r\n"
      "[Value]\r\n# note\r\n  vol = 64   \r\n=nameless\r\nTray=True\r\n[Value";
  std::ofstream(file) << before;
  EXPECT_EQ(Vol(), "64");
  EXPECT_EQ(store.Load("BWSMD", "Value", "Tray"), "True");
  EXPECT_TRUE(Save("Vol", "80") && Save("Stage", "3") && Save("K", ";", "New"));
  EXPECT_EQ(Text(file), std::string(before).replace(before.find("64"), 2, "80") +
                            "\r\nStage=3\r\n\r\n[New]\r\nK=\";\"\r\n");
}

TEST_F(IniSettingsStoreTest, ALinkedFileIsWrittenWhereItIs) {
  fs::create_directories(folder);
  std::ofstream(base / "dotfiles.ini") << "; mine\n[Value]\nVol=5\n";
  fs::permissions(base / "dotfiles.ini", fs::perms(0640));
  fs::create_symlink(base / "dotfiles.ini", file);
  EXPECT_TRUE(Vol() == "5" && Save("Vol", "6") && fs::is_symlink(file));
  EXPECT_EQ(Text(base / "dotfiles.ini"), "; mine\n[Value]\nVol=6\n");
  EXPECT_EQ(fs::status(base / "dotfiles.ini").permissions(), fs::perms(0640));
  EXPECT_FALSE(IniSettingsStore((file / "x").string()).Save("BWSMD", "Value", "Vol", "10"));
}

// A file it cannot read, or that is no settings text, reads as nothing and stays as it
// is; what it can read it reads. Nothing of this is said on stderr.
TEST_F(IniSettingsStoreTest, AFileItCannotReadOrParseIsNeverReplacedNorTalkedAbout) {
  std::mt19937 random(1);
  std::string garbage(10 << 20, 0);  // no NUL in it: its size alone must stop it
  for (char& c : garbage) c = static_cast<char>(random() % 255 + 1);
  const std::string vol = "[Value]\nVol=5\n";
  const auto rw = fs::perms::owner_read | fs::perms::owner_write, all = fs::perms::owner_all;
  const struct {
    const char* what;
    std::optional<std::string> text;  // nothing: a folder in its place
    fs::perms file_mode, folder_mode;
    const char* outcome;
    std::optional<std::string> after;  // nothing: as it was
  } cases[] = {
      {"a folder", std::nullopt, all, all, "none refused", {}},
      {"unreadable", vol, fs::perms::none, all, "none refused", {}},
      {"cut mid-line", vol + "Tr", rw, all, "5 saved", "[Value]\nVol=6\nTr"},
      {"a NUL byte", vol + '\0', rw, all, "none refused", {}},
      {"10 MB", vol + garbage, rw, all, "none refused", {}},
      {"read-only folder", vol, rw, fs::perms::owner_read | fs::perms::owner_exec, "5 refused", {}},
  };
  for (const auto& c : cases) {
    fs::remove_all(base);
    fs::create_directories(c.text ? folder : file);
    if (c.text) std::ofstream(file, std::ios::binary) << *c.text;
    fs::permissions(file, c.file_mode);
    fs::permissions(folder, c.folder_mode);
    const auto read_then_save = [&] {
      const std::string read = Vol().value_or("none");
      return read + (Save("Vol", "6") ? " saved" : " refused");
    };
    EXPECT_EQ(testing::Unprivileged(base, read_then_save), c.outcome) << c.what;
    fs::permissions(folder, all);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << c.what;
    EXPECT_EQ(fs::status(file).permissions(), c.file_mode) << c.what;
    fs::permissions(file, all);
    if (c.text) {
      EXPECT_TRUE(Text(file) == c.after.value_or(*c.text)) << c.what;
    }
  }
}

// The file afterwards is the old one or the new one, whole, however often a save is cut
// short; a copy left beside it does not stop the next save.
TEST_F(IniSettingsStoreTest, KilledWhileSavingItLeavesTheOldFileOrTheNewOneWhole) {
  const std::string values[] = {std::string(256 << 10, 'a'), std::string(256 << 10, 'b')};
  ASSERT_TRUE(Save("Vol", values[0]));
  const std::string files[] = {Text(file), "[Value]\nVol=" + values[1] + "\n"};
  std::mt19937 random(1);
  for (int round = 0; round < 200; ++round) {
    const pid_t child = fork();
    if (child == 0) {
      for (int i = 1;; ++i) Save("Vol", values[i % 2]);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 10000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = Text(file);
    ASSERT_TRUE(now == files[0] || now == files[1]) << "round " << round << ": " << now.size();
  }
  EXPECT_TRUE(Save("Vol", "7") && Vol() == "7");
}

}  // namespace
}  // namespace melodane::on_linux
