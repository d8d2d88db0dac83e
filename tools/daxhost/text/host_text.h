// Texts that the libraries hand out, and the thread's error information read
// through them. Every such text is released with VekTextFree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "calls/export_libraries.h"

namespace daxhost {

class OwnedText {
  public:
    OwnedText() = default;
    OwnedText(char *text, const HostFunctions &host) : text_(text, Releaser{host.text_free}) {}

    bool IsNull() const { return text_ == nullptr; }
    // The bytes as the count word before the first character gives them; when that
    // word contradicts the zero terminator, the bytes up to the terminator.
    std::string_view Bytes() const;
    // Whether the count word agrees with the zero terminator.
    bool IsCounted() const;
    int32_t CountWord() const;

  private:
    struct Releaser {
        void(PLATFORM_STDCALL *text_free)(char *);
        void operator()(char *text) const { text_free(text); }
    };
    std::unique_ptr<char, Releaser> text_{nullptr, Releaser{nullptr}};
};

struct ThreadError {
    int32_t code = 0;
    std::string source;
    std::string description;
};

// The calling thread's current error information (code 0 when there is none).
ThreadError ReadThreadError(const HostFunctions &host);

}  // namespace daxhost
