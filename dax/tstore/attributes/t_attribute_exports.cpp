// The attribute exports: reading an attribute as text or as an automation variant,
// writing it from either, writing it after creating its node, and retyping it.
//
// Every export resolves its attribute path first (t_attribute_path.h), which makes
// the node the tree's current node, then hands the work to the attribute
// operations (t_attributes.h). "Name" stands for the node's name: it reads in
// every mode, and writing it renames the node (never the root). Choices made here:
// - A null VARIANT pointer is refused with 0xE204000E "Invalid argument: Value =
//   null" before anything is looked up.
// - Variants cross the boundary through the support library: VekVarToVARIANT for
//   what T_GetVariantA hands out, VekVarFromVARIANT for what T_SetVariantA takes.
// - An object in the VARIANT given to T_SetVariantA is stored under "Value" as
//   the texts "ClassName" and "Value" (script/object_values.h); T_GetVariantA of
//   "Value" beside a non-empty "ClassName" gives a new object of that class. An
//   object for any other attribute is refused (0xE2040005, "Object values are not
//   supported: ...") and nothing is stored.
// - T_SetCreateA asks Node_Or_Attribute_Exists and Add_Node_At_Path, which are
//   what T_ExistsA and T_AddNodeA do, and adds a missing node as an item appended
//   below its parent (missing parent groups made on the way), then writes raw.
#include <cstdint>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "imports/vek_variant.h"
#include "platform/com.h"
#include "script/object_values.h"
#include "tstore/attributes/t_attribute_path.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/nodes/t_node_building.h"
#include "tstore/nodes/t_queries.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_object.h"
#include "tstore/table/t_tree.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kGetSource[] = "T.T_Get";
constexpr char kGetVariantSource[] = "T.T_GetVariant";
constexpr char kSetSource[] = "T.T_Set";
constexpr char kRetypeSource[] = "T.T_ChangeAttributeType";

void CheckMode(int32_t mode, const char *source) {
    if (mode != kFormattedMode && mode != kRawMode)
        Raise_Invalid_Argument(source, "Mode=", mode);
}

Handling CheckedHandling(int32_t error_handling, const char *source) {
    if (error_handling == kReportErrors)
        return Handling::kRaise;
    if (error_handling == kSilentErrors)
        return Handling::kSilent;
    Raise_Invalid_Argument(source, "Error_Handling=", error_handling);
}

void CheckValuePointer(const void *value, const char *source) {
    if (value == nullptr)
        RaiseError(kParameterInvalid, source, "Invalid argument: Value = null");
}

std::string_view NodeName(const AttributeTarget &target) {
    return target.object->Current()->GetName();
}

// Whether the caller's VARIANT holds an automation object, directly or through a
// reference to another VARIANT.
bool HoldsObject(const VARIANT &value) {
    constexpr VARTYPE kVariantReference = VT_BYREF | VT_VARIANT;
    const VARIANT *at = &value;
    for (int depth = 0; depth < 8 && at->vt == kVariantReference && at->pvarVal != nullptr; ++depth)
        at = at->pvarVal;
    const VARTYPE kind = at->vt & static_cast<VARTYPE>(~VT_BYREF);
    return kind == VT_DISPATCH || kind == VT_UNKNOWN;
}

AnsiString Get(std::string_view path, int32_t mode, int32_t error_handling) {
    CheckMode(mode, kGetSource);
    const Handling handling = CheckedHandling(error_handling, kGetSource);
    const AttributeTarget target =
        Resolve_Attribute_Path(path, kGetSource, handling, AttributeUse::kReadWrite);
    if (target.object == nullptr)
        return AnsiString();
    if (target.is_name)
        return AnsiString(NodeName(target));
    return Get_Attribute_Value(*target.object, target.attribute, mode);
}

void GetVariant(std::string_view path, int32_t error_handling, VARIANT *out) {
    const Handling handling = CheckedHandling(error_handling, kGetVariantSource);
    CheckValuePointer(out, kGetVariantSource);
    const AttributeTarget target =
        Resolve_Attribute_Path(path, kGetVariantSource, handling, AttributeUse::kReadWrite);
    if (target.object == nullptr)
        return;
    VekVariant value;
    if (target.is_name) {
        const std::string_view name = NodeName(target);
        CheckVekResult(VekVarFromStrA(value.Get(), name.data(), static_cast<int32_t>(name.size())));
    } else if (Is_Object_Value_Name(target.attribute)) {
        const std::string class_name = Object_Class_Name(*target.object);
        if (!class_name.empty()) {
            const std::string text =
                Get_Attribute_Value(*target.object, target.attribute, kRawMode).Str();
            ObjectFromText(class_name, text, kGetVariantSource, out);
            return;
        }
        Get_Attribute_Value_Variant(*target.object, target.attribute, *value.Get());
    } else {
        Get_Attribute_Value_Variant(*target.object, target.attribute, *value.Get());
    }
    CheckVekResult(VekVarToVARIANT(value.Get(), out));
}

void Rename(const AttributeTarget &target, std::string_view name) {
    if (name.empty())
        RaiseError(kNodeNameInvalid, kSetSource, "Invalid node name");
    if (target.object->Current() == target.object->Root())
        RaiseError(kAttributeInvalid, kSetSource, "Cannot change name of root node");
    Set_Node_Name(*target.object, name);
}

void Set(std::string_view path, std::string_view value, int32_t mode) {
    CheckMode(mode, kSetSource);
    const AttributeTarget target =
        Resolve_Attribute_Path(path, kSetSource, Handling::kRaise, AttributeUse::kReadWrite);
    if (target.is_name)
        Rename(target, value);
    else
        Set_Attribute_Value(*target.object, target.attribute, value, mode);
}

void SetVariant(std::string_view path, const VARIANT *value) {
    CheckValuePointer(value, kSetSource);
    const AttributeTarget target =
        Resolve_Attribute_Path(path, kSetSource, Handling::kRaise, AttributeUse::kReadWrite);
    if (target.is_name)
        RaiseError(kAttributeInvalid, kSetSource,
                   "Cannot change node name with SetVariant function");
    if (HoldsObject(*value) && Is_Object_Value_Name(target.attribute)) {
        const ObjectText text = TextOfObject(*value, kSetSource);
        Set_Attribute_Object_Text(*target.object, text.class_name, text.value);
        return;
    }
    if (HoldsObject(*value))
        RaiseErrorFormat(kAttributeInvalid, kSetSource, "Object values are not supported: %.200s",
                         std::string(target.path).c_str());
    VekVariant converted;
    CheckVekResult(VekVarFromVARIANT(converted.Get(), value));
    Set_Attribute_Value_Variant(*target.object, target.attribute, *converted.Get());
}

void SetCreate(std::string_view path, std::string_view value) {
    const std::string_view node_path = path.substr(0, path.find('!'));
    const int32_t exists = Node_Or_Attribute_Exists(node_path);
    if (exists < 0)
        RethrowThreadError();
    if (exists == 0) {
        ZamSetErrorInfo(nullptr);
        if (Add_Node_At_Path(node_path, T_Tree::kItem, -1, 3) != 0)
            RethrowThreadError();
    }
    Set(path, value, kRawMode);
}

void ChangeType(std::string_view path, std::string_view type_name, int32_t force) {
    const AttributeTarget target =
        Resolve_Attribute_Path(path, kRetypeSource, Handling::kRaise, AttributeUse::kRetype);
    if (target.is_name)
        RaiseError(kAttributeInvalid, kRetypeSource, "Invalid attribute : name");
    Change_Attribute_Type(*target.object, target.attribute, type_name, (force & 0xFF) != 0);
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API char *DAX64_CALL T_GetA(const char *attribute_path, int32_t mode,
                                  int32_t error_handling) {
    return tstore::StoreTextExport("dax/t_attrib[172]", [&] {
        return tstore::Get(ArgumentInPlace(attribute_path), mode, error_handling);
    });
}

DAX64_API int32_t DAX64_CALL T_GetVariantA(const char *attribute_path, int32_t error_handling,
                                           void *value) {
    return tstore::StoreIntegerExport("dax/t_attrib[179]", [&] {
        tstore::GetVariant(TextArgument(attribute_path).View(), error_handling,
                           static_cast<VARIANT *>(value));
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_SetA(const char *attribute_path, const char *value, int32_t mode) {
    return tstore::StoreIntegerExport("dax/t_attrib[188]", [&] {
        tstore::Set(TextArgument(attribute_path).View(), TextArgument(value).View(), mode);
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_SetVariantA(const char *attribute_path, const void *value) {
    return tstore::StoreIntegerExport("dax/t_attrib[195]", [&] {
        tstore::SetVariant(TextArgument(attribute_path).View(),
                           static_cast<const VARIANT *>(value));
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_SetCreateA(const char *attribute_path, const char *value) {
    return tstore::StoreIntegerExport("dax/t_attrib[203]", [&] {
        tstore::SetCreate(TextArgument(attribute_path).View(), TextArgument(value).View());
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_ChangeAttributeTypeA(const char *attribute_path,
                                                    const char *type_name, int32_t force) {
    return tstore::StoreIntegerExport("dax/t_attrib[210]", [&] {
        tstore::ChangeType(TextArgument(attribute_path).View(), TextArgument(type_name).View(),
                           force);
        return 0;
    });
}
