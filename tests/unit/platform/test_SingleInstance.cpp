#include <gtest/gtest.h>

#include <unistd.h>

#include "SingleInstance.h"

using platform::SingleInstance;

TEST(SingleInstance, SecondCheckFindsTheServerUntilItStops) {
  const std::string id = "{sivrant-test-" + std::to_string(::getpid()) + "}";
  EXPECT_EQ(SingleInstance::ServerName(id), "tuniqueinstance_" + id);
  {
    SingleInstance first;
    EXPECT_FALSE(first.AnotherInstanceRunning(id));
    SingleInstance second;
    EXPECT_TRUE(second.AnotherInstanceRunning(id));
    SingleInstance other;
    EXPECT_FALSE(other.AnotherInstanceRunning(id + "-other"));
  }
  // A stopped server (or one whose process died) leaves nothing behind.
  SingleInstance again;
  EXPECT_FALSE(again.AnotherInstanceRunning(id));
}
