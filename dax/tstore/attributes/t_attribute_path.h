// The path resolution of the attribute exports: from an attribute path to the T
// object, the located node (the object's current node) and the attribute's name.
//
// Differences from the node exports' resolution: a missing T object is reported
// as "T Object does not exist: %.230s" with the whole attribute path; a path that
// names no attribute means the tree's "Default Attribute"; and in silent handling a
// missing T object, a missing node and an attribute that may not be used end the
// call with the empty result. A missing table, a syntax error and a missing default
// attribute are raised in every handling.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace Ostrel::Zam::tstore {

class T_Object;

enum class Handling { kRaise, kSilent };

enum class AttributeUse {
    kReadWrite,  // a default attribute stands in for none; undeclared ones need
                 // "Allow new attributes"
    kRetype,     // the attribute must be named; declarations are not consulted
};

struct AttributeTarget {
    // Null when silent handling ended the call with the empty result.
    T_Object *object = nullptr;
    // The attribute path after alias expansion: the path given, unless an alias
    // was expanded, which `expansion` then holds (kept on the heap, so that the
    // view stays valid when the target moves).
    std::string_view path;
    std::unique_ptr<std::string> expansion;
    std::string attribute;  // as named, or the default attribute
    bool is_name = false;   // the attribute "Name", the node's own name
};

// The path given must outlive the target, which may view it.
AttributeTarget Resolve_Attribute_Path(std::string_view path, const char *source, Handling handling,
                                       AttributeUse use);

}  // namespace Ostrel::Zam::tstore
