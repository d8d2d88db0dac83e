#include "node_pool.h"

#include <cstdint>
#include <mutex>
#include <new>

namespace vek::node_pool {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

constexpr size_t kGrain = 16;                   // block sizes are multiples of this
constexpr size_t kLargest = 512;                // larger blocks: the general allocator
constexpr size_t kClasses = kLargest / kGrain;  // class c holds blocks of (c + 1) * kGrain
constexpr size_t kSlabBytes = 64 * 1024;        // what a class takes at a time
constexpr uint32_t kBatch = 64;                 // blocks a thread takes from the shared list
constexpr uint32_t kKept = 4 * kBatch;          // blocks a thread keeps before giving back

struct FreeBlock {
    FreeBlock *next;
};

FreeBlock *LastOf(FreeBlock *first) {
    while (first->next != nullptr)
        first = first->next;
    return first;
}

// The free blocks of one size class that no thread holds.
struct SharedList {
    std::mutex mutex;
    FreeBlock *head = nullptr;
};

// Never destroyed: nodes may be freed by other modules' static objects after this
// library's have gone.
SharedList &Shared(size_t size_class) {
    struct Holder {
        union {
            SharedList lists[kClasses];
        };
        Holder() {
            for (SharedList &list : lists)
                new (&list) SharedList();
        }
        ~Holder() {}
    };
    static Holder holder;
    return holder.lists[size_class];
}

// A thread's own lists. Plain data, so reading it costs no initialisation check; the
// first use registers a Returner that hands the blocks back when the thread ends.
struct ThreadLists {
    FreeBlock *head[kClasses];
    uint32_t count[kClasses];
    bool registered;
    bool ended;  // the thread is ending: every block goes straight to the shared lists
};

thread_local ThreadLists t_lists{};

void GiveBack(size_t size_class, FreeBlock *first, FreeBlock *last) noexcept {
    SharedList &shared = Shared(size_class);
    const std::lock_guard<std::mutex> lock(shared.mutex);
    last->next = shared.head;
    shared.head = first;
}

struct Returner {
    ~Returner() {
        for (size_t c = 0; c < kClasses; ++c) {
            FreeBlock *first = t_lists.head[c];
            if (first == nullptr)
                continue;
            GiveBack(c, first, LastOf(first));
            t_lists.head[c] = nullptr;
            t_lists.count[c] = 0;
        }
        t_lists.ended = true;
    }
    void Register() {}
};

thread_local Returner t_returner;

// Cuts a slab into blocks of the class and links them; throws std::bad_alloc.
FreeBlock *CutSlab(size_t size_class, uint32_t &count) {
    const size_t block = (size_class + 1) * kGrain;
    // Leaked on purpose: the blocks live on in the lists for the life of the process.
    auto *slab = static_cast<unsigned char *>(::operator new(kSlabBytes));
    count = static_cast<uint32_t>(kSlabBytes / block);
    for (uint32_t i = 0; i + 1 < count; ++i)
        reinterpret_cast<FreeBlock *>(slab + i * block)->next =
            reinterpret_cast<FreeBlock *>(slab + (i + 1) * block);
    reinterpret_cast<FreeBlock *>(slab + (count - 1) * block)->next = nullptr;
    return reinterpret_cast<FreeBlock *>(slab);
}

// Up to `most` blocks from the shared list, or a new slab when it is empty.
FreeBlock *TakeBatch(size_t size_class, uint32_t most, uint32_t &count) {
    {
        SharedList &shared = Shared(size_class);
        const std::lock_guard<std::mutex> lock(shared.mutex);
        if (FreeBlock *first = shared.head) {
            FreeBlock *last = first;
            count = 1;
            while (count < most && last->next != nullptr) {
                last = last->next;
                ++count;
            }
            shared.head = last->next;
            last->next = nullptr;
            return first;
        }
    }
    return CutSlab(size_class, count);
}

ThreadLists &Lists() {
    ThreadLists &lists = t_lists;
    if (!lists.registered) {
        t_returner.Register();  // constructs it for this thread, so that it runs at exit
        lists.registered = true;
    }
    return lists;
}

// A thread whose lists are gone takes one block at a time from the shared list.
void *TakeOne(size_t size_class) {
    uint32_t count = 0;
    FreeBlock *first = TakeBatch(size_class, 1, count);
    if (first->next != nullptr)
        GiveBack(size_class, first->next, LastOf(first->next));
    return first;
}

}  // namespace

void *Allocate(size_t size) {
    const size_t size_class = (size + kGrain - 1) / kGrain - 1;
    if (!kPooled || size == 0 || size_class >= kClasses)
        return ::operator new(size);
    ThreadLists &lists = Lists();
    if (lists.ended)
        return TakeOne(size_class);
    FreeBlock *block = lists.head[size_class];
    if (block == nullptr)
        block = TakeBatch(size_class, kBatch, lists.count[size_class]);
    lists.head[size_class] = block->next;
    --lists.count[size_class];
    return block;
}

void Release(void *block, size_t size) noexcept {
    if (block == nullptr)
        return;
    const size_t size_class = (size + kGrain - 1) / kGrain - 1;
    if (!kPooled || size == 0 || size_class >= kClasses) {
        ::operator delete(block);
        return;
    }
    auto *freed = static_cast<FreeBlock *>(block);
    ThreadLists &lists = Lists();
    if (lists.ended) {
        freed->next = nullptr;
        GiveBack(size_class, freed, freed);
        return;
    }
    freed->next = lists.head[size_class];
    lists.head[size_class] = freed;
    if (++lists.count[size_class] < kKept)
        return;
    // Hand all but one batch back, so that a thread that only frees keeps little.
    FreeBlock *last = freed;
    for (uint32_t i = 1; i < kBatch; ++i)
        last = last->next;
    FreeBlock *first = last->next;
    last->next = nullptr;
    lists.count[size_class] = kBatch;
    GiveBack(size_class, first, LastOf(first));
}

}  // namespace vek::node_pool
