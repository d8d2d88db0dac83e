// Changing the type of one attribute of the current node. Only an attribute that
// is undeclared, declared "Variant" or declared with the type asked for (ignoring
// case) may be retyped. A value converts to Binary through its raw text read as
// IString, to the other types by the support library's cast (a blob first becomes
// its IString text); "String" becomes wide text. A value that won't convert to
// Boolean, Long or Date/Time is refused, or with force replaced by the type's
// default (and the thread's error information stays as it was: the retype
// succeeded). An attribute without value takes the type's default.
#include <string>

#include "frame/error_model.h"
#include "tstore/attributes/t_attribute_types.h"
#include "tstore/attributes/t_attribute_values.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/paths/t_names.h"
#include "tstore/table/t_errors.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kRetypeSource[] = "T.T_Object.Change_Attribute_Type";

bool IsFailure(int32_t status) {
    return (static_cast<uint32_t>(status) & kRaiseBits) == kRaiseBits;
}

// The type names a value can be retyped to.
AttributeType RequestedType(std::string_view type_name) {
    const AttributeType type = Type_From_Name(type_name);
    if (type == AttributeType::kUndeclared || type == AttributeType::kVariant ||
        type == AttributeType::kUnknown)
        RaiseErrorFormat(kParameterInvalid, kRetypeSource, "Unknown format: %.236s",
                         std::string(type_name).c_str());
    return type;
}

void CheckRetypeAllowed(const DeclaredType &declared, std::string_view type_name) {
    if (declared.type != AttributeType::kUndeclared && declared.type != AttributeType::kVariant &&
        !Same_Name(declared.name, type_name))
        RaiseError(kAttributeInvalid, kRetypeSource, "Invalid attribute : not declared as Variant");
}

// The thread's error information, to be put back when a failure is handled here.
ErrorInfoRef ThreadErrorInfo() {
    ErrorInfoRef info;
    ZamGetErrorInfo(&kIID_IErrorInfoExA, info.OutVoid());
    return info;
}

void Converted(const VekVariant &stored, AttributeType type, bool force, VekVariant &value) {
    const VEKVARIANT *source = stored.Get();
    VekVariant text;
    if (stored.IsBlob()) {
        Text_As(Raw_Text_Of(stored).View(), VEK_VT_TEXT, text);
        source = text.Get();
    }
    const bool fallback = force && type != AttributeType::kString;
    const ErrorInfoRef before = fallback ? ThreadErrorInfo() : ErrorInfoRef();
    const uint32_t code = type == AttributeType::kString ? VEK_VT_WTEXT : Variant_Code_Of(type);
    VekVariant cast;
    if (!IsFailure(VekVarCast(cast.Get(), source, code))) {
        value.Swap(cast);
        return;
    }
    if (!fallback)
        RethrowThreadError();
    // The retype succeeds with the default, so the cast's failure is not left
    // behind as the thread's error.
    ZamSetErrorInfo(before.Get());
    Default_Value(type, value);
}

}  // namespace

void Change_Attribute_Type(T_Object &object, std::string_view name, std::string_view type_name,
                           bool force) {
    VekTreeNode &node = Current_Node_For(object, kRetypeSource);
    Check_Attribute_Name(name, kRetypeSource);
    CheckRetypeAllowed(Declared_Type_Of(object, name), type_name);
    const AttributeType type = RequestedType(type_name);
    const std::string key(name);
    VekVariant stored;
    Read_Property(node, key, stored);
    VekVariant value;
    if (!stored.HasValue())
        Default_Value(type, value);
    else if (type == AttributeType::kBinary)
        Blob_From_IString(Raw_Text_Of(stored).View(), value);
    else
        Converted(stored, type, force, value);
    Store_Property(node, key, value);
}

}  // namespace Ostrel::Zam::tstore
