#include "export_status.h"

#include <cstdio>
#include <exception>
#include <limits>
#include <new>
#include <stdexcept>

#include "vek64.h"

namespace morph {

namespace {

constexpr int32_t kUnexpected = static_cast<int32_t>(0xC000FFFF);

}  // namespace

int32_t Fail(int32_t code, const char *source, const std::string &description) {
    return ZamSetErrorInfoA(code, source, description.c_str(), nullptr, nullptr, 0, nullptr);
}

bool IsFailure(int32_t status) {
    return (static_cast<uint32_t>(status) & 0xC0000000u) == 0xC0000000u;
}

int32_t Store(void **array, std::string_view bytes, const char *source) {
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return Fail(VEK_E_OVERFLOW, source,
                    "Result of " + std::to_string(bytes.size()) + " bytes is too large");
    const int32_t status =
        VekArrayCopy_(array, bytes.data(), static_cast<int32_t>(bytes.size()), 1);
    return IsFailure(status) ? status : 0;
}

int32_t Store(char **text, std::string_view bytes, const char *source) {
    return Store(reinterpret_cast<void **>(text), bytes, source);
}

int32_t FailFromException(const char *source) noexcept {
    // Making the error information may itself run out of memory: the code must do.
    try {
        try {
            throw;
        } catch (const std::bad_alloc &) {
            return Fail(VEK_E_OUTOFMEMORY, source, "Not enough memory for the conversion");
        } catch (const std::length_error &) {
            return Fail(VEK_E_OUTOFMEMORY, source, "Not enough memory for the conversion");
        } catch (const std::exception &error) {
            char description[256];
            std::snprintf(description, sizeof description, "Unexpected failure: %.200s",
                          error.what());
            return Fail(kUnexpected, source, description);
        } catch (...) {
            return Fail(kUnexpected, source, "Unexpected failure");
        }
    } catch (...) {
        return kUnexpected;
    }
}

}  // namespace morph
