// Kernel services that the libraries take from the operating system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Full file name of the module that contains `address` (shared library or program).
std::string ModuleFileName(const void *address);
// Full file name of the program that the process runs; empty when unknown.
std::string HostExecutablePath();

struct LocalTime {
    unsigned year, month, day, hour, minute, second, millisecond;
};
LocalTime CurrentLocalTime();
// The same fields in Coordinated Universal Time.
LocalTime CurrentUtcTime();

uint32_t CurrentProcessId();

// Debugger support: whether one is attached (1 yes, 0 no, -1 cannot tell), text
// for it, and a breakpoint.
int32_t IsDebuggerAttached();
void DebugOutput(const char *text);
void DebugBreak();

// The one message box of the system; on Linux a line on standard error.
void ShowErrorMessage(const char *caption, const char *text);

// Value of an environment variable; `found` tells absent from empty.
std::string EnvironmentValue(const char *name, bool *found);

// The file-name separators of the platform's paths ('/' or '\\' and ':').
bool IsPathSeparator(char c);

// A shared library loaded at run time, as a script host loads the three libraries.
class DynamicLibrary {
  public:
    DynamicLibrary() = default;
    DynamicLibrary(const DynamicLibrary &) = delete;
    DynamicLibrary &operator=(const DynamicLibrary &) = delete;
    DynamicLibrary(DynamicLibrary &&other) noexcept : handle_(other.handle_) {
        other.handle_ = nullptr;
    }
    ~DynamicLibrary();
    // Loads the file; false with `error` set when it cannot.
    bool Open(const std::string &path, std::string *error);
    void *Symbol(const char *name) const;
    bool IsOpen() const { return handle_ != nullptr; }

  private:
    void *handle_ = nullptr;
};

// Name of a shared library file for a base name: "libvek64.so" or "vek64.dll".
std::string SharedLibraryFileName(std::string_view base_name);
// The library name that a shared library file's base name (no extension) carries:
// "libdax64" -> "dax64" on Linux; unchanged on Windows.
std::string_view LibraryNameOfBaseName(std::string_view base_name);

}  // namespace platform
