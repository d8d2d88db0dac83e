// Automation objects kept in the T store as texts: an object stored under the
// attribute "Value" is kept as its class name ("ClassName") and the text of its own
// "Value" property; reading "Value" back makes a new object of that class whose
// "Value" property is set to the stored text.
//
// The class name is the name the object's component descriptor gives its class
// ("CustomObject", "DaxCustomObject", or another framework class). Reading back,
// the module's own two classes are made directly by their class objects, so this
// works whatever prefix the module was registered under (and without any
// registration); any other name is handed to ZamCreateCOMObjectA, which takes a
// ProgID or a class identifier in braces.
#pragma once

#include <string>
#include <string_view>

#include "platform/com.h"

namespace Ostrel::Zam {

struct ObjectText {
    std::string class_name;
    std::string value;
};

// The class name and "Value" text of an object (the VARIANT may hold it by
// reference). Raises when the object has no class name or its value no text.
ObjectText TextOfObject(const VARIANT &object, const char *source);

// A new object of the class with "Value" set to `value`, as a VT_DISPATCH variant.
void ObjectFromText(std::string_view class_name, std::string_view value, const char *source,
                    VARIANT *out);

}  // namespace Ostrel::Zam
