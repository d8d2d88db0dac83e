// The message table of the T store (family 0x2204), registered with the support
// library from load to unload. The codes are not consecutive: the gaps hold null,
// which the table reports as "no text".
#include "frame/error_messages.h"

namespace Ostrel::Zam {

namespace {

constexpr const char *kTErrorTexts[] = {
    "The alias was not found in the table",       // 0xE2040001
    "Attribute does not exist",                   // 0xE2040002
    "Errors during compiling (formatted T_Get)",  // 0xE2040003
    "Root node name already exists",              // 0xE2040004
    "Attribute is invalid",                       // 0xE2040005
    "Current node is invalid",                    // 0xE2040006
    nullptr,                                      // 0xE2040007
    nullptr,                                      // 0xE2040008
    "Node identifier is invalid",                 // 0xE2040009
    "Node name is invalid",                       // 0xE204000A
    "Node path is invalid",                       // 0xE204000B
    nullptr,                                      // 0xE204000C
    "Node type is invalid",                       // 0xE204000D
    "Parameter is invalid",                       // 0xE204000E
    "Position is invalid",                        // 0xE204000F
    "Root node is invalid",                       // 0xE2040010
    "T is invalid",                               // 0xE2040011
    nullptr,                                      // 0xE2040012
    "Node has no brothers",                       // 0xE2040013
    "Node has no children",                       // 0xE2040014
    "No default attribute has been defined",      // 0xE2040015
    "No format is specified for the attribute",   // 0xE2040016
    "No node was found to match identifier",      // 0xE2040017
    "No node was found",                          // 0xE2040018
    nullptr,                                      // 0xE2040019
    "Node does not exist",                        // 0xE204001A
    "Node has twins",                             // 0xE204001B
    "Node has children",                          // 0xE204001C
    nullptr,                                      // 0xE204001D
    nullptr,                                      // 0xE204001E
    nullptr,                                      // 0xE204001F
    "T object does not exist",                    // 0xE2040020
    "Parent node is not a group",                 // 0xE2040021
    nullptr,                                      // 0xE2040022
    "Errors during parsing (formatted T_Set)",    // 0xE2040023
    nullptr,                                      // 0xE2040024
    "Attribute is unknown",                       // 0xE2040025
    "Node type is unknown",                       // 0xE2040026
    "Configuration parameter is unknown",         // 0xE2040027
    nullptr,                                      // 0xE2040028
    "Value is too long",                          // 0xE2040029
};

class TErrorMsgs final : public CustomErrorMsgs {
  public:
    TErrorMsgs() : CustomErrorMsgs(0x22040000u, 0xE2040001u, kTErrorTexts) {}
};

TErrorMsgs g_t_error_msgs PLATFORM_INIT_PRIORITY(1200);

}  // namespace

}  // namespace Ostrel::Zam
