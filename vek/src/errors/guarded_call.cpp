#include "errors/guarded_call.h"

#include <exception>

namespace vek {

namespace {

int32_t FailQuietly(int32_t code, const char *function, const char *what) noexcept {
    try {
        return Fail(code, function, "%s", what);
    } catch (...) {
        // Not even the error information could be made: the code alone must do.
        return static_cast<int32_t>(static_cast<uint32_t>(code) | 0xC0000000u);
    }
}

}  // namespace

int32_t FailFromException(const char *function) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc &) {
        return FailQuietly(VEK_E_OUTOFMEMORY, function, "Not enough memory");
    } catch (const std::exception &error) {
        return FailQuietly(VEK_E_UNEXPECTED, function, error.what());
    } catch (...) {
        return FailQuietly(VEK_E_UNEXPECTED, function, "Unexpected failure");
    }
}

}  // namespace vek
