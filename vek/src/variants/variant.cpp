// Variants: life cycle, copies and the plain constructors. A variant owns its text,
// wide text or blob as a counted array of the library.
#include <cstring>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "platform/com.h"
#include "text/counted_array.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

// The counted array a variant owns and its item size, or null for plain values.
void **OwnedArray(VEKVARIANT &variant, int32_t &item_size) {
    switch (variant.type) {
        case VEK_VT_TEXT:
            item_size = 1;
            return reinterpret_cast<void **>(&variant.value.text);
        case VEK_VT_WTEXT:
            item_size = 2;
            return reinterpret_cast<void **>(&variant.value.wtext);
        case VEK_VT_BLOB:
            item_size = 1;
            return &variant.value.blob;
        default:
            return nullptr;
    }
}

bool IsPlainType(uint32_t type) {
    switch (type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
        case VEK_VT_INT32:
        case VEK_VT_R8:
        case VEK_VT_DATE:
        case VEK_VT_BOOL:
        case VEK_VT_INT:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool IsObjectType(uint32_t type) {
    return type == VEK_VT_DISPATCH || type == VEK_VT_UNKNOWN;
}

void Release(VEKVARIANT &variant) {
    int32_t item_size = 0;
    if (void **array = OwnedArray(variant, item_size))
        VekArrayClear_(array);
    else if (IsObjectType(variant.type) && variant.value.object != nullptr)
        static_cast<IUnknown *>(variant.value.object)->Release();
    std::memset(&variant, 0, sizeof variant);
}

namespace {

// Copies `count` (> 0) items into the array that the variant owns when it is of
// `type` and its block has room for them; false, with the variant untouched, when
// it is not. The items may lie inside that array.
bool CopyIntoOwnedBlock(VEKVARIANT &variant, uint32_t type, const void *items, size_t count,
                        int32_t item_size) {
    if (variant.type != type)
        return false;
    int32_t owned_size = 0;
    void **owned = OwnedArray(variant, owned_size);
    if (owned == nullptr || *owned == nullptr || owned_size != item_size)
        return false;
    auto *block = static_cast<char *>(*owned);
    auto *header = reinterpret_cast<ArrayHeader *>(block - sizeof(ArrayHeader));
    if (header->capacity < count)
        return false;
    const size_t bytes = count * static_cast<size_t>(item_size);
    std::memmove(block, items, bytes);
    header->count = static_cast<uint32_t>(count);
    std::memset(block + bytes, 0, static_cast<size_t>(item_size));
    return true;
}

}  // namespace

bool OverwriteInPlace(VEKVARIANT &target, const VEKVARIANT &source) {
    if (source.type != VEK_VT_TEXT && source.type != VEK_VT_BLOB)
        return false;
    const void *items = source.type == VEK_VT_TEXT ? static_cast<const void *>(source.value.text)
                                                   : source.value.blob;
    const uint32_t count = CountOf(items);
    return count > 0 && CopyIntoOwnedBlock(target, source.type, items, count, 1);
}

int32_t Duplicate(const VEKVARIANT &source, VEKVARIANT &copy, const char *function) {
    if (IsPlainType(source.type)) {
        copy = source;
        return 0;
    }
    if (IsObjectType(source.type)) {
        // A dispatch interface is an IUnknown too: AddRef sits in the same slot.
        if (source.value.object != nullptr)
            static_cast<IUnknown *>(source.value.object)->AddRef();
        copy = source;
        return 0;
    }
    VEKVARIANT fresh{};
    fresh.type = source.type;
    int32_t item_size = 0;
    void **target = OwnedArray(fresh, item_size);
    if (target == nullptr)
        return Fail(VEK_E_INVALIDARG, function, "Unknown variant type %u", source.type);
    const void *items = source.type == VEK_VT_TEXT ? source.value.text
                        : source.type == VEK_VT_WTEXT
                            ? static_cast<const void *>(source.value.wtext)
                            : source.value.blob;
    const auto count = static_cast<int32_t>(CountOf(items));
    if (count > 0) {
        *target = NewCountedArray(items, count, item_size, function);
        if (*target == nullptr)
            return ZamGetLastError();
    }
    copy = fresh;
    return 0;
}

namespace {

// Replaces the value by a new counted array of `count` items (null when empty).
int32_t AssignArray(VEKVARIANT &variant, uint32_t type, const void *items, size_t count,
                    int32_t item_size, const char *function) {
    // A variant that holds a value of the kind already keeps its block when the
    // new value fits: a variant reused for value after value allocates once.
    if (count > 0 && count <= INT32_MAX &&
        CopyIntoOwnedBlock(variant, type, items, count, item_size))
        return 0;
    void *array = nullptr;
    if (count > 0) {
        if (count > INT32_MAX)
            return Fail(VEK_E_OVERFLOW, function, "%s of %llu items is too long", TypeName(type),
                        static_cast<unsigned long long>(count));
        const int32_t status = VekArrayCopy_(&array, items, static_cast<int32_t>(count), item_size);
        if (status < 0)
            return status;
    }
    Release(variant);
    variant.type = type;
    int32_t owned_size = 0;
    *OwnedArray(variant, owned_size) = array;
    return 0;
}

}  // namespace

int32_t AssignText(VEKVARIANT &variant, std::string_view text, const char *function) {
    return AssignArray(variant, VEK_VT_TEXT, text.data(), text.size(), 1, function);
}

int32_t AssignWideText(VEKVARIANT &variant, std::string_view latin1, const char *function) {
    std::u16string units(latin1.size(), u'\0');
    for (size_t i = 0; i < latin1.size(); ++i)
        units[i] = static_cast<unsigned char>(latin1[i]);
    return AssignWideUnits(variant, reinterpret_cast<const uint16_t *>(units.data()), units.size(),
                           function);
}

int32_t AssignWideUnits(VEKVARIANT &variant, const uint16_t *units, size_t count,
                        const char *function) {
    return AssignArray(variant, VEK_VT_WTEXT, units, count, 2, function);
}

int32_t AssignBlob(VEKVARIANT &variant, std::string_view bytes, const char *function) {
    return AssignArray(variant, VEK_VT_BLOB, bytes.data(), bytes.size(), 1, function);
}

const char *TypeName(uint32_t type) {
    switch (type) {
        case VEK_VT_EMPTY:
            return "an empty value";
        case VEK_VT_NULL:
            return "a null value";
        case VEK_VT_INT32:
            return "a 32-bit integer";
        case VEK_VT_R8:
            return "a double";
        case VEK_VT_DATE:
            return "a date";
        case VEK_VT_WTEXT:
            return "a wide text";
        case VEK_VT_BOOL:
            return "a Boolean";
        case VEK_VT_INT:
            return "a 64-bit integer";
        case VEK_VT_TEXT:
            return "a text";
        case VEK_VT_BLOB:
            return "a blob";
        case VEK_VT_DISPATCH:
        case VEK_VT_UNKNOWN:
            return "an object";
        default:
            return "a value of unknown type";
    }
}

}  // namespace vek::variant

using namespace vek::variant;

VEK_API void VEK_CALL VekVarInit(VEKVARIANT *variant) {
    if (variant != nullptr)
        std::memset(variant, 0, sizeof *variant);
}

VEK_API void VEK_CALL VekVarClear(VEKVARIANT *variant) {
    if (variant != nullptr)
        Release(*variant);
}

VEK_API int32_t VEK_CALL VekVarCopy(VEKVARIANT *destination, const VEKVARIANT *source) {
    return vek::GuardStatus("VekVarCopy", [&]() -> int32_t {
        if (destination == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarCopy", "No destination variant given");
        if (destination == source)
            return 0;
        VEKVARIANT copy{};
        if (source != nullptr) {
            if (const int32_t status = Duplicate(*source, copy, "VekVarCopy"))
                return status;
        }
        Release(*destination);
        *destination = copy;
        return 0;
    });
}

VEK_API uint32_t VEK_CALL VekVarType(const VEKVARIANT *variant) {
    return variant == nullptr ? VEK_VT_EMPTY : variant->type;
}

namespace {

// Replaces the value of a variant by a plain one.
template <typename Store>
int32_t SetPlain(VEKVARIANT *variant, uint32_t type, const char *function, Store store) {
    return vek::GuardStatus(function, [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, function, "No variant given");
        Release(*variant);
        variant->type = type;
        store(variant->value);
        return 0;
    });
}

}  // namespace

VEK_API int32_t VEK_CALL VekVarFromInt32(VEKVARIANT *variant, int32_t value) {
    return SetPlain(variant, VEK_VT_INT32, "VekVarFromInt32",
                    [value](auto &slot) { slot.int32_value = value; });
}

VEK_API int32_t VEK_CALL VekVarFromInt(VEKVARIANT *variant, int64_t value) {
    return SetPlain(variant, VEK_VT_INT, "VekVarFromInt",
                    [value](auto &slot) { slot.int_value = value; });
}

VEK_API int32_t VEK_CALL VekVarFromStrA(VEKVARIANT *variant, const char *text, int32_t length) {
    return vek::GuardStatus("VekVarFromStrA", [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarFromStrA", "No variant given");
        return AssignText(*variant, vek::ViewOf(text, length), "VekVarFromStrA");
    });
}
