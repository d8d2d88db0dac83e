// The local file system object: the parts of a path. Paths are split at the
// platform's separators ('/' everywhere, '\\' and ':' on Windows). A file name's
// extension starts at its last dot, unless that dot is its first character
// (".profile" has no extension).
#include <string_view>

#include "errors/guarded_call.h"
#include "platform/kernel.h"
#include "vek64_com.h"
#include "vek64_objects.h"

using Ostrel::Zam::IZamLocalFileSystemA;
using Ostrel::Zam::kIID_IZamLocalFileSystemA;

namespace vek {
namespace {

struct PathParts {
    std::string_view drive, folder, file_name, base_name, extension;
};

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

PathParts SplitPath(std::string_view path) {
    PathParts parts;
    size_t folder_start = 0;
    if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':' && platform::IsPathSeparator(':')) {
        folder_start = 2;
    } else if (path.size() >= 2 && platform::IsPathSeparator('\\') && path[0] == '\\' &&
               path[1] == '\\') {
        // \\server\share: the drive runs to the separator after the share name.
        size_t at = path.find('\\', 2);
        at = at == std::string_view::npos ? path.size() : path.find('\\', at + 1);
        folder_start = at == std::string_view::npos ? path.size() : at;
    }
    parts.drive = path.substr(0, folder_start);
    size_t name_start = path.size();
    while (name_start > folder_start && !platform::IsPathSeparator(path[name_start - 1]))
        --name_start;
    parts.folder = path.substr(folder_start, name_start - folder_start);
    parts.file_name = path.substr(name_start);
    const size_t dot = parts.file_name.rfind('.');
    const bool has_extension = dot != std::string_view::npos && dot > 0;
    parts.base_name = has_extension ? parts.file_name.substr(0, dot) : parts.file_name;
    parts.extension = has_extension ? parts.file_name.substr(dot) : std::string_view();
    return parts;
}

class LocalFileSystem final : public IZamLocalFileSystemA {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr)
            return E_POINTER;
        if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
            platform::SameGuid(iid, kIID_IZamLocalFileSystemA)) {
            *object = static_cast<IZamLocalFileSystemA *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One object for the process, never freed.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

    int32_t STDMETHODCALLTYPE GetPathPartA(const char *path, int32_t part_code,
                                           char **part) override {
        constexpr const char *kFunction = "GetPathPartA";
        return GuardStatus(kFunction, [&] {
            if (part == nullptr)
                return Fail(VEK_E_POINTER, kFunction, "No address for the path part given");
            *part = nullptr;
            const PathParts parts = SplitPath(path != nullptr ? path : "");
            std::string_view wanted;
            switch (part_code) {
                case Ostrel::Zam::kPathDrive:
                    wanted = parts.drive;
                    break;
                case Ostrel::Zam::kPathFolder:
                    wanted = parts.folder;
                    break;
                case Ostrel::Zam::kPathFileName:
                    wanted = parts.file_name;
                    break;
                case Ostrel::Zam::kPathBaseName:
                    wanted = parts.base_name;
                    break;
                case Ostrel::Zam::kPathExtension:
                    wanted = parts.extension;
                    break;
                default:
                    return Fail(VEK_E_INVALIDARG, kFunction, "Unknown path part: %d", part_code);
            }
            if (!wanted.empty()) {
                *part = VekTextNewA(wanted.data(), static_cast<int32_t>(wanted.size()));
                if (*part == nullptr)
                    return ZamGetLastError();
            }
            return 0;
        });
    }
};

}  // namespace
}  // namespace vek

VEK_API int32_t VEK_CALL ZamGetLocalFileSystem(const void *iid, void **file_system) {
    return vek::GuardStatus("ZamGetLocalFileSystem", [&] {
        if (file_system == nullptr)
            return vek::Fail(VEK_E_POINTER, "ZamGetLocalFileSystem", "No object address given");
        *file_system = nullptr;
        static vek::LocalFileSystem the_file_system;
        const GUID &wanted =
            iid != nullptr ? *static_cast<const GUID *>(iid) : kIID_IZamLocalFileSystemA;
        if (FAILED(the_file_system.QueryInterface(wanted, file_system)))
            return vek::Fail(VEK_E_NOINTERFACE, "ZamGetLocalFileSystem",
                             "The file system has no such interface");
        return 0;
    });
}
