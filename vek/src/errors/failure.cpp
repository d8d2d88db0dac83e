#include "errors/failure.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "vek64.h"

namespace vek {

int32_t Fail(int32_t code, const char *function, const char *format, ...) {
    char description[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(description, sizeof description, format, arguments);
    va_end(arguments);
    const std::string source = std::string("Vek.") + function;
    return ZamSetErrorInfoA(code, source.c_str(), description, nullptr, nullptr, 0, nullptr);
}

}  // namespace vek
