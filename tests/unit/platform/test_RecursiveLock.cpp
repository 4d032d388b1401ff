#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "RecursiveLock.h"

using platform::RecursiveLock;

TEST(RecursiveLock, HolderMayReenterAndOthersWaitForTheLastRelease) {
  RecursiveLock lock;
  lock.Acquire();
  lock.Acquire();
  EXPECT_TRUE(lock.HeldByCurrentThread());

  auto other = std::async(std::launch::async, [&lock] {
    lock.Acquire();
    const bool held = lock.HeldByCurrentThread();
    lock.Release();
    return held;
  });
  EXPECT_TRUE(lock.Release());
  EXPECT_EQ(other.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  EXPECT_TRUE(lock.Release());
  EXPECT_FALSE(lock.HeldByCurrentThread());
  ASSERT_EQ(other.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_TRUE(other.get());
}

TEST(RecursiveLock, ReleaseByAThreadThatDoesNotHoldItIsRefused) {
  RecursiveLock lock;
  EXPECT_FALSE(lock.Release());
  lock.Acquire();
  auto stranger = std::async(std::launch::async, [&lock] { return lock.Release(); });
  EXPECT_FALSE(stranger.get());
  EXPECT_TRUE(lock.HeldByCurrentThread());
  EXPECT_TRUE(lock.Release());
}
