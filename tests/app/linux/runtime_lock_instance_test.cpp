#include "app/linux/runtime_lock_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/linux/unprivileged.h"

namespace melodane::on_linux {
namespace {

namespace fs = std::filesystem;

struct RuntimeLockInstanceTest : ::testing::Test {
  void SetUp() override { mkdir(base.c_str(), 0700); }
  void TearDown() override { fs::remove_all(base); }
  bool AnotherRuns() { return RuntimeLockInstance(path).AnotherInstanceRuns(); }
  // `run` must say once on stderr that `where` is no safe place.
  template <typename Run>
  void NoPlace(const std::string& where, Run run) {
    ::testing::internal::CaptureStderr();
    run();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "melodane: no safe place for the single-instance lock (" + where +
                  "); running without it\n");
  }
  std::string base = fs::temp_directory_path() / ("melodane-lock-" + std::to_string(getpid()));
  std::string path = base + "/melodane.lock";
};

TEST_F(RuntimeLockInstanceTest, TheFirstHoldsTheClaimUntilItEnds) {
  {
    RuntimeLockInstance first(path);
    EXPECT_FALSE(first.AnotherInstanceRuns());
    EXPECT_FALSE(first.AnotherInstanceRuns()) << "asking again changes nothing";
    EXPECT_TRUE(AnotherRuns());
  }
  EXPECT_FALSE(AnotherRuns());
}

TEST_F(RuntimeLockInstanceTest, ALinkOrAnotherUsersFileIsNeverUsedEvenWhileTheyHoldIt) {
  const std::string elsewhere = base + "/theirs";
  fs::create_symlink(elsewhere, path);
  NoPlace(path, [&] { EXPECT_FALSE(AnotherRuns()); });
  EXPECT_FALSE(fs::exists(elsewhere)) << "made through the link";
  std::ofstream(elsewhere) << "theirs";
  NoPlace(path, [&] { EXPECT_FALSE(AnotherRuns()); });
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(elsewhere).rdbuf()), {}),
            "theirs");
  if (getuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  fs::remove(path);
  const UniqueFd theirs(open(path.c_str(), O_RDWR | O_CREAT, 0600));
  ASSERT_TRUE(fchown(theirs.get(), 65534, 65534) == 0 && flock(theirs.get(), LOCK_EX) == 0);
  NoPlace(path, [&] { EXPECT_FALSE(AnotherRuns()); });
}

TEST_F(RuntimeLockInstanceTest, TheFallbackFolderIsMadePrivateAndRefusedWhenItIsNot) {
  const std::string folder = base + "/melodane-" + std::to_string(getuid());
  RuntimeLockInstance::FallbackPath(base);  // made, then used again
  EXPECT_EQ(RuntimeLockInstance::FallbackPath(base), folder + "/melodane.lock");
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
  fs::permissions(folder, fs::perms::all);
  NoPlace(folder, [&] { EXPECT_EQ(RuntimeLockInstance::FallbackPath(base), ""); });
  fs::remove(folder);
  fs::create_directory_symlink(base, folder);  // the base is private too
  NoPlace(folder, [&] { EXPECT_EQ(RuntimeLockInstance::FallbackPath(base), ""); });
}

TEST_F(RuntimeLockInstanceTest, WithNoRuntimeFolderToWriteInTheLockFallsBackAndSaysWhere) {
  const char* const was = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = was ? was : "", file = base + "/file", closed = base + "/closed";
  std::ofstream{file};
  mkdir(closed.c_str(), 0500);
  const std::string fallback =
      base + "/melodane-" + std::to_string(testing::UnprivilegedUid()) + "/melodane.lock";
  const std::string said =
      "melodane: XDG_RUNTIME_DIR names no folder this user can write in; "
      "the single-instance lock is " +
      fallback + "\n";
  for (const char* runtime :
       {(const char*)nullptr, "", "/nonexistent", file.c_str(), closed.c_str(), base.c_str()}) {
    runtime ? setenv("XDG_RUNTIME_DIR", runtime, 1) : unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(testing::Unprivileged(base, [&] { return RuntimeLockInstance::DefaultPath(base); }),
              runtime == base.c_str() ? path : said + fallback)
        << (runtime ? runtime : "unset");
  }
  was ? setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace melodane::on_linux
