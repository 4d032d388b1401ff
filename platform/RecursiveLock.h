#pragma once
// A lock that the thread holding it may take again; it is free once every Acquire of that thread
// has been matched by a Release. Unlike std::recursive_mutex it can tell whether the calling
// thread holds it, so a stray Release from another thread is refused instead of being undefined.

#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

class RecursiveLock {
public:
  void Acquire();
  // Releases one level; false (and nothing changes) when the calling thread does not hold it.
  bool Release();
  bool HeldByCurrentThread() const;

private:
  mutable std::mutex mutex_;
  std::condition_variable released_;
  std::thread::id owner_;
  unsigned depth_ = 0;
};

// Holds a RecursiveLock for one scope.
class RecursiveLockGuard {
public:
  explicit RecursiveLockGuard(RecursiveLock& lock) : lock_(lock) { lock_.Acquire(); }
  ~RecursiveLockGuard() { lock_.Release(); }
  RecursiveLockGuard(const RecursiveLockGuard&) = delete;
  RecursiveLockGuard& operator=(const RecursiveLockGuard&) = delete;

private:
  RecursiveLock& lock_;
};

} // namespace platform
