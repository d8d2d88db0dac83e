// The lock that serialised exports hold for their whole call: recursive, so that
// an export may call another on the same thread.
//
// It is a plain mutex with the owning thread and a depth beside it. Taking it
// again on the owning thread only counts up; any other thread waits on the mutex.
// This costs an uncontended call a third of what the library's recursive mutex
// does, and every T export takes it once.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace Ostrel::Zam {

class Serial_Lock {
  public:
    Serial_Lock() = default;
    Serial_Lock(const Serial_Lock &) = delete;
    Serial_Lock &operator=(const Serial_Lock &) = delete;

    void lock() {
        const std::thread::id self = std::this_thread::get_id();
        // Only this thread ever stores its own id here, so reading it back means
        // this thread holds the lock.
        if (owner_.load(std::memory_order_relaxed) == self) {
            ++depth_;
            return;
        }
        mutex_.lock();
        owner_.store(self, std::memory_order_relaxed);
        depth_ = 1;
    }

    bool try_lock() {
        const std::thread::id self = std::this_thread::get_id();
        if (owner_.load(std::memory_order_relaxed) == self) {
            ++depth_;
            return true;
        }
        if (!mutex_.try_lock())
            return false;
        owner_.store(self, std::memory_order_relaxed);
        depth_ = 1;
        return true;
    }

    // Only the owning thread unlocks, once for every lock.
    void unlock() {
        if (--depth_ != 0)
            return;
        owner_.store(std::thread::id(), std::memory_order_relaxed);
        mutex_.unlock();
    }

  private:
    std::mutex mutex_;
    std::atomic<std::thread::id> owner_{};
    uint32_t depth_ = 0;  // touched by the owner only
};

}  // namespace Ostrel::Zam
