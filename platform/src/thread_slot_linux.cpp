// Per-thread pointers on Linux, under a POSIX thread key.
#include <pthread.h>

#include "platform/thread_slot.h"

namespace platform {

ThreadSlot::ThreadSlot(Release release) noexcept : release_(release) {
    pthread_key_t key{};
    usable_ = pthread_key_create(&key, release) == 0;
    index_ = usable_ ? static_cast<uint32_t>(key) : 0;
}

ThreadSlot::~ThreadSlot() {
    if (!usable_)
        return;
    // A key's destructor runs only when a thread ends, never at exit: the thread
    // that unloads the library (at exit, the main thread) releases its own value.
    if (void *value = Get()) {
        Set(nullptr);
        release_(value);
    }
    pthread_key_delete(static_cast<pthread_key_t>(index_));
    usable_ = false;
}

void *ThreadSlot::Get() const noexcept {
    return usable_ ? pthread_getspecific(static_cast<pthread_key_t>(index_)) : nullptr;
}

bool ThreadSlot::Set(void *value) noexcept {
    return usable_ && pthread_setspecific(static_cast<pthread_key_t>(index_), value) == 0;
}

}  // namespace platform
