// VekVarCast: a value converted to another variant type. The result is built in a
// variant of its own and only then replaces the destination, so a failure leaves
// the destination as it was and the destination may be the source itself.
#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "platform/com.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr const char kCast[] = "VekVarCast";

int32_t CastToInteger(const VEKVARIANT &source, uint32_t type, VEKVARIANT &result) {
    int64_t value = 0;
    const IntegerTarget &target = type == VEK_VT_INT32 ? kInt32Target : kInt64Target;
    if (const int32_t status = IntegerOf(source, target, kCast, value))
        return status;
    result.type = type;
    if (type == VEK_VT_INT32)
        result.value.int32_value = static_cast<int32_t>(value);
    else
        result.value.int_value = value;
    return 0;
}

int32_t CastToBoolean(const VEKVARIANT &source, VEKVARIANT &result) {
    bool value = false;
    if (const int32_t status = BooleanOf(source, kCast, value))
        return status;
    result.type = VEK_VT_BOOL;
    result.value.bool_value = value ? 1 : 0;
    return 0;
}

int32_t CastToDate(const VEKVARIANT &source, VEKVARIANT &result) {
    double value = 0.0;
    if (const int32_t status = DateOf(source, kCast, value))
        return status;
    result.type = VEK_VT_DATE;
    result.value.date_value = value;
    return 0;
}

int32_t CastToDouble(const VEKVARIANT &source, VEKVARIANT &result) {
    double value = 0.0;
    if (const int32_t status = DoubleOf(source, kCast, value))
        return status;
    result.type = VEK_VT_R8;
    result.value.double_value = value;
    return 0;
}

// Texts, wide texts and blobs all carry the text form of the value.
int32_t CastToCharacters(const VEKVARIANT &source, uint32_t type, VEKVARIANT &result) {
    // A wide text keeps its units above 0xFF only when it stays wide.
    if (source.type == type)
        return Duplicate(source, result, kCast);
    std::string text;
    if (const int32_t status = TextOf(source, text, kCast))
        return status;
    if (type == VEK_VT_TEXT)
        return AssignText(result, text, kCast);
    if (type == VEK_VT_WTEXT)
        return AssignWideText(result, text, kCast);
    return AssignBlob(result, text, kCast);
}

// Objects convert only to objects. A dispatch interface is an IUnknown as it is; an
// IUnknown must be asked for its dispatch interface.
int32_t CastToObject(const VEKVARIANT &source, uint32_t type, VEKVARIANT &result) {
    if (!IsObjectType(source.type))
        return CannotConvert(VEK_E_TYPEMISMATCH, Describe(source), TypeName(type), kCast);
    if (source.type == type || type == VEK_VT_UNKNOWN || source.value.object == nullptr) {
        if (const int32_t status = Duplicate(source, result, kCast))
            return status;
        result.type = type;
        return 0;
    }
    void *dispatch = nullptr;
    auto *object = static_cast<IUnknown *>(source.value.object);
    if (FAILED(object->QueryInterface(platform::kIID_IDispatch, &dispatch)) || dispatch == nullptr)
        return Fail(VEK_E_TYPEMISMATCH, kCast,
                    "Cannot convert an object without a dispatch interface to %s", TypeName(type));
    result.type = VEK_VT_DISPATCH;
    result.value.object = dispatch;
    return 0;
}

int32_t Cast(const VEKVARIANT &source, uint32_t type, VEKVARIANT &result) {
    switch (type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
            result.type = type;
            return 0;
        case VEK_VT_INT32:
        case VEK_VT_INT:
            return CastToInteger(source, type, result);
        case VEK_VT_R8:
            return CastToDouble(source, result);
        case VEK_VT_BOOL:
            return CastToBoolean(source, result);
        case VEK_VT_DATE:
            return CastToDate(source, result);
        case VEK_VT_TEXT:
        case VEK_VT_WTEXT:
        case VEK_VT_BLOB:
            return CastToCharacters(source, type, result);
        case VEK_VT_DISPATCH:
        case VEK_VT_UNKNOWN:
            return CastToObject(source, type, result);
        default:
            return Fail(VEK_E_TYPEMISMATCH, kCast, "Cannot convert %s to the unknown type %u",
                        Describe(source).c_str(), type);
    }
}

}  // namespace

}  // namespace vek::variant

VEK_API int32_t VEK_CALL VekVarCast(VEKVARIANT *destination, const VEKVARIANT *source,
                                    uint32_t type) {
    return vek::GuardStatus(vek::variant::kCast, [&]() -> int32_t {
        if (destination == nullptr)
            return vek::Fail(VEK_E_POINTER, vek::variant::kCast, "No destination variant given");
        const VEKVARIANT empty{};
        VEKVARIANT result{};
        if (const int32_t status =
                vek::variant::Cast(source != nullptr ? *source : empty, type, result)) {
            vek::variant::Release(result);
            return status;
        }
        vek::variant::Release(*destination);
        *destination = result;
        return 0;
    });
}

VEK_API int32_t VEK_CALL VekVarIsUnknown(const VEKVARIANT *variant) {
    return variant != nullptr && vek::variant::IsObjectType(variant->type) &&
                   variant->value.object != nullptr
               ? 1
               : 0;
}
