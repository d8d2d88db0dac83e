// The three libraries, loaded at run time as any host loads them: vek64, then
// morph64, then dax64 (which needs the other two), and released in reverse order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calls/signature.h"
#include "platform/api.h"
#include "platform/kernel.h"

namespace daxhost {

// The functions of vek64 that the host itself calls around every export.
struct HostFunctions {
    int32_t(PLATFORM_STDCALL *set_error_info)(void *info) = nullptr;
    int32_t(PLATFORM_STDCALL *last_error)() = nullptr;
    char *(PLATFORM_STDCALL *last_error_source)() = nullptr;
    char *(PLATFORM_STDCALL *last_error_description)() = nullptr;
    void(PLATFORM_STDCALL *text_free)(char *text) = nullptr;
};

class ExportLibraries {
  public:
    // Loads the three libraries from `folder`; false with `error` set when a
    // library or one of the host functions is missing.
    bool Load(const std::string &folder, std::string *error);

    // The address of an export; null when its library lacks it.
    void *Find(Library library, std::string_view name) const;

    const HostFunctions &Host() const { return host_; }

  private:
    bool FindHostFunctions(std::string *error);

    std::array<platform::DynamicLibrary, kLibraryCount> libraries_;
    HostFunctions host_;
};

// The folder the libraries are loaded from when none is given: <program>/../lib
// when it holds vek64 (the Linux build tree), else the program's own folder (the
// Windows build tree, where the DLLs sit beside the program in bin/).
std::string DefaultLibraryFolder();

}  // namespace daxhost
