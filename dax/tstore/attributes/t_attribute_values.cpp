#include "tstore/attributes/t_attribute_values.h"

#include "frame/error_model.h"
#include "imports/morph_imports.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_object.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

// Modification bits of an attribute write.
constexpr uint32_t kAttributeWritten = 0x1400;

// Support-library lengths are 32-bit; a longer text cannot be stored.
int32_t CheckedLength(std::string_view text) {
    if (text.size() > 0x7FFFFFF0u)
        RaiseOutOfMemory();
    return static_cast<int32_t>(text.size());
}

}  // namespace

VekTreeNode &Current_Node_For(const T_Object &object, const char *source) {
    VekTreeNode *node = object.Current();
    if (node == nullptr)
        RaiseError(kCurrentNodeInvalid, source, "Current node is invalid");
    return *node;
}

void Check_Attribute_Name(std::string_view name, const char *source) {
    if (name.empty())
        RaiseError(kCurrentNodeInvalid, source, "Unknown attribute: \"\"");
}

void Read_Property(const VekTreeNode &node, const std::string &name, VekVariant &value) {
    CheckVekResult(node._GetProperty(name.c_str(), value.Out()));
}

const VEKVARIANT *Property_In_Place(const VekTreeNode &node, const std::string &name) {
    const VEKPROPERTYA *property = VekPropsFindNamedItemA(node.Properties(), name.c_str());
    return property != nullptr ? &property->value : nullptr;
}

void Store_Property(VekTreeNode &node, const std::string &name, const VekVariant &value) {
    CheckVekResult(node._SetProperty(name.c_str(), value.Get()));
    Mark_Attribute_Written(node);
}

void Mark_Attribute_Written(VekTreeNode &node) {
    node.SetModified(kAttributeWritten);
}

void Text_As(std::string_view text, uint32_t code, VekVariant &value) {
    VekVariant built;
    CheckVekResult(VekVarFromStrA(built.Get(), text.data(), CheckedLength(text)));
    if (code != VEK_VT_TEXT)
        CheckVekResult(VekVarCast(built.Get(), built.Get(), code));
    value.Swap(built);
}

void Text_Into(std::string_view text, VekVariant &value) {
    CheckVekResult(VekVarFromStrA(value.Get(), text.data(), CheckedLength(text)));
}

void Blob_From_IString(std::string_view istring, VekVariant &value) {
    const std::string text(istring);
    AnsiString bytes;
    CheckVekResult(FormatIStrToRawA(text.c_str(), reinterpret_cast<void **>(bytes.Out())));
    VekVariant built;
    CheckVekResult(VekVarFromBlob(built.Get(), bytes.CStr(), CheckedLength(bytes.View())));
    value.Swap(built);
}

AnsiString Raw_Text_Of(const VEKVARIANT &value) {
    if (!Holds_Value(&value))
        return AnsiString();
    // An 8-bit text is the text itself: one copy, the one handed out.
    if (value.type == VEK_VT_TEXT)
        return AnsiString(std::string_view(value.value.text != nullptr ? value.value.text : "",
                                           static_cast<size_t>(VekTextLength(value.value.text))));
    AnsiString text;
    if (VekVarIsBlob(&value) > 0)
        CheckVekResult(CFormatRawToIStr(value.value.blob, text.Out()));
    else
        CheckVekResult(VekVarToStrA(&value, text.Out()));
    return text;
}

}  // namespace Ostrel::Zam::tstore
