// What a T object declares about attributes, the values of a new node, and the
// node's name, which stands in for an attribute named "Name".
#include "tstore/attributes/t_attributes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/error_model.h"
#include "imports/vek_imports.h"
#include "tstore/attributes/t_attribute_types.h"
#include "tstore/attributes/t_attribute_values.h"
#include "tstore/paths/t_names.h"
#include "tstore/table/t_object.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

// Reads the name declared by "Attribute <k>"; empty ends the list.
auto ReadDeclaredName(const T_Object &object) {
    return [&object](int32_t k) {
        return std::string(ConfigText(object, "Attribute " + std::to_string(k)).View());
    };
}

// The name declared by "Attribute <n>"; empty past the last. Read from the
// configuration once, then kept by the object.
std::string_view DeclaredName(const T_Object &object, int32_t n) {
    return object.Declared_Attribute_Names().At(n, ReadDeclaredName(object));
}

}  // namespace

bool Is_Declared_Attribute(const T_Object &object, std::string_view name) {
    if (name.size() > 0x7FFFFFF0u)
        return false;
    return object.Declared_Attribute_Names().Contains(
        name, ReadDeclaredName(object), [](std::string_view declared, std::string_view sought) {
            return Same_Name(declared, sought);
        });
}

bool New_Attributes_Allowed(const T_Object &object) {
    return object.Config().ReadInt("Allow new attributes") != 0;
}

std::string Default_Attribute_Name(const T_Object &object) {
    return object.Config().ReadText("Default Attribute").Str();
}

void Give_Initial_Attribute_Values(const T_Object &object, VekTreeNode &node) {
    const void *values = object.Initial_Attribute_Values().Get([&object] {
        Initial_Values::Property_List list(VekPropsNew());
        if (list == nullptr)
            RethrowThreadError();
        for (int32_t n = 1;; ++n) {
            const std::string name(DeclaredName(object, n));
            if (name.empty())
                return list;
            VekVariant value;
            Default_Value(Fresh_Kind(Declared_Type_Of(object, name)), value);
            VEKPROPERTYA *item = VekPropsEditNamedItemA(list.get(), name.c_str());
            if (item == nullptr)
                RethrowThreadError();
            CheckVekResult(VekVarCopy(&item->value, value.Get()));
        }
    });
    // A new node has no properties yet: the copy is the whole list, and the node
    // is not modified by getting its starting values.
    CheckVekResult(VekPropsMerge(node.Properties(), values, -3));
}

bool Attribute_Has_Value(const T_Object &object, std::string_view name) {
    const VekTreeNode *node = object.Current();
    if (node == nullptr || name.empty())
        return false;
    VekVariant value;
    Read_Property(*node, std::string(name), value);
    return value.HasValue();
}

void Set_Node_Name(T_Object &object, std::string_view name) {
    VekTreeNode &node = Current_Node_For(object, "T.T_Object.Set_Node_Name");
    if (name.size() > 0x7FFFFFF0u)
        RaiseOutOfMemory();
    CheckVekResult(node.SetName(name.data(), static_cast<int32_t>(name.size())));
    // The current path keeps naming the node: its twin index may have changed.
    if (node.Parent() == nullptr) {
        object.Set_Current(&node, std::string(name));
        return;
    }
    std::string path(Parent_Path(object.Current_Path()));
    path += '.';
    path += name;
    path += '[';
    path += std::to_string(node.GetTwinIndex());
    path += ']';
    object.Set_Current(&node, std::move(path));
}

}  // namespace Ostrel::Zam::tstore
