// Kernel services on Linux.
#include <dlfcn.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "platform/kernel.h"
#include "platform/module_hooks.h"

namespace platform {

namespace {
std::string AbsolutePath(const char *path) {
    if (path == nullptr || *path == '\0')
        return {};
    char resolved[4096];
    if (realpath(path, resolved) != nullptr)
        return resolved;
    return path;
}
}  // namespace

void *ModuleHandleOf(const void *address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0)
        return nullptr;
    return info.dli_fbase;
}

bool PinModuleOf(const void *address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0')
        return false;
    // Opening the loaded library again with RTLD_NODELETE marks it for good; the
    // extra reference is given back at once, the mark stays.
    void *handle = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    if (handle == nullptr)
        return false;
    dlclose(handle);
    return true;
}

std::string ModuleFileName(const void *address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0)
        return {};
    // The program itself may be reported without a name.
    if (info.dli_fname == nullptr || *info.dli_fname == '\0')
        return HostExecutablePath();
    return AbsolutePath(info.dli_fname);
}

std::string HostExecutablePath() {
    return AbsolutePath("/proc/self/exe");
}

LocalTime CurrentLocalTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    localtime_r(&now.tv_sec, &parts);
    return {static_cast<unsigned>(parts.tm_year + 1900), static_cast<unsigned>(parts.tm_mon + 1),
            static_cast<unsigned>(parts.tm_mday),        static_cast<unsigned>(parts.tm_hour),
            static_cast<unsigned>(parts.tm_min),         static_cast<unsigned>(parts.tm_sec),
            static_cast<unsigned>(now.tv_nsec / 1000000)};
}

LocalTime CurrentUtcTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    gmtime_r(&now.tv_sec, &parts);
    return {static_cast<unsigned>(parts.tm_year + 1900), static_cast<unsigned>(parts.tm_mon + 1),
            static_cast<unsigned>(parts.tm_mday),        static_cast<unsigned>(parts.tm_hour),
            static_cast<unsigned>(parts.tm_min),         static_cast<unsigned>(parts.tm_sec),
            static_cast<unsigned>(now.tv_nsec / 1000000)};
}

uint32_t CurrentProcessId() {
    return static_cast<uint32_t>(getpid());
}

int32_t IsDebuggerAttached() {
    std::ifstream status("/proc/self/status");
    if (!status)
        return -1;
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0)
            return std::atoi(line.c_str() + 10) != 0 ? 1 : 0;
    }
    return -1;
}

void DebugOutput(const char *text) {
    std::fputs(text, stderr);
}

void DebugBreak() {
    raise(SIGTRAP);
}

void ShowErrorMessage(const char *caption, const char *text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

std::string EnvironmentValue(const char *name, bool *found) {
    const char *value = std::getenv(name);
    *found = value != nullptr;
    return value != nullptr ? value : "";
}

bool IsPathSeparator(char c) {
    return c == '/';
}

DynamicLibrary::~DynamicLibrary() {
    if (handle_ != nullptr)
        dlclose(handle_);
}

bool DynamicLibrary::Open(const std::string &path, std::string *error) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (handle_ == nullptr && error != nullptr) {
        const char *why = dlerror();
        *error = why != nullptr ? why : "cannot load " + path;
    }
    return handle_ != nullptr;
}

void *DynamicLibrary::Symbol(const char *name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

std::string SharedLibraryFileName(std::string_view base_name) {
    return "lib" + std::string(base_name) + ".so";
}

std::string_view LibraryNameOfBaseName(std::string_view base_name) {
    return base_name.size() > 3 && base_name.substr(0, 3) == "lib" ? base_name.substr(3)
                                                                   : base_name;
}

}  // namespace platform
