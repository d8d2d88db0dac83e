// The message table of the string services (family 0x2209), registered with the
// support library from load to unload.
#include "frame/error_messages.h"

namespace Ostrel::Zam {

namespace {

constexpr const char *kStrErrorTexts[] = {
    "Function is trapped in an infinite loop",              // 0xE2090002
    "Data is invalid",                                      // 0xE2090003
    "Length of the IString is exceeded",                    // 0xE2090004
    "Specified minimum is greater than specified maximum",  // 0xE2090005
    "Specified minimum is too large for required operation",
    "No value was found",
    "The required length is too short",
    "Result would be negative",
    "Operator is unknown",
    "Parameter is unknown",
    "Index is invalid",  // 0xE209000C
};

class StrErrorMsgs final : public CustomErrorMsgs {
  public:
    StrErrorMsgs() : CustomErrorMsgs(0x22090000u, 0xE2090002u, kStrErrorTexts) {}
};

StrErrorMsgs g_str_error_msgs PLATFORM_INIT_PRIORITY(1100);

}  // namespace

}  // namespace Ostrel::Zam
