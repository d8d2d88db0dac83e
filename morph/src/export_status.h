// How the format library's exports report failures and hand out texts. A failure
// sets the calling thread's error information and returns the code; no exception
// leaves an export.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morph {

int32_t Fail(int32_t code, const char *source, const std::string &description);

bool IsFailure(int32_t status);

// The text of a possibly null zero-terminated argument.
inline std::string_view TextOf(const char *text) {
    return text != nullptr ? std::string_view(text) : std::string_view();
}

// Replaces the counted byte array *array by `bytes` (null when empty). The old array
// is released only after the new one exists, so `bytes` may point into it.
int32_t Store(void **array, std::string_view bytes, const char *source);
int32_t Store(char **text, std::string_view bytes, const char *source);

// Sets the error for the exception being handled; never throws itself.
int32_t FailFromException(const char *source) noexcept;

// Runs `body`, turning any exception into a failure status with error information.
template <class Body>
int32_t Guarded(const char *source, Body &&body) noexcept {
    try {
        return body();
    } catch (...) {
        return FailFromException(source);
    }
}

}  // namespace morph
