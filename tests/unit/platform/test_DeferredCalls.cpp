// The application's queue of deferred calls: calls posted from any thread run on the thread
// that processes messages, in posting order, also when a call processes messages itself.

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <glibmm/exceptionhandler.h>
#include <gtest/gtest.h>

#include "DeferredCalls.h"

namespace {

void DrainAll() {
  while (platform::QueuedCallCount() > 0)
    platform::ProcessMessages();
}

TEST(DeferredCalls, CallsFromManyThreadsRunOnTheProcessingThreadInPostingOrder) {
  constexpr int threads = 4, callsPerThread = 500;
  const std::thread::id gui = std::this_thread::get_id();
  std::mutex orderLock;
  std::vector<int> posted; // the order in which the calls were queued
  std::vector<int> ran;    // the order in which they ran
  std::atomic<int> offGui{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < callsPerThread; ++i) {
        int id = t * callsPerThread + i;
        std::lock_guard<std::mutex> guard(orderLock); // queue and record as one step
        posted.push_back(id);
        platform::QueueAsyncCall([&, id] {
          if (std::this_thread::get_id() != gui)
            ++offGui;
          ran.push_back(id);
        });
      }
    });
  }
  for (std::thread& worker : workers)
    worker.join();
  EXPECT_TRUE(ran.empty()) << "a call ran before messages were processed";
  DrainAll();
  EXPECT_EQ(offGui.load(), 0);
  EXPECT_EQ(ran, posted);
}

TEST(DeferredCalls, ACallThatProcessesMessagesKeepsTheOrder) {
  std::vector<std::string> ran;
  platform::QueueAsyncCall([&] {
    ran.push_back("first");
    platform::QueueAsyncCall([&] { ran.push_back("posted by first"); });
    platform::ProcessMessages(); // runs what is queued so far, in order
    ran.push_back("first done");
  });
  platform::QueueAsyncCall([&] { ran.push_back("second"); });
  DrainAll();
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "posted by first", "first done"}));
}

TEST(DeferredCalls, AFailingCallIsHandedToTheExceptionHandlersAndTheNextOneRuns) {
  std::vector<std::string> handled;
  sigc::connection handler = Glib::add_exception_handler([&] {
    try {
      throw;
    } catch (const std::exception& error) {
      handled.push_back(error.what());
    }
  });
  bool laterRan = false;
  platform::QueueAsyncCall([] { throw std::runtime_error("worker failed"); });
  platform::QueueAsyncCall([&] { laterRan = true; });
  DrainAll();
  handler.disconnect();
  EXPECT_EQ(handled, std::vector<std::string>{"worker failed"});
  EXPECT_TRUE(laterRan);
}

} // namespace
