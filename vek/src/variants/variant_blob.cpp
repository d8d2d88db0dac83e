// Blobs (byte strings held by a variant) and byte buffers: both are counted byte
// arrays of the library, null when they hold no bytes.
#include <string_view>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "variants/variant_ops.h"

namespace {

// The checks every byte-copying export makes before it touches its target.
int32_t CheckBytes(const void *bytes, int32_t count, const char *function) {
    if (count < 0)
        return vek::Fail(VEK_E_INVALIDARG, function, "Invalid byte count %d", count);
    if (count > 0 && bytes == nullptr)
        return vek::Fail(VEK_E_POINTER, function, "No bytes given for a count of %d", count);
    return 0;
}

std::string_view BytesOf(const void *bytes, int32_t count) {
    return count > 0
               ? std::string_view(static_cast<const char *>(bytes), static_cast<size_t>(count))
               : std::string_view();
}

}  // namespace

VEK_API int32_t VEK_CALL VekVarFromBlob(VEKVARIANT *variant, const void *bytes, int32_t count) {
    return vek::GuardStatus("VekVarFromBlob", [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarFromBlob", "No variant given");
        if (const int32_t status = CheckBytes(bytes, count, "VekVarFromBlob"))
            return status;
        return vek::variant::AssignBlob(*variant, BytesOf(bytes, count), "VekVarFromBlob");
    });
}

VEK_API int32_t VEK_CALL VekVarIsBlob(const VEKVARIANT *variant) {
    return variant != nullptr && variant->type == VEK_VT_BLOB ? 1 : 0;
}

VEK_API int32_t VEK_CALL VekBufCopy(void **buffer, const void *bytes, int32_t count) {
    return vek::GuardStatus("VekBufCopy", [&]() -> int32_t {
        if (buffer == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekBufCopy", "No buffer address given");
        if (const int32_t status = CheckBytes(bytes, count, "VekBufCopy"))
            return status;
        // The array copy builds the new block before it frees the old one, so the
        // bytes may come from the buffer itself.
        return VekArrayCopy_(buffer, bytes, count, 1);
    });
}
