#pragma once
// The application's queue of deferred calls: any thread posts a call, the GUI thread runs the
// calls in posting order, from the GLib main loop or inside an explicit ProcessMessages.

#include <functional>

namespace platform {

// Appends a call to the queue; safe from any thread. The call runs later on the GUI thread.
void QueueAsyncCall(std::function<void()> call);

// Runs the pending toolkit events and the queued calls, then returns (never blocks).
void ProcessMessages();

// Runs the queued calls only (those posted before and while it runs), in posting order. An
// exception from a call goes to the application's exception handlers (Glib), like one from a
// signal handler, and the next call runs.
void RunQueuedCalls();

// Number of calls waiting; for tests and diagnostics.
std::size_t QueuedCallCount();

} // namespace platform
