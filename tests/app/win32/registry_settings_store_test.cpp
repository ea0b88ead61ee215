#include "app/win32/registry_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace melodane::win32 {
namespace {

TEST(RegistrySettingsStore, TextEndsAtItsFirstNulAndAValueThatIsNoTextIsMissing) {
  constexpr char kApp[] = "Software\\VB and VBA Program Settings\\MelodaneStoreTest";
  const std::string key = std::string(kApp) + "\\Value";
  const DWORD number = 70;
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Bare", REG_SZ, "123", 3);
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Inner", REG_SZ, "12\099", 6);  // 12, NUL, 99
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Tools", REG_DWORD, &number, sizeof number);
  RegistrySettingsStore store;
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Value", "Bare"), "123");
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Value", "Inner"), "12");
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Value", "Tools"), std::nullopt);
  EXPECT_EQ(store.Load("MelodaneStoreTest", "Other", "Bare"), std::nullopt);
  RegDeleteTreeA(HKEY_CURRENT_USER, kApp);
}

}  // namespace
}  // namespace melodane::win32
