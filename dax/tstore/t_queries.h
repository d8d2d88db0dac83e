// Questions about the nodes of the declared trees.
#pragma once

#include <cstdint>
#include <string_view>

namespace Ostrel::Zam::tstore {

// What T_ExistsA answers: 1 when the node (for an attribute path: the attribute,
// holding a value) exists, else 0; raises only syntax errors. Also used by
// T_SetCreateA.
int32_t Node_Or_Attribute_Exists(std::string_view path);

}  // namespace Ostrel::Zam::tstore
