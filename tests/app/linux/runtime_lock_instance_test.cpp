#include "app/linux/runtime_lock_instance.h"

#include <sys/wait.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace melodane::on_linux {
namespace {

struct RuntimeLockInstanceTest : ::testing::Test {
  void TearDown() override { std::filesystem::remove(path); }
  bool AnotherRuns() { return RuntimeLockInstance(path).AnotherInstanceRuns(); }
  std::string path = "/tmp/melodane-lock-" + std::to_string(getpid());
};

TEST_F(RuntimeLockInstanceTest, TheFirstHoldsTheClaimWhereverItMovesUntilItEnds) {
  {
    RuntimeLockInstance first(path);
    EXPECT_FALSE(first.AnotherInstanceRuns());
    EXPECT_FALSE(first.AnotherInstanceRuns()) << "asking again changes nothing";
    const RuntimeLockInstance moved(std::move(first));
    EXPECT_TRUE(AnotherRuns());
  }
  EXPECT_FALSE(AnotherRuns());
}

TEST_F(RuntimeLockInstanceTest, AProcessThatEndsWithoutLettingGoLeavesNothingStuck) {
  const pid_t child = fork();
  if (child == 0) _exit(RuntimeLockInstance(path).AnotherInstanceRuns() ? 1 : 0);  // no cleanup
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0) << "the child took the lock";
  EXPECT_FALSE(AnotherRuns());
}

}  // namespace
}  // namespace melodane::on_linux
