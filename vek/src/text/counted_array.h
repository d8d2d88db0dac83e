// The layout of the counted arrays that the library hands out, for the parts of the
// library that build them without going through the exports.
#pragma once

#include <cstdint>
#include <string_view>

namespace vek {

struct ArrayHeader {
    uint32_t capacity;  // items that fit, not counting the zero item
    uint32_t item_size;
    uint32_t reserved;
    uint32_t count;  // must stay last: it is the word before the first item
};
static_assert(sizeof(ArrayHeader) == 16);

// The item count of a counted array of the library (0 for null): the word before its
// first item.
inline uint32_t CountOf(const void *items) {
    if (items == nullptr)
        return 0;
    return reinterpret_cast<const ArrayHeader *>(static_cast<const char *>(items) -
                                                 sizeof(ArrayHeader))
        ->count;
}

// A new counted array of `count` (> 0) items of `item_size` bytes copied from
// `items`; null with the thread's error set (for `function`) when it cannot be made.
void *NewCountedArray(const void *items, int32_t count, int32_t item_size, const char *function);

// Writes `text` as a counted text into storage that its owner provides: `header`
// immediately followed by `characters` (room for the text and its zero). Returns the
// text, which must never be given to VekTextFree.
char *PlaceCountedText(ArrayHeader &header, char *characters, std::string_view text);

}  // namespace vek
