// Kernel services on Windows.
#include <windows.h>

#include <cstdlib>

#include "platform/kernel.h"
#include "platform/module_hooks.h"

namespace platform {

void *ModuleHandleOf(const void *address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<LPCSTR>(address), &module);
    return module;
}

bool PinModuleOf(const void *address) {
    HMODULE module = nullptr;
    return GetModuleHandleExA(
               GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
               static_cast<LPCSTR>(address), &module) != FALSE;
}

std::string ModuleFileName(const void *address) {
    char name[261] = {};
    DWORD length =
        GetModuleFileNameA(static_cast<HMODULE>(ModuleHandleOf(address)), name, sizeof name);
    return std::string(name, length);
}

std::string HostExecutablePath() {
    char name[261] = {};
    DWORD length = GetModuleFileNameA(nullptr, name, sizeof name);
    return std::string(name, length);
}

LocalTime CurrentLocalTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
            now.wMinute, now.wSecond, now.wMilliseconds};
}

LocalTime CurrentUtcTime() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    return {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
            now.wMinute, now.wSecond, now.wMilliseconds};
}

uint32_t CurrentProcessId() {
    return GetCurrentProcessId();
}

int32_t IsDebuggerAttached() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return -1;
    auto probe = reinterpret_cast<BOOL(WINAPI *)()>(
        reinterpret_cast<void *>(GetProcAddress(kernel, "IsDebuggerPresent")));
    if (probe == nullptr)
        return -1;
    return probe() ? 1 : 0;
}

void DebugOutput(const char *text) {
    OutputDebugStringA(text);
}

void DebugBreak() {
    ::DebugBreak();
}

void ShowErrorMessage(const char *caption, const char *text) {
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
}

std::string EnvironmentValue(const char *name, bool *found) {
    const char *value = std::getenv(name);
    *found = value != nullptr;
    return value != nullptr ? value : "";
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

DynamicLibrary::~DynamicLibrary() {
    if (handle_ != nullptr)
        FreeLibrary(static_cast<HMODULE>(handle_));
}

bool DynamicLibrary::Open(const std::string &path, std::string *error) {
    handle_ = LoadLibraryA(path.c_str());
    if (handle_ == nullptr && error != nullptr)
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return handle_ != nullptr;
}

void *DynamicLibrary::Symbol(const char *name) const {
    if (handle_ == nullptr)
        return nullptr;
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string SharedLibraryFileName(std::string_view base_name) {
    return std::string(base_name) + ".dll";
}

std::string_view LibraryNameOfBaseName(std::string_view base_name) {
    return base_name;
}

}  // namespace platform
