#include "text_view.h"

#include "vek64.h"

namespace vek {

std::string_view ViewOfCounted(const char *counted) {
    if (counted == nullptr)
        return {};
    return std::string_view(counted, static_cast<size_t>(VekTextLength(counted)));
}

}  // namespace vek
