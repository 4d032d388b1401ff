#include "RecursiveLock.h"

namespace platform {

void RecursiveLock::Acquire() {
  std::unique_lock<std::mutex> guard(mutex_);
  const std::thread::id self = std::this_thread::get_id();
  if (depth_ > 0 && owner_ == self) {
    ++depth_;
    return;
  }
  released_.wait(guard, [this] { return depth_ == 0; });
  owner_ = self;
  depth_ = 1;
}

bool RecursiveLock::Release() {
  std::unique_lock<std::mutex> guard(mutex_);
  if (depth_ == 0 || owner_ != std::this_thread::get_id())
    return false;
  if (--depth_ == 0) {
    owner_ = std::thread::id();
    guard.unlock();
    released_.notify_one();
  }
  return true;
}

bool RecursiveLock::HeldByCurrentThread() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return depth_ > 0 && owner_ == std::this_thread::get_id();
}

} // namespace platform
