#include "app/win32/registry_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace melodane::win32 {
namespace {

constexpr char kKey[] = "Software\\VB and VBA Program Settings\\MelodaneStoreTest\\Value";

struct RegistrySettingsStoreTest : ::testing::Test {
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\MelodaneStoreTest");
  }
  RegistrySettingsStore store;
};

TEST_F(RegistrySettingsStoreTest, TextEndsAtItsFirstNulAndAValueThatIsNoTextIsMissing) {
  const DWORD number = 70;
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Bare", REG_SZ, "123", 3);
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Inner", REG_SZ,
                  "12\0"
                  "99",
                  6);
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Tools", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Value", "Bare"), "123");
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Value", "Inner"), "12");
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Value", "Tools"), std::nullopt);
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Other", "Bare"), std::nullopt);
}

}  // namespace
}  // namespace melodane::win32
