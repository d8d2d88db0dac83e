// The message table of the format library's family (0x2210), registered with the
// support library from load to unload, so that an error of this family raised
// without a description still reads as something.
#include "morph64.h"
#include "platform/api.h"
#include "vek64_com.h"

namespace {

constexpr const char *kMorphErrorTexts[] = {
    "Invalid IString: '#' must be followed by two hexadecimal digits",  // 0xE2100001
    "Invalid hexadecimal digit",                                        // 0xE2100002
    "Odd number of hexadecimal digits",                                 // 0xE2100003
    "Unknown conversion",                                               // 0xE2100004
    "Invalid argument",                                                 // 0xE2100005
};

class MorphErrorMessages final : public vek::DenseErrorMessages {
  public:
    MorphErrorMessages()
        : DenseErrorMessages(0x22100000u, static_cast<uint32_t>(MORPH_E_BAD_ISTRING),
                             kMorphErrorTexts) {}
};

MorphErrorMessages g_morph_error_messages PLATFORM_INIT_PRIORITY(1100);

}  // namespace
