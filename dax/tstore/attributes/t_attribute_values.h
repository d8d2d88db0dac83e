// The building blocks of the attribute operations: reaching the current node,
// reading and storing one property of it, and turning texts into values and back.
//
// Values are always built aside and stored whole by Store_Property, so a write that
// fails on the way (a text that is no number, a malformed IString) leaves the
// attribute as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/ansi_string.h"
#include "imports/vek_variant.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Object;

// The object's current node; raises 0xE2040006 "Current node is invalid" from
// `source` when there is none.
VekTreeNode &Current_Node_For(const T_Object &object, const char *source);
// An empty attribute name raises 0xE2040006 "Unknown attribute: """ from `source`.
void Check_Attribute_Name(std::string_view name, const char *source);

// The property's value (empty when the node has none of that name).
void Read_Property(const VekTreeNode &node, const std::string &name, VekVariant &value);
// The property's value where the node's property list holds it, or null when the
// node has none of that name. Valid until the node's properties change: for
// looking at a value without copying it.
const VEKVARIANT *Property_In_Place(const VekTreeNode &node, const std::string &name);
// Whether a variant holds a value (empty and null hold none).
inline bool Holds_Value(const VEKVARIANT *value) {
    return value != nullptr && value->type >= 2;
}
// Stores the value and marks the node modified by an attribute write.
void Store_Property(VekTreeNode &node, const std::string &name, const VekVariant &value);
// Marks the node modified by an attribute write (bits 0x400 and 0x1000).
void Mark_Attribute_Written(VekTreeNode &node);

// The text as a value of a variant type code (0x100: the 8-bit text itself), by the
// support library's cast; raises its error when the text does not convert.
void Text_As(std::string_view text, uint32_t code, VekVariant &value);
// The text as an 8-bit text in `value`, whose block is reused when the text fits.
void Text_Into(std::string_view text, VekVariant &value);
// The bytes an IString denotes, as a blob; a malformed IString raises the format
// library's error.
void Blob_From_IString(std::string_view istring, VekVariant &value);
// The value as raw text: "" without value, a blob's bytes as IString, anything
// else as the support library writes it.
AnsiString Raw_Text_Of(const VEKVARIANT &value);
inline AnsiString Raw_Text_Of(const VekVariant &value) {
    return Raw_Text_Of(*value.Get());
}

}  // namespace Ostrel::Zam::tstore
