// Binary search in sorted lists of texts.
#include "vek64_store.h"

VEK_API int32_t VEK_CALL VekStrsBSearchA(const char *const *items, int32_t count, const char *key,
                                         int32_t key_length, uint32_t options) {
    // A failure status could not be told apart from the complement of a small
    // position, so a missing list simply reads as an empty one.
    if (items == nullptr || count <= 0)
        return ~0;
    // The first position whose item does not sort before the key: the first of
    // several equal items is the one found.
    int32_t low = 0;
    int32_t high = count;
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (VekStrnCompA(items[middle], -1, key, key_length, options) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < count && VekStrnCompA(items[low], -1, key, key_length, options) == 0)
        return low;
    return ~low;
}
