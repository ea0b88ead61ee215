#include "app/linux/runtime_lock_instance.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace melodane::on_linux {
namespace {

std::string LockPath() {
  return (std::filesystem::temp_directory_path() /
          ("melodane-lock-" + std::to_string(getpid()) + ".lock"))
      .string();
}

TEST(RuntimeLockInstance, TheFirstHoldsTheClaimUntilItEnds) {
  const std::string path = LockPath();
  {
    RuntimeLockInstance first(path);
    EXPECT_FALSE(first.AnotherInstanceRuns());
    EXPECT_FALSE(first.AnotherInstanceRuns()) << "asking again changes nothing";
    RuntimeLockInstance second(path);
    EXPECT_TRUE(second.AnotherInstanceRuns());
  }
  RuntimeLockInstance third(path);
  EXPECT_FALSE(third.AnotherInstanceRuns());
  std::filesystem::remove(path);
}

TEST(RuntimeLockInstance, AKilledHolderLeavesNothingStuck) {
  const std::string path = LockPath();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RuntimeLockInstance holder(path);
    const char answer = holder.AnotherInstanceRuns() ? 'n' : 'y';
    [[maybe_unused]] auto written = write(ready[1], &answer, 1);
    pause();
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, 'y');
  EXPECT_TRUE(RuntimeLockInstance(path).AnotherInstanceRuns());
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(RuntimeLockInstance(path).AnotherInstanceRuns());
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace melodane::on_linux
