// The attributes of the nodes of a T object: declarations read from the object's
// configuration, the values of a new node, and reading, writing and retyping one
// attribute of the current node.
//
// An attribute is a named support-library variant stored through the node's
// property slots; a variant of type empty or null counts as "no value" and reads
// as the empty text. The attribute name "Name" stands for the node's name and is
// handled by the callers (Set_Node_Name here).
//
// Declarations: "Attribute 1", "Attribute 2", ... name the declared attributes (the
// list ends at the first empty one; names compare ignoring case); their types are
// in t_attribute_types.h. "Allow new attributes" lets undeclared names be used;
// "Default Attribute" names the attribute of a path that names none.
//
// Kinds of values:
// - Binary values are blobs; as raw text they are IStrings (the format library's
//   CFormatRawToIStr), and raw text written to a blob is read as an IString
//   (FormatIStrToRawA; a malformed IString fails with that library's error).
// - Booleans, Longs and dates are made from texts by the support library's cast:
//   decimal integers, "True"/"False"/"1"/"0" (empty: false), ISO dates
//   "YYYY-MM-DD[ hh:mm:ss]" (empty: date 0).
// - Object values are not supported yet: writing an object variant is refused
//   (0xE2040005) and a "Value" beside a "ClassName" reads as the value stored.
//   Objects come with the automation objects.
//
// Every write builds the new value aside and stores it whole, so a failed write
// leaves the attribute as it was. Writes mark the node modified (0x1400); the
// starting values of a new node do not.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/ansi_string.h"
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

// Operations on the current node. Without one, or with an empty attribute name,
// they raise 0xE2040006; Attribute_Has_Value answers false.
bool Attribute_Has_Value(const T_Object &object, std::string_view name);
// Mode kFormattedMode asks the format library, kRawMode gives the raw text, any
// other mode the empty text. The name is a std::string because the support
// library's property lookup takes a zero-terminated name.
AnsiString Get_Attribute_Value(const T_Object &object, const std::string &name, int32_t mode);
// The stored value into `out` (cleared first).
void Get_Attribute_Value_Variant(const T_Object &object, std::string_view name, VEKVARIANT &out);
// A raw text keeps the kind of the value stored, or takes the declared kind of a
// fresh value; another mode than raw or formatted raises 0xE204000E.
void Set_Attribute_Value(T_Object &object, const std::string &name, std::string_view text,
                         int32_t mode);
// The value is cast to the declared type (String: 8-bit text); undeclared,
// "Variant" and unknown types store it as it is.
void Set_Attribute_Value_Variant(T_Object &object, std::string_view name, const VEKVARIANT &value);
// Object values: an object written to the attribute "Value" is kept as two 8-bit
// texts, "ClassName" (the object's class) and "Value" (the text of its own Value).
bool Is_Object_Value_Name(std::string_view name);
void Set_Attribute_Object_Text(T_Object &object, std::string_view class_name,
                               std::string_view value_text);
// The class name stored beside "Value" (empty when none, or when it is a blob).
std::string Object_Class_Name(const T_Object &object);
// Retypes to "Binary", "Boolean", "Long", "Date/Time" or "String" (see
// t_attribute_retype.cpp).
void Change_Attribute_Type(T_Object &object, std::string_view name, std::string_view type_name,
                           bool force);
// Renames the current node and rewrites the current path to keep naming it.
void Set_Node_Name(T_Object &object, std::string_view name);

}  // namespace Ostrel::Zam::tstore
