#include "app/win32/registry_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace melodane::win32 {
namespace {

constexpr char kBase[] = "Software\\VB and VBA Program Settings";
constexpr char kApp[] = "MelodaneStoreTest";
constexpr char kKey[] = "Software\\VB and VBA Program Settings\\MelodaneStoreTest\\Value";

class RegistrySettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\MelodaneStoreTest");
  }
  static void Raw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }

  RegistrySettingsStore store;
};

TEST_F(RegistrySettingsStoreTest, WritesOneTextValuePerKeyWhereEarlierReleasesKeptThem) {
  ASSERT_TRUE(store.Save(kApp, "Value", "Vol", "64"));
  char data[16] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey, "Vol", RRF_RT_ANY, &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, "64");
  EXPECT_EQ(size, 3u) << "text and its NUL";
}

TEST_F(RegistrySettingsStoreTest, ReadsBackWhatItWroteAndReplacesOldValues) {
  EXPECT_TRUE(store.Save(kApp, "Value", "Tray", "True"));
  EXPECT_TRUE(store.Save(kApp, "Value", "Tray", "False"));
  EXPECT_TRUE(store.Save(kApp, "Value", "Stage", ""));
  EXPECT_EQ(store.Load(kApp, "Value", "Tray"), "False");
  EXPECT_EQ(store.Load(kApp, "Value", "Stage"), "");
}

TEST_F(RegistrySettingsStoreTest, MissingApplicationSectionOrKeyIsNothing) {
  EXPECT_EQ(store.Load(kApp, "Value", "Vol"), std::nullopt);
  store.Save(kApp, "Value", "Vol", "1");
  EXPECT_EQ(store.Load(kApp, "Other", "Vol"), std::nullopt);
  EXPECT_EQ(store.Load(kApp, "Value", "Tools"), std::nullopt);
}

TEST_F(RegistrySettingsStoreTest, TextEndsAtItsFirstNulWithOrWithoutATerminator) {
  Raw("Bare", REG_SZ, "123", 3);
  Raw("Inner", REG_SZ,
      "12\0"
      "99",
      6);
  EXPECT_EQ(store.Load(kApp, "Value", "Bare"), "123");
  EXPECT_EQ(store.Load(kApp, "Value", "Inner"), "12");
}

TEST_F(RegistrySettingsStoreTest, AValueThatIsNoTextCountsAsMissing) {
  const DWORD number = 70;
  Raw("Tools", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(store.Load(kApp, "Value", "Tools"), std::nullopt);
}

TEST_F(RegistrySettingsStoreTest, AnotherBaseKeyKeepsTestsAwayFromTheRealSettings) {
  RegistrySettingsStore elsewhere("Software\\MelodaneStoreTestBase");
  ASSERT_TRUE(elsewhere.Save("App", "Sec", "K", "v"));
  EXPECT_EQ(elsewhere.Load("App", "Sec", "K"), "v");
  EXPECT_EQ(store.Load("App", "Sec", "K"), std::nullopt);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MelodaneStoreTestBase");
  (void)kBase;
}

}  // namespace
}  // namespace melodane::win32
