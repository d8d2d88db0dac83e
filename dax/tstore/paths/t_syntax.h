// The syntax checks of node paths, attribute paths and node identifiers. Each
// returns when the text is well formed and raises otherwise (codes 0xE204000B,
// 0xE2040005 and 0xE2040009 with the whole text in the description).
//
// A node identifier is a node path that may hold the wildcards '?' (one name
// character), '+' (one or more; at most one per section, and not beside '?' or
// '*'), '*' (any run, across levels) and "[#]" (any twin index).
#pragma once

#include <string_view>

#include "tstore/paths/t_names.h"

namespace Ostrel::Zam::tstore {

void Check_Node_Path_Syntax(std::string_view path);
// Hands back the path split at its '!' (Split_Attribute_Path), which the check
// finds anyway.
AttributePath Check_Attribute_Path_Syntax(std::string_view attribute_path);
void Check_Node_Identifier_Syntax(std::string_view identifier);
void Check_Attribute_Identifier_Syntax(std::string_view attribute_identifier);

}  // namespace Ostrel::Zam::tstore
