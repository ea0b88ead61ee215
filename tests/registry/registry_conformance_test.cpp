// The Registry class against the platform's registry: the SQLite stand-in on Linux,
// Wine's registry for the Windows build. Each test works below its own key of the
// current user's, removed before and after.
#include "registry/registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "registry/registry_platform.h"

namespace melodane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file's whole content, or nothing when there is no such file.
std::optional<std::string> FileContent(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

struct RegistryTest : ::testing::Test {
  void SetUp() override { registry.DeleteRegKey(kHkeyCurrentUser, kBase); }
  void TearDown() override {
    registry.DeleteRegKey(kHkeyCurrentUser, kBase);
    platform.api.reset();  // closed first: Windows removes no open file
    std::filesystem::remove_all(platform.folder);
  }
  // A value written as the platform takes it, past the class.
  void Raw(const std::string& name, std::uint32_t type, const Bytes& data) {
    RegKey key = 0;
    ASSERT_EQ(api.CreateKey(RootKey(kHkeyCurrentUser), kBase, kKeyWrite, key), 0);
    api.SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
    api.CloseKey(key);
  }
  // A value as the platform holds it: its type and bytes, or nothing.
  std::optional<std::pair<std::uint32_t, Bytes>> Stored(const std::string& name) {
    RegKey key = 0;
    if (api.OpenKey(RootKey(kHkeyCurrentUser), kBase, kKeyRead, key) != 0) return std::nullopt;
    std::uint32_t type = 0, size = 64;
    Bytes data(size);
    const bool found = api.QueryValue(key, name, &type, data.data(), &size) == 0;
    api.CloseKey(key);
    data.resize(size);
    return found ? std::optional(std::pair(type, data)) : std::nullopt;
  }
  // Below the test's key.
  std::string Read(const std::string& name, const std::string& below = "") {
    return registry.ReadRegKey(kHkeyCurrentUser, kBase + below, name, "no key");
  }
  bool Write(std::int32_t type, const std::string& below, const std::string& name,
             const std::string& text) {
    return registry.WriteRegKey(type, kHkeyCurrentUser, kBase + below, name, text);
  }
  bool KeyExists(const std::string& below) { return Read("", below) != "no key"; }

  static constexpr char kBase[] = "Software\\MelodaneConformance";
  testing::RegistryPlatform platform = testing::MakeRegistryPlatform();
  RegistryApi& api = *platform.api;
  Registry registry{api};
};

TEST_F(RegistryTest, ReadingGivesTextsAndNumbersAndWhatIsMissingGivesWhatWasAskedFor) {
  EXPECT_EQ(Read("v"), "no key");
  EXPECT_EQ(registry.ReadRegKey(kHkeyCurrentUser, kBase, "v"), "") << "the argument left out";
  const std::tuple<std::uint32_t, Bytes, const char*> values[] = {
      {kRegSz, {'a', 'b', 0}, "ab"},
      {kRegSz, {0}, ""},
      {kRegSz, {}, ""},
      {kRegSz, {'a', 'b'}, ""},
      {kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
      {kRegBinary, {0x34, 0x12}, "4660"},
      {kRegBinary, Bytes(8, 1), ""},
      {kRegQword, Bytes(8, 1), ""},
      {kRegMultiSz, {'a', 0, 'b', 0, 0}, ""}};
  for (const auto& [type, bytes, text] : values) {
    Raw("v", type, bytes);
    EXPECT_EQ(Read("v"), text) << type << " of " << bytes.size() << " bytes";
  }
  EXPECT_EQ(Read("missing"), "") << "a missing value in an existing key";
  Raw("e", kRegExpandSz, {'<', '%', 'P', 'A', 'T', 'H', '%', '>', 0});
  EXPECT_EQ(Read("e"), "<" + std::string(std::getenv("PATH")) + ">");
  const std::string long_text = "%PATH%" + std::string(1000, 'x');
  Raw("e", kRegExpandSz, Bytes(long_text.c_str(), long_text.c_str() + long_text.size() + 1));
  EXPECT_EQ(Read("e"), "") << "an expansion longer than 1000 bytes";
}

TEST_F(RegistryTest, WritingCreatesThePathAndStoresEachTypeAsItsBytes) {
  EXPECT_TRUE(Write(7, "\\a\\b", "v", "1"));
  EXPECT_TRUE(KeyExists("\\a\\b")) << "every key on the path is made, even for a type not written";
  const std::string sep(1, api.DecimalSeparator());
  const std::tuple<std::uint32_t, std::string, std::optional<Bytes>> writes[] = {
      {kRegSz, "text", Bytes{'t', 'e', 'x', 't', 0}},
      {kRegExpandSz, "%PATH%", Bytes{'%', 'P', 'A', 'T', 'H', '%', 0}},
      {kRegBinary, "200", Bytes{0xC8, 0, 0, 0}},
      {kRegBinary, "256", std::nullopt},
      {kRegBinary, "-1", std::nullopt},
      {kRegBinary, "word", std::nullopt},
      {kRegDword, " -5 ", Bytes{0xFB, 0xFF, 0xFF, 0xFF}},
      {kRegDword, "12" + sep + "5", Bytes{12, 0, 0, 0}},
      {kRegDword, "13" + sep + "5", Bytes{14, 0, 0, 0}},
      {kRegDword, "2147483648", std::nullopt}};
  for (const auto& [type, text, bytes] : writes) {
    registry.DeleteRegKey(kHkeyCurrentUser, kBase);
    EXPECT_TRUE(Write(static_cast<std::int32_t>(type), "", "v", text)) << text;
    EXPECT_EQ(Stored("v"), bytes ? std::optional(std::pair(type, *bytes)) : std::nullopt) << text;
  }
  Write(kRegBinary, "", "v", "200");
  EXPECT_EQ(Read("v"), "200");
}

TEST_F(RegistryTest, ListingsJoinNamesWithMarkersAndCountValues) {
  EXPECT_EQ(registry.GetRegKeyItems(kHkeyCurrentUser, kBase), 0) << "a missing key";
  Write(kRegSz, "", "", "d");
  Write(kRegDword, "", "n", "7");
  for (const std::string& name :
       {std::string("A"), std::string("B "), std::string("C*SK*D"), std::string(255, 'Z')}) {
    Write(kRegSz, "\\" + name, "", "");
  }
  EXPECT_EQ(registry.GetRegKeyItems(kHkeyCurrentUser, kBase), 2) << "values, not keys";
  EXPECT_EQ(registry.EnumerateRegKeyValues(kHkeyCurrentUser, kBase), "*NDS*d*IS*n*NDS*7");
  EXPECT_EQ(registry.EnumerateRegKeyItemNames(kHkeyCurrentUser, kBase), "*IS*n");
  // Blanks go, markers stay as they are, and a name that fills the buffer ends the list.
  EXPECT_EQ(registry.EnumerateRegKeys(kHkeyCurrentUser, kBase), "A*SK*B*SK*C*SK*D");
}

TEST_F(RegistryTest, DeletingAKeyTakesItsWholeSubtreeWhateverItsNames) {
  for (const char* path : {"\\a\\b\\c", "\\ blank \\x", "\\m*SK*n\\*IS*"})
    Write(kRegSz, path, "v", "1");
  registry.DeleteRegKey(kHkeyCurrentUser, kBase);
  EXPECT_FALSE(KeyExists(""));
  registry.DeleteRegKey(kHkeyCurrentUser, kBase);  // a missing key: nothing happens
  Write(kRegSz, "", kBase, "named like the path");
  std::string name;
  EXPECT_TRUE(registry.DeleteRegKeyValue(kHkeyCurrentUser, kBase, name));
  EXPECT_EQ(name, kBase) << "the caller's name receives the path";
  EXPECT_FALSE(registry.DeleteRegKeyValue(kHkeyCurrentUser, kBase)) << "no such value";
  EXPECT_FALSE(registry.DeleteRegKeyValue(kHkeyCurrentUser, kBase + std::string("\\none")));
}

TEST_F(RegistryTest, AnExportReplacesAFileOnlyWhenItsSaveIsWholeAndAnImportRestoresTheKey) {
  const std::string file = platform.folder + "key.reg", none = kBase + std::string("\\none");
  Write(kRegSz, "\\sub", "v", "old");
  api.SetLastErrorCode(5);  // an error left by an earlier call does not count
  ASSERT_TRUE(registry.ExportRegKey(kHkeyCurrentUser, kBase, file));
  const auto first = FileContent(file);
  Write(kRegSz, "\\sub", "v", "new");
  EXPECT_TRUE(registry.ExportRegKey(kHkeyCurrentUser, kBase, file));
  EXPECT_NE(FileContent(file), first) << "the file holds the new save";
  // A failed save, a missing key, a hidden file and a missing folder touch nothing.
  const auto second = FileContent(file);
  std::filesystem::create_directory(file + ".melodane-new");
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase, file));
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, none, file));
  EXPECT_EQ(FileContent(file), second);
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase, platform.hidden_file));
  EXPECT_EQ(FileContent(platform.hidden_file), "mine");
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase,
                                     platform.folder + "no" + platform.folder.back() + "no.reg"));

  EXPECT_FALSE(registry.ImportRegKey(kHkeyCurrentUser, none, file));
  EXPECT_FALSE(KeyExists("\\none")) << "an import creates no key";
  if (platform.wine) GTEST_SKIP() << "Wine's RegRestoreKeyA restores nothing";
  EXPECT_FALSE(registry.ImportRegKey(kHkeyCurrentUser, kBase, platform.folder + "none.reg"));
  Write(kRegSz, "\\extra", "v", "1");
  Write(kRegSz, "\\sub", "v", "newer");
  ASSERT_TRUE(registry.ImportRegKey(kHkeyCurrentUser, kBase, file));
  EXPECT_EQ(registry.EnumerateRegKeys(kHkeyCurrentUser, kBase), "sub");
  EXPECT_EQ(Read("v", "\\sub"), "new");
}

}  // namespace
}  // namespace melodane
