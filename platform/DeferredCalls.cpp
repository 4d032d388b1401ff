#include "DeferredCalls.h"

#include <deque>
#include <mutex>

#include <glib.h>
#include <glibmm/exceptionhandler.h>
#include <gtk/gtk.h>

namespace platform {
namespace {

std::mutex queueLock;
std::deque<std::function<void()>> queue;
bool drainScheduled = false; // an idle source is attached and will drain the queue

// Takes the oldest call, one at a time, so that a call that processes messages itself
// (and so drains the queue recursively) keeps the posting order intact.
bool TakeNext(std::function<void()>& call) {
  std::lock_guard<std::mutex> guard(queueLock);
  if (queue.empty())
    return false;
  call = std::move(queue.front());
  queue.pop_front();
  return true;
}

gboolean DrainFromMainLoop(gpointer) {
  {
    std::lock_guard<std::mutex> guard(queueLock);
    drainScheduled = false;
  }
  RunQueuedCalls();
  return G_SOURCE_REMOVE;
}

} // namespace

void QueueAsyncCall(std::function<void()> call) {
  bool schedule = false;
  {
    std::lock_guard<std::mutex> guard(queueLock);
    queue.push_back(std::move(call));
    if (!drainScheduled) {
      drainScheduled = true;
      schedule = true;
    }
  }
  if (schedule)
    g_idle_add_full(G_PRIORITY_DEFAULT, DrainFromMainLoop, nullptr, nullptr);
}

void RunQueuedCalls() {
  std::function<void()> call;
  while (TakeNext(call)) {
    try {
      call();
    } catch (...) {
      // Like an exception from a signal handler: the application's handlers present it.
      Glib::exception_handlers_invoke();
    }
    call = nullptr;
  }
}

void ProcessMessages() {
  // Without an initialised toolkit there are no events to pump, only our queue.
  if (gtk_main_level() > 0 || gdk_display_get_default() != nullptr) {
    while (gtk_events_pending())
      gtk_main_iteration_do(FALSE);
  } else {
    while (g_main_context_pending(nullptr))
      g_main_context_iteration(nullptr, FALSE);
  }
  RunQueuedCalls();
}

std::size_t QueuedCallCount() {
  std::lock_guard<std::mutex> guard(queueLock);
  return queue.size();
}

} // namespace platform
