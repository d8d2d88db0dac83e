#include "treesupport/record_text.h"

#include <cstddef>
#include <cstdint>

#include "frame/error_model.h"
#include "vek64.h"

namespace Ostrel::Zam {

namespace {

constexpr size_t kHeaderLength = 6;

// The record length a header gives, or -1 when it is not six decimal digits.
int32_t HeaderLength(std::string_view header) {
    int32_t length = 0;
    for (const char c : header) {
        if (c < '0' || c > '9')
            return -1;
        length = length * 10 + (c - '0');
    }
    return length;
}

}  // namespace

void ForEachRecord(std::string_view text, const char *source,
                   const std::function<void(std::string_view)> &each) {
    size_t position = 0;
    while (position + kHeaderLength < text.size()) {
        const int32_t length = HeaderLength(text.substr(position, kHeaderLength));
        if (length < 0)
            RaiseErrorFormat(VEK_E_BADDATA, source,
                             "Invalid record header at position %d: six decimal digits expected",
                             static_cast<int>(position + 1));
        const size_t start = position + kHeaderLength;
        if (static_cast<size_t>(length) > text.size() - start)
            RaiseErrorFormat(VEK_E_BADDATA, source,
                             "Record at position %d runs past the end of the text (length %d, "
                             "%d characters left)",
                             static_cast<int>(position + 1), length,
                             static_cast<int>(text.size() - start));
        each(text.substr(start, static_cast<size_t>(length)));
        position = start + static_cast<size_t>(length);
    }
}

}  // namespace Ostrel::Zam
