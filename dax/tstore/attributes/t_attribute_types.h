// The types an attribute can be declared with, what each declaration reads as, and
// the value a fresh attribute of each type starts with.
//
// A T object declares an attribute's type by the configuration key
// "Attribute <name> VarType" ("Binary", "Boolean", "Long", "Date/Time", "String",
// "Variant"; compared ignoring case; the name is cut to 255 characters in the key).
// A "Variant" attribute takes any kind of value; a fresh one takes the kind named
// by "Attribute <name> Default Variant type" when that is Binary, Boolean, Long or
// Date/Time, else text. Any other type name is kept as written and treated as
// "stores what it is given" (Change_Attribute_Type refuses it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/ansi_string.h"
#include "imports/vek_variant.h"

namespace Ostrel::Zam::tstore {

class T_Object;

// A text of the object's configuration (empty when absent). A property that holds
// 8-bit text is viewed in place, without a copy; other kinds are converted by the
// support library. The configuration never changes after the declaration.
class ConfigText {
  public:
    ConfigText(const T_Object &object, const std::string &key);
    // The view may point into the converted copy, so it is never copied.
    ConfigText(const ConfigText &) = delete;
    ConfigText &operator=(const ConfigText &) = delete;
    std::string_view View() const { return view_; }
    bool Empty() const { return view_.empty(); }

  private:
    AnsiString converted_;
    std::string_view view_;
};

enum class AttributeType {
    kUndeclared,  // no type declared (empty type name)
    kBinary,      // a blob of bytes
    kBoolean,
    kLong,      // 32-bit signed integer
    kDateTime,  // date (days since 1899-12-30)
    kString,
    kVariant,  // any kind
    kUnknown,  // a type name the store does not know
};

// The type named by a type name (ignoring case); empty names kUndeclared.
AttributeType Type_From_Name(std::string_view type_name);

// What the configuration declares for one attribute: its type name as written and
// the type that name stands for, and the default type of a "Variant".
struct DeclaredType {
    std::string name;
    AttributeType type = AttributeType::kUndeclared;
    AttributeType default_type = AttributeType::kUndeclared;
};
DeclaredType Declared_Type_Of(const T_Object &object, std::string_view attribute);

// The kind a fresh value of the declaration takes: Binary, Boolean, Long or
// Date/Time (directly or as a Variant's default type), else kString (text).
AttributeType Fresh_Kind(const DeclaredType &declared);

// The default value of a kind: an empty blob, false, 0, date 0, or else the
// empty 8-bit text. Raises the support library's error when a cast fails.
void Default_Value(AttributeType kind, VekVariant &value);

// The variant type code that a value written to an attribute of the type is cast
// to (a String to 8-bit text); 0 for the types that keep what they are given
// (undeclared, Variant, unknown).
uint32_t Variant_Code_Of(AttributeType type);

}  // namespace Ostrel::Zam::tstore
