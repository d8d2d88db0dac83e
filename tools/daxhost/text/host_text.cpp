#include "text/host_text.h"

#include <cstring>

namespace daxhost {

int32_t OwnedText::CountWord() const {
    int32_t count = 0;
    if (text_ != nullptr)
        std::memcpy(&count, text_.get() - sizeof count, sizeof count);
    return count;
}

// The count may exceed the terminator's position (a byte array holding zero
// bytes) but never fall short of it, and one zero byte always follows the last item.
bool OwnedText::IsCounted() const {
    if (text_ == nullptr)
        return true;
    const int32_t count = CountWord();
    return count >= 0 && static_cast<size_t>(count) >= std::strlen(text_.get()) &&
           text_.get()[count] == '\0';
}

std::string_view OwnedText::Bytes() const {
    if (text_ == nullptr)
        return {};
    if (IsCounted())
        return std::string_view(text_.get(), static_cast<size_t>(CountWord()));
    return std::string_view(text_.get());
}

ThreadError ReadThreadError(const HostFunctions &host) {
    ThreadError error;
    error.code = host.last_error();
    if (error.code == 0)
        return error;
    error.source = OwnedText(host.last_error_source(), host).Bytes();
    error.description = OwnedText(host.last_error_description(), host).Bytes();
    return error;
}

}  // namespace daxhost
