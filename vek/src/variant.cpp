// Variants: life cycle, copies and the plain constructors. A variant owns its text,
// wide text or blob as a counted array of the library.
#include <cstring>

#include "failure.h"
#include "guarded_call.h"
#include "text_view.h"
#include "variant_ops.h"

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
        case VEK_VT_DATE:
        case VEK_VT_BOOL:
        case VEK_VT_INT:
            return true;
        default:
            return false;
    }
}

}  // namespace

void Release(VEKVARIANT &variant) {
    int32_t item_size = 0;
    if (void **array = OwnedArray(variant, item_size))
        VekArrayClear_(array);
    std::memset(&variant, 0, sizeof variant);
}

int32_t Duplicate(const VEKVARIANT &source, VEKVARIANT &copy, const char *function) {
    if (IsPlainType(source.type)) {
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
    const int32_t count = VekArrayCountEx_(items);
    if (count > 0) {
        const int32_t status = VekArrayCopy_(target, items, count, item_size);
        if (status < 0)
            return status;
    }
    copy = fresh;
    return 0;
}

int32_t AssignText(VEKVARIANT &variant, std::string_view text, const char *function) {
    char *counted = nullptr;
    if (!text.empty()) {
        if (text.size() > INT32_MAX)
            return Fail(VEK_E_OVERFLOW, function, "Text of %llu bytes is too long",
                        static_cast<unsigned long long>(text.size()));
        counted = VekTextNewA(text.data(), static_cast<int32_t>(text.size()));
        if (counted == nullptr)
            return ZamGetLastError();
    }
    Release(variant);
    variant.type = VEK_VT_TEXT;
    variant.value.text = counted;
    return 0;
}

const char *TypeName(uint32_t type) {
    switch (type) {
        case VEK_VT_EMPTY:
            return "an empty value";
        case VEK_VT_NULL:
            return "a null value";
        case VEK_VT_INT32:
            return "a 32-bit integer";
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
