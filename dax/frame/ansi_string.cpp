#include "frame/ansi_string.h"

#include <utility>

#include "frame/error_model.h"
#include "imports/vek_imports.h"

namespace Ostrel::Zam {

AnsiString &AnsiString::operator=(const AnsiString &other) {
    if (this != &other)
        Assign(other.View());
    return *this;
}

AnsiString &AnsiString::operator=(AnsiString &&other) noexcept {
    std::swap(buffer_, other.buffer_);
    return *this;
}

AnsiString::~AnsiString() {
    // Most texts that end here were moved out (every returned result): no call
    // into the support library for them.
    if (buffer_ != nullptr)
        VekTextFree(buffer_);
}

AnsiString AnsiString::Adopt(char *counted_text) {
    AnsiString text;
    text.buffer_ = counted_text;
    return text;
}

AnsiString AnsiString::FromArgument(const char *text) {
    AnsiString copy;
    CheckVekResult(VekArrayCopy_(reinterpret_cast<void **>(&copy.buffer_), text, -5, 1));
    return copy;
}

void AnsiString::Assign(std::string_view text) {
    if (text.size() > kLongestText)
        RaiseOutOfMemory();
    CheckVekResult(VekArrayCopy_(reinterpret_cast<void **>(&buffer_), text.data(),
                                 static_cast<int32_t>(text.size()), 1));
}

AnsiString &AnsiString::operator+=(std::string_view text) {
    if (text.size() > kLongestText)
        RaiseOutOfMemory();
    CheckVekResult(VekArrayAppend_(reinterpret_cast<void **>(&buffer_), text.data(),
                                   static_cast<int32_t>(text.size()), 1));
    return *this;
}

std::string_view AnsiString::View() const {
    if (buffer_ == nullptr)
        return {};
    return std::string_view(buffer_, static_cast<size_t>(VekTextLength(buffer_)));
}

char **AnsiString::Out() {
    VekTextFree(buffer_);
    buffer_ = nullptr;
    return &buffer_;
}

char *AnsiString::Release() {
    return std::exchange(buffer_, nullptr);
}

}  // namespace Ostrel::Zam
