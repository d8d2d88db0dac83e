// The attributes of the nodes of a T object: declarations read from the object's
// configuration, the values of a new node, and reading, writing and retyping one
// attribute of the current node.
//
// An attribute is a named support-library variant stored through the node's
// property slots; a variant of type empty or null counts as "no value" and reads
// as the empty text. The attribute name "Name" stands for the node's name and is
// handled by the callers (Set_Node_Name here).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vek64_store.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Object;

// Modes of reading and writing attributes as text.
inline constexpr int32_t kFormattedMode = 0x15;  // through the format library
inline constexpr int32_t kRawMode = 0x33;        // plain text; binary as IString
inline constexpr int32_t kNoTextMode = 2;        // reads as the empty text (search)

// Declarations.
bool Is_Declared_Attribute(const T_Object &object, std::string_view name);
bool New_Attributes_Allowed(const T_Object &object);
std::string Default_Attribute_Name(const T_Object &object);

// The values a new node starts with: one per declared attribute, by its declared
// type. Not marked modified.
void Give_Initial_Attribute_Values(const T_Object &object, VekTreeNode &node);

// Operations on the current node (raise 0xE2040006 without one where they read).
bool Attribute_Has_Value(const T_Object &object, std::string_view name);
std::string Get_Attribute_Value(const T_Object &object, std::string_view name, int32_t mode);
// The stored value into `out` (cleared first).
void Get_Attribute_Value_Variant(const T_Object &object, std::string_view name, VEKVARIANT &out);
void Set_Attribute_Value(T_Object &object, std::string_view name, std::string_view text,
                         int32_t mode);
void Set_Attribute_Value_Variant(T_Object &object, std::string_view name, const VEKVARIANT &value);
void Change_Attribute_Type(T_Object &object, std::string_view name, std::string_view type_name,
                           bool force);
// Renames the current node and rewrites the current path to keep naming it.
void Set_Node_Name(T_Object &object, std::string_view name);

}  // namespace Ostrel::Zam::tstore
