// Counted arrays: a header, the items, then one all-zero item. The item count sits
// in the 32-bit word just before the first item, which is what hosts read.
#include "text/counted_array.h"

#include <cstring>
#include <limits>

#include "errors/failure.h"
#include "vek64.h"

namespace {

using vek::ArrayHeader;

constexpr uint64_t kMaxBytes = 0x7FFFFFF0u;

ArrayHeader *HeaderOf(const void *items) {
    return reinterpret_cast<ArrayHeader *>(const_cast<char *>(static_cast<const char *>(items)) -
                                           sizeof(ArrayHeader));
}

char *ItemsOf(ArrayHeader *header) {
    return reinterpret_cast<char *>(header + 1);
}

// Number of items before the first all-zero item.
int64_t ZeroTerminatedCount(const void *source, int32_t item_size) {
    if (source == nullptr)
        return 0;
    const auto *bytes = static_cast<const char *>(source);
    if (item_size == 1)
        return static_cast<int64_t>(std::strlen(bytes));
    int64_t count = 0;
    for (;; ++count) {
        const char *item = bytes + count * item_size;
        bool all_zero = true;
        for (int32_t i = 0; i < item_size && all_zero; ++i)
            all_zero = item[i] == 0;
        if (all_zero)
            return count;
    }
}

// Builds a new array of `prefix_count` items of `prefix` followed by `count` items of
// `source`. Returns null with the error set when it cannot.
void *BuildArray(const void *prefix, int64_t prefix_count, const void *source, int64_t count,
                 int32_t item_size, int64_t capacity, const char *function) {
    const int64_t total = prefix_count + count;
    if (capacity < total || static_cast<uint64_t>(capacity + 1) * item_size > kMaxBytes)
        capacity = total;
    const uint64_t bytes = static_cast<uint64_t>(capacity + 1) * static_cast<uint64_t>(item_size);
    if (total > std::numeric_limits<int32_t>::max() || bytes > kMaxBytes) {
        vek::Fail(VEK_E_OVERFLOW, function, "Array of %lld items of %d bytes is too large",
                  static_cast<long long>(total), item_size);
        return nullptr;
    }
    auto *header =
        static_cast<ArrayHeader *>(ZamAllocMem(static_cast<uint32_t>(sizeof(ArrayHeader) + bytes)));
    if (header == nullptr)
        return nullptr;
    header->capacity = static_cast<uint32_t>(capacity);
    header->item_size = static_cast<uint32_t>(item_size);
    header->reserved = 0;
    header->count = static_cast<uint32_t>(total);
    char *items = ItemsOf(header);
    if (prefix_count > 0)
        std::memcpy(items, prefix, static_cast<size_t>(prefix_count * item_size));
    if (count > 0)
        std::memcpy(items + prefix_count * item_size, source,
                    static_cast<size_t>(count * item_size));
    std::memset(items + total * item_size, 0, static_cast<size_t>(item_size));
    return items;
}

void FreeArray(void *items) {
    if (items != nullptr)
        ZamFreeMem(HeaderOf(items));
}

int32_t CheckArguments(void **array, const void *source, int32_t count, int32_t item_size,
                       const char *function) {
    if (array == nullptr)
        return vek::Fail(VEK_E_POINTER, function, "No array address given");
    if (item_size <= 0)
        return vek::Fail(VEK_E_INVALIDARG, function, "Invalid item size: %d", item_size);
    if (*array != nullptr && HeaderOf(*array)->item_size != static_cast<uint32_t>(item_size))
        return vek::Fail(VEK_E_INVALIDARG, function, "Item size %d differs from the array's %u",
                         item_size, HeaderOf(*array)->item_size);
    if (count > 0 && source == nullptr)
        return vek::Fail(VEK_E_POINTER, function, "No source for %d items", count);
    return 0;
}

// Replaces *array by prefix + source, building the new block before freeing the old
// one so that a source inside the old array stays readable.
int32_t Rebuild(void **array, const void *prefix, int64_t prefix_count, const void *source,
                int64_t count, int32_t item_size, int64_t capacity, const char *function) {
    void *fresh = nullptr;
    if (prefix_count + count > 0) {
        fresh = BuildArray(prefix, prefix_count, source, count, item_size, capacity, function);
        if (fresh == nullptr)
            return ZamGetLastError();
    }
    FreeArray(*array);
    *array = fresh;
    return static_cast<int32_t>(prefix_count + count);
}

// Copies between two blocks that do not overlap. The short texts that make most
// arrays are copied by a few word moves: a call to the library's copy costs more
// than such a copy.
void CopyBytes(char *to, const char *from, size_t size) {
    if (size >= 8 && size <= 16) {
        uint64_t head = 0, tail = 0;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + size - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + size - sizeof tail, &tail, sizeof tail);
    } else if (size >= 4 && size < 8) {
        uint32_t head = 0, tail = 0;
        std::memcpy(&head, from, sizeof head);
        std::memcpy(&tail, from + size - sizeof tail, sizeof tail);
        std::memcpy(to, &head, sizeof head);
        std::memcpy(to + size - sizeof tail, &tail, sizeof tail);
    } else if (size > 0 && size < 4) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    } else if (size > 16) {
        std::memcpy(to, from, size);
    }
}

}  // namespace

namespace vek {

void *NewCountedArray(const void *items, int32_t count, int32_t item_size, const char *function) {
    // The general builder only for what it alone reports: a block too large.
    const uint64_t bytes = (static_cast<uint64_t>(count) + 1) * static_cast<uint64_t>(item_size);
    if (bytes > kMaxBytes)
        return BuildArray(nullptr, 0, items, count, item_size, count, function);
    auto *header =
        static_cast<ArrayHeader *>(ZamAllocMem(static_cast<uint32_t>(sizeof(ArrayHeader) + bytes)));
    if (header == nullptr)
        return nullptr;
    *header = ArrayHeader{static_cast<uint32_t>(count), static_cast<uint32_t>(item_size), 0,
                          static_cast<uint32_t>(count)};
    char *copy = ItemsOf(header);
    const size_t size = static_cast<size_t>(count) * static_cast<size_t>(item_size);
    CopyBytes(copy, static_cast<const char *>(items), size);
    // The zero item: one store for the texts that make most arrays.
    if (item_size == 1)
        copy[size] = '\0';
    else
        std::memset(copy + size, 0, static_cast<size_t>(item_size));
    return copy;
}

char *PlaceCountedText(ArrayHeader &header, char *characters, std::string_view text) {
    header.capacity = static_cast<uint32_t>(text.size());
    header.item_size = 1;
    header.reserved = 0;
    header.count = static_cast<uint32_t>(text.size());
    if (!text.empty())
        std::memmove(characters, text.data(), text.size());
    characters[text.size()] = '\0';
    return characters;
}

}  // namespace vek

VEK_API int32_t VEK_CALL VekArrayCopy_(void **array, const void *source, int32_t count,
                                       int32_t item_size) {
    if (int32_t status = CheckArguments(array, source, count, item_size, "VekArrayCopy_"))
        return status;
    const int64_t items = count < 0 ? ZeroTerminatedCount(source, item_size) : count;
    // Most copies make a new array of a short text: built directly.
    if (*array == nullptr && items > 0 && items <= std::numeric_limits<int32_t>::max()) {
        void *fresh =
            vek::NewCountedArray(source, static_cast<int32_t>(items), item_size, "VekArrayCopy_");
        if (fresh == nullptr)
            return ZamGetLastError();
        *array = fresh;
        return static_cast<int32_t>(items);
    }
    return Rebuild(array, nullptr, 0, source, items, item_size, items, "VekArrayCopy_");
}

VEK_API int32_t VEK_CALL VekArrayAppend_(void **array, const void *source, int32_t count,
                                         int32_t item_size) {
    if (int32_t status = CheckArguments(array, source, count, item_size, "VekArrayAppend_"))
        return status;
    const int64_t items = count < 0 ? ZeroTerminatedCount(source, item_size) : count;
    if (items == 0)
        return VekArrayCountEx_(*array);
    ArrayHeader *header = *array != nullptr ? HeaderOf(*array) : nullptr;
    if (header != nullptr && header->count + items <= header->capacity) {
        char *end = ItemsOf(header) + header->count * item_size;
        std::memmove(end, source, static_cast<size_t>(items * item_size));
        header->count += static_cast<uint32_t>(items);
        std::memset(ItemsOf(header) + header->count * item_size, 0, static_cast<size_t>(item_size));
        return static_cast<int32_t>(header->count);
    }
    const int64_t existing = header != nullptr ? header->count : 0;
    // Capacity doubles so that appending item by item stays linear.
    return Rebuild(array, *array, existing, source, items, item_size, 2 * (existing + items),
                   "VekArrayAppend_");
}

VEK_API int32_t VEK_CALL VekArrayClear_(void **array) {
    if (array != nullptr) {
        FreeArray(*array);
        *array = nullptr;
    }
    return 0;
}

VEK_API int32_t VEK_CALL VekArrayCountEx_(const void *array) {
    return array == nullptr ? 0 : static_cast<int32_t>(HeaderOf(array)->count);
}

VEK_API char *VEK_CALL VekTextNewA(const char *text, int32_t length) {
    void *array = nullptr;
    VekArrayCopy_(&array, text, text == nullptr ? 0 : length, 1);
    return static_cast<char *>(array);
}

VEK_API int32_t VEK_CALL VekTextLength(const char *text) {
    return VekArrayCountEx_(text);
}

VEK_API void VEK_CALL VekTextFree(char *text) {
    FreeArray(text);
}
