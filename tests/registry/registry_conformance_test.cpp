// The Registry class against the platform's registry: the SQLite stand-in on Linux,
// Wine's registry for the Windows build. Each test works below its own key of the
// current user's, removed before and after.
#include "registry/registry.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "registry/registry_platform.h"

namespace melodane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::FileContent;

struct RegistryTest : ::testing::Test {
  void SetUp() override { registry.DeleteRegKey(kHkeyCurrentUser, kBase); }
  void TearDown() override { registry.DeleteRegKey(kHkeyCurrentUser, kBase); }
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
    if (!found) return std::nullopt;
    data.resize(size);
    return std::pair(type, data);
  }
  bool KeyExists(const std::string& path) {
    RegKey key = 0;
    if (api.OpenKey(RootKey(kHkeyCurrentUser), path, kKeyRead, key) != 0) return false;
    return api.CloseKey(key), true;
  }
  std::string Read(const std::string& name) {
    return registry.ReadRegKey(kHkeyCurrentUser, kBase, name);
  }

  static constexpr char kBase[] = "Software\\MelodaneConformance";
  testing::RegistryPlatform platform = testing::MakeRegistryPlatform();
  RegistryApi& api = *platform.api;
  Registry registry{api};
};

TEST_F(RegistryTest, ReadingGivesTextsAndNumbersAndWhatIsMissingGivesWhatWasAskedFor) {
  EXPECT_EQ(registry.ReadRegKey(kHkeyCurrentUser, kBase, "v", "none"), "none");
  EXPECT_EQ(Read("v"), "") << "a missing key with the argument left out";
  const std::pair<Bytes, std::uint32_t> values[] = {{{'a', 'b', 0}, kRegSz},
                                                    {{0}, kRegSz},
                                                    {{}, kRegSz},
                                                    {{'a', 'b'}, kRegSz},
                                                    {{0xFF, 0xFF, 0xFF, 0xFF}, kRegDword},
                                                    {{0x34, 0x12}, kRegBinary},
                                                    {Bytes(8, 1), kRegBinary},
                                                    {Bytes(8, 1), kRegQword},
                                                    {{'a', 0, 'b', 0, 0}, kRegMultiSz}};
  const char* const expected[] = {"ab", "", "", "", "-1", "4660", "", "", ""};
  for (std::size_t i = 0; i < std::size(values); ++i) {
    Raw("v", values[i].second, values[i].first);
    EXPECT_EQ(Read("v"), expected[i]) << i;
  }
  EXPECT_EQ(Read("missing"), "") << "a missing value in an existing key";
  Raw("e", kRegExpandSz, {'<', '%', 'P', 'A', 'T', 'H', '%', '>', 0});
  EXPECT_EQ(Read("e"), "<" + std::string(std::getenv("PATH")) + ">");
  const std::string long_text = "%PATH%" + std::string(1000, 'x');
  Raw("e", kRegExpandSz, Bytes(long_text.c_str(), long_text.c_str() + long_text.size() + 1));
  EXPECT_EQ(Read("e"), "") << "an expansion longer than 1000 bytes";
}

TEST_F(RegistryTest, WritingCreatesThePathAndStoresEachTypeAsItsBytes) {
  const std::string deep = std::string(kBase) + "\\a\\b";
  EXPECT_TRUE(registry.WriteRegKey(7, kHkeyCurrentUser, deep, "v", "1"));
  EXPECT_TRUE(KeyExists(deep)) << "every key on the path is made, even for a type not written";
  const std::string sep(1, api.DecimalSeparator());
  const std::tuple<std::int32_t, std::string, std::optional<Bytes>> writes[] = {
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
    EXPECT_TRUE(registry.WriteRegKey(type, kHkeyCurrentUser, kBase, "v", text)) << text;
    std::optional<Bytes> stored;
    if (const auto value = Stored("v")) {
      stored = value->second;
      EXPECT_EQ(value->first, static_cast<std::uint32_t>(type)) << text;
    }
    EXPECT_EQ(stored, bytes) << text;
  }
  registry.WriteRegKey(kRegBinary, kHkeyCurrentUser, kBase, "v", "200");
  EXPECT_EQ(Read("v"), "200");
}

TEST_F(RegistryTest, ListingsJoinNamesWithMarkersAndCountValues) {
  EXPECT_EQ(registry.EnumerateRegKeys(kHkeyCurrentUser, kBase), "") << "a missing key";
  EXPECT_EQ(registry.GetRegKeyItems(kHkeyCurrentUser, kBase), 0);
  registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase, "", "d");
  EXPECT_EQ(registry.GetRegKeyItems(kHkeyCurrentUser, kBase), 1) << "the default value alone";
  EXPECT_EQ(registry.EnumerateRegKeys(kHkeyCurrentUser, kBase), "") << "no subkeys";
  registry.WriteRegKey(kRegDword, kHkeyCurrentUser, kBase, "n", "7");
  EXPECT_EQ(registry.EnumerateRegKeyValues(kHkeyCurrentUser, kBase), "*NDS*d*IS*n*NDS*7");
  EXPECT_EQ(registry.EnumerateRegKeyItemNames(kHkeyCurrentUser, kBase), "*IS*n");
  for (const std::string& name :
       {std::string("A"), std::string("B "), std::string("C*SK*D"), std::string(255, 'Z')}) {
    registry.WriteRegKey(kRegSz, kHkeyCurrentUser, std::string(kBase) + "\\" + name, "", "");
  }
  // Blanks go, markers stay as they are, and a name that fills the buffer ends the list.
  EXPECT_EQ(registry.EnumerateRegKeys(kHkeyCurrentUser, kBase), "A*SK*B*SK*C*SK*D");
}

TEST_F(RegistryTest, DeletingAKeyTakesItsWholeSubtreeWhateverItsNames) {
  for (const char* path : {"\\a\\b\\c", "\\ blank \\x", "\\m*SK*n\\*IS*"}) {
    registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase + std::string(path), "v", "1");
  }
  registry.DeleteRegKey(kHkeyCurrentUser, kBase);
  EXPECT_FALSE(KeyExists(kBase));
  registry.DeleteRegKey(kHkeyCurrentUser, kBase);  // a missing key: nothing happens
  registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase, kBase, "named like the path");
  std::string name;
  EXPECT_TRUE(registry.DeleteRegKeyValue(kHkeyCurrentUser, kBase, name));
  EXPECT_EQ(name, kBase) << "the caller's name receives the path";
  EXPECT_FALSE(registry.DeleteRegKeyValue(kHkeyCurrentUser, kBase)) << "no such value";
  EXPECT_FALSE(registry.DeleteRegKeyValue(kHkeyCurrentUser, kBase + std::string("\\none")));
}

TEST_F(RegistryTest, AnExportReplacesAFileOnlyWhenItsSaveIsWholeAndAnImportRestoresTheKey) {
  const std::string file = platform.folder + "key.reg",
                    hidden = platform.make_hidden_file(platform.folder);
  registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase + std::string("\\sub"), "v", "old");
  api.SetLastErrorCode(5);  // an error left by an earlier call does not count
  ASSERT_TRUE(registry.ExportRegKey(kHkeyCurrentUser, kBase, file));
  const auto first = FileContent(file);
  registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase + std::string("\\sub"), "v", "new");
  EXPECT_TRUE(registry.ExportRegKey(kHkeyCurrentUser, kBase, file));
  EXPECT_NE(FileContent(file), first) << "the file holds the new save";
  // A failed save, a missing key, a hidden file and a missing folder touch nothing.
  const auto second = FileContent(file);
  std::filesystem::create_directory(file + ".melodane-new");
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase, file));
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase + std::string("\\none"), file));
  EXPECT_EQ(FileContent(file), second);
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase, hidden));
  EXPECT_EQ(FileContent(hidden), "mine");
  EXPECT_FALSE(registry.ExportRegKey(kHkeyCurrentUser, kBase,
                                     platform.folder + "no" + platform.folder.back() + "no.reg"));

  EXPECT_FALSE(registry.ImportRegKey(kHkeyCurrentUser, kBase + std::string("\\none"), file));
  EXPECT_FALSE(KeyExists(kBase + std::string("\\none"))) << "an import creates no key";
  if (platform.wine) GTEST_SKIP() << "Wine's RegRestoreKeyA restores nothing";
  EXPECT_FALSE(registry.ImportRegKey(kHkeyCurrentUser, kBase, platform.folder + "none.reg"));
  registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase + std::string("\\extra"), "v", "1");
  registry.WriteRegKey(kRegSz, kHkeyCurrentUser, kBase + std::string("\\sub"), "v", "newer");
  ASSERT_TRUE(registry.ImportRegKey(kHkeyCurrentUser, kBase, file));
  EXPECT_EQ(registry.EnumerateRegKeys(kHkeyCurrentUser, kBase), "sub");
  EXPECT_EQ(registry.ReadRegKey(kHkeyCurrentUser, kBase + std::string("\\sub"), "v"), "new");
}

}  // namespace
}  // namespace melodane
