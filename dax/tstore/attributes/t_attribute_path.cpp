#include "tstore/attributes/t_attribute_path.h"

#include <utility>

#include "frame/error_model.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_table.h"

namespace Ostrel::Zam::tstore {

namespace {

// Silent handling ends the call; otherwise the failure is raised.
AttributeTarget Unresolved(Handling handling, int32_t code, const char *source, const char *format,
                           std::string_view path) {
    if (handling == Handling::kSilent)
        return AttributeTarget();
    RaiseErrorFormat(code, source, format, std::string(path).c_str());
}

std::string AttributeName(const T_Object &object, std::string_view named, std::string_view path,
                          const char *source, AttributeUse use) {
    if (!named.empty())
        return std::string(named);
    if (use == AttributeUse::kRetype)
        RaiseErrorFormat(kAttributeUnknown, source, "Unknown attribute in %.229s",
                         std::string(path).c_str());
    std::string name = Default_Attribute_Name(object);
    if (name.empty())
        RaiseErrorFormat(kNoDefaultAttribute, source, "No default attribute for %.229s",
                         std::string(path).c_str());
    return name;
}

// Whether an attribute path may take the plain lookup (Find_Plain_Path): its
// attribute is named with name characters only, or it names none without a '!'.
// Any other form is checked the usual way, so that it fails as it always has.
bool PlainAttribute(const AttributePath &parts, std::string_view path) {
    if (parts.node.size() == path.size())
        return true;
    if (parts.attribute.empty())
        return false;
    for (const char c : parts.attribute) {
        if (!kNameSet.Contains(c))
            return false;
    }
    return true;
}

bool MayBeUsed(const T_Object &object, const AttributeTarget &target, AttributeUse use) {
    return target.is_name || use == AttributeUse::kRetype ||
           Is_Declared_Attribute(object, target.attribute) || New_Attributes_Allowed(object);
}

}  // namespace

AttributeTarget Resolve_Attribute_Path(std::string_view path, const char *source, Handling handling,
                                       AttributeUse use) {
    T_Table *table = Existing_T_Table();
    if (table == nullptr)
        RaiseErrorFormat(kTObjectMissing, source, "T Object does not exist: %.230s",
                         std::string(path).c_str());
    AttributeTarget target;
    std::string storage;
    target.path = table->Aliases().Expand(path, storage);
    if (target.path.data() == storage.data()) {
        target.expansion = std::make_unique<std::string>(std::move(storage));
        target.path = *target.expansion;
    }
    // Most paths are names and full stops with a named attribute, and name a node
    // that exists: the walk that finds the node checks their syntax. Everything
    // else is checked and located step by step, failing where it always has.
    AttributePath parts = Split_Attribute_Path(target.path);
    T_Object *object = nullptr;
    VekTreeNode *found = nullptr;
    if (PlainAttribute(parts, target.path)) {
        object = table->T_Object_At(table->Find_T_Object(Get_Section(parts.node, 1)));
        if (object != nullptr)
            found = Find_Plain_Path(*object, parts.node);
    }
    if (found == nullptr) {
        parts = Check_Attribute_Path_Syntax(target.path);
        object = table->T_Object_At(table->Find_T_Object(Get_Section(parts.node, 1)));
        if (object == nullptr)
            return Unresolved(handling, kTObjectMissing, source, "T Object does not exist: %.230s",
                              target.path);
    }
    target.attribute = AttributeName(*object, parts.attribute, target.path, source, use);
    target.is_name = Same_Name(target.attribute, "Name");
    if (found != nullptr)
        object->Commit_Plain_Path(found, parts.node);
    else if (!Locate_Completing(*object, parts.node))
        return Unresolved(handling, kNodeMissing, source, "Node doesn't exist: %.234s",
                          target.path);
    if (!MayBeUsed(*object, target, use))
        return Unresolved(handling, kAttributeMissing, source, "Unknown attribute: %.235s",
                          target.path);
    target.object = object;
    return target;
}

}  // namespace Ostrel::Zam::tstore
