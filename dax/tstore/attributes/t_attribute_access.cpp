// Reading and writing one attribute of the current node, as text (raw or through
// the format library) or as a variant.
//
// Raw writes keep an attribute's kind: a text written to an attribute that holds a
// value is converted to that value's type (a blob takes the text as IString); an
// attribute without value takes the kind its declaration gives a fresh value.
// Formatted reads and writes hand the current node to the format library, whose
// recorded error is raised again when it fails.
//
// Object values (an automation object in a variant) are kept as the texts
// "ClassName" and "Value"; the exports turn objects into them and back.
#include <string>

#include "frame/error_model.h"
#include "imports/morph_imports.h"
#include "tstore/attributes/t_attribute_types.h"
#include "tstore/attributes/t_attribute_values.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_object.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kGetSource[] = "T.T_Object.Get_Attribute_Value";
constexpr char kGetVariantSource[] = "T.T_Object.Get_Attribute_Value_Variant";
constexpr char kSetSource[] = "T.T_Object.Set_Attribute_Value";
constexpr char kSetVariantSource[] = "T.T_Object.Set_Attribute_Value_Variant";
constexpr uint32_t kAnsiTextCode = 0x100;
const std::string kClassNameAttribute = "ClassName";
const std::string kValueAttribute = "Value";

AnsiString FormattedText(VekTreeNode &node, const std::string &name) {
    AnsiString text;
    if (FormatTGetA(static_cast<void *>(&node), static_cast<void *>(&node), name.c_str(),
                    text.Out(), 0) != 0)
        RethrowThreadError();
    return text;
}

void StoreFormatted(VekTreeNode &node, const std::string &name, std::string_view text) {
    const std::string value(text);
    if (FormatTSetA(value.c_str(), static_cast<void *>(&node), static_cast<void *>(&node),
                    name.c_str(), 0) != 0)
        RethrowThreadError();
    Mark_Attribute_Written(node);
}

// A text written to an attribute that holds a value keeps that value's kind.
void KeepKind(const VEKVARIANT &stored, std::string_view text, VekVariant &value) {
    if (VekVarIsBlob(&stored) > 0)
        Blob_From_IString(text, value);
    else
        Text_As(text, stored.type, value);
}

// A text written to an attribute without value takes its declared fresh kind.
void FreshValue(const DeclaredType &declared, std::string_view text, VekVariant &value) {
    const AttributeType kind = Fresh_Kind(declared);
    if (kind == AttributeType::kBinary)
        Blob_From_IString(text, value);
    else
        Text_As(text, Variant_Code_Of(kind), value);
}

// A text written over an 8-bit text is stored as it is (what KeepKind gives),
// built in the object's write scratch, whose block a later write reuses; the
// scratch lets go of a long text, so that it never keeps much memory.
void StoreText(T_Object &object, VekTreeNode &node, const std::string &name,
               std::string_view text) {
    constexpr size_t kLongestKept = 256;
    VekVariant &scratch = object.Write_Scratch();
    Text_Into(text, scratch);
    Store_Property(node, name, scratch);
    if (text.size() > kLongestKept)
        scratch.Out();
}

}  // namespace

AnsiString Get_Attribute_Value(const T_Object &object, const std::string &key, int32_t mode) {
    VekTreeNode &node = Current_Node_For(object, kGetSource);
    Check_Attribute_Name(key, kGetSource);
    if (mode == kFormattedMode)
        return FormattedText(node, key);
    if (mode != kRawMode)
        return AnsiString();
    const VEKVARIANT *stored = Property_In_Place(node, key);
    return stored != nullptr ? Raw_Text_Of(*stored) : AnsiString();
}

void Get_Attribute_Value_Variant(const T_Object &object, std::string_view name, VEKVARIANT &out) {
    VekTreeNode &node = Current_Node_For(object, kGetVariantSource);
    Check_Attribute_Name(name, kGetVariantSource);
    CheckVekResult(node._GetProperty(std::string(name).c_str(), &out));
}

void Set_Attribute_Value(T_Object &object, const std::string &key, std::string_view text,
                         int32_t mode) {
    VekTreeNode &node = Current_Node_For(object, kSetSource);
    Check_Attribute_Name(key, kSetSource);
    if (mode == kFormattedMode) {
        StoreFormatted(node, key, text);
        return;
    }
    if (mode != kRawMode)
        Raise_Invalid_Argument(kSetSource, "Mode=", mode);
    // The stored value is only looked at, in place, before the new one is stored.
    const VEKVARIANT *stored = Property_In_Place(node, key);
    if (stored != nullptr && stored->type == VEK_VT_TEXT) {
        StoreText(object, node, key, text);
        return;
    }
    VekVariant value;
    if (Holds_Value(stored))
        KeepKind(*stored, text, value);
    else
        FreshValue(Declared_Type_Of(object, key), text, value);
    Store_Property(node, key, value);
}

void Set_Attribute_Value_Variant(T_Object &object, std::string_view name, const VEKVARIANT &value) {
    VekTreeNode &node = Current_Node_For(object, kSetVariantSource);
    Check_Attribute_Name(name, kSetVariantSource);
    // Objects reach here only as texts (Set_Attribute_Object_Text).
    if (VekVarIsUnknown(&value) > 0)
        RaiseErrorFormat(kAttributeInvalid, kSetVariantSource,
                         "Object values are not supported: %.200s", std::string(name).c_str());
    const uint32_t code = Variant_Code_Of(Declared_Type_Of(object, name).type);
    VekVariant converted;
    if (code == 0)
        CheckVekResult(VekVarCopy(converted.Get(), &value));
    else
        CheckVekResult(VekVarCast(converted.Get(), &value, code));
    Store_Property(node, std::string(name), converted);
}

bool Is_Object_Value_Name(std::string_view name) {
    constexpr std::string_view kValue = "Value";
    if (name.size() != kValue.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
        const char v =
            kValue[i] >= 'a' && kValue[i] <= 'z' ? static_cast<char>(kValue[i] - 32) : kValue[i];
        if (c != v)
            return false;
    }
    return true;
}

void Set_Attribute_Object_Text(T_Object &object, std::string_view class_name,
                               std::string_view value_text) {
    VekTreeNode &node = Current_Node_For(object, kSetVariantSource);
    // Both values are built before either is stored.
    VekVariant name_value, text_value;
    Text_As(class_name, kAnsiTextCode, name_value);
    Text_As(value_text, kAnsiTextCode, text_value);
    Store_Property(node, kClassNameAttribute, name_value);
    Store_Property(node, kValueAttribute, text_value);
}

std::string Object_Class_Name(const T_Object &object) {
    VekTreeNode &node = Current_Node_For(object, kGetVariantSource);
    VekVariant value;
    Read_Property(node, kClassNameAttribute, value);
    if (!value.HasValue() || value.IsBlob())
        return std::string();
    return Raw_Text_Of(value).Str();
}

}  // namespace Ostrel::Zam::tstore
