// Exported functions must not let an exception escape into a C caller: these
// wrappers run the body and turn any exception into a failure status with the
// thread's error information set.
#pragma once

#include <cstdint>
#include <new>

#include "errors/failure.h"
#include "vek64.h"

#define VEK_E_UNEXPECTED ((int32_t)0xC000FFFF)

namespace vek {

// Sets the error for the exception being handled; never throws itself.
int32_t FailFromException(const char *function) noexcept;

template <typename Body>
int32_t GuardStatus(const char *function, Body &&body) noexcept {
    try {
        return body();
    } catch (...) {
        return FailFromException(function);
    }
}

// For exports that return a pointer: null on an exception.
template <typename Body>
auto GuardPointer(const char *function, Body &&body) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        FailFromException(function);
        return nullptr;
    }
}

}  // namespace vek
