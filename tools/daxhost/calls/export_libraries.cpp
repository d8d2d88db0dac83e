#include "calls/export_libraries.h"

#include <filesystem>

namespace daxhost {

namespace {

namespace fs = std::filesystem;

constexpr Library kLoadOrder[] = {Library::kVek, Library::kMorph, Library::kDax};

template <class Function>
bool Resolve(const platform::DynamicLibrary &library, const char *name, Function *function,
             std::string *error) {
    *function = reinterpret_cast<Function>(library.Symbol(name));
    if (*function == nullptr)
        *error = std::string("vek64 lacks the host function ") + name;
    return *function != nullptr;
}

}  // namespace

bool ExportLibraries::Load(const std::string &folder, std::string *error) {
    for (const Library library : kLoadOrder) {
        const fs::path file =
            fs::path(folder) / platform::SharedLibraryFileName(LibraryBaseName(library));
        if (!libraries_[static_cast<size_t>(library)].Open(file.string(), error))
            return false;
    }
    return FindHostFunctions(error);
}

bool ExportLibraries::FindHostFunctions(std::string *error) {
    const auto &vek = libraries_[static_cast<size_t>(Library::kVek)];
    return Resolve(vek, "ZamSetErrorInfo", &host_.set_error_info, error) &&
           Resolve(vek, "ZamGetLastError", &host_.last_error, error) &&
           Resolve(vek, "ZamGetLastErrorSourceA", &host_.last_error_source, error) &&
           Resolve(vek, "ZamGetLastErrorDescriptionA", &host_.last_error_description, error) &&
           Resolve(vek, "VekTextFree", &host_.text_free, error);
}

void *ExportLibraries::Find(Library library, std::string_view name) const {
    return libraries_[static_cast<size_t>(library)].Symbol(std::string(name).c_str());
}

std::string DefaultLibraryFolder() {
    const fs::path program_folder = fs::path(platform::HostExecutablePath()).parent_path();
    const fs::path lib_folder = program_folder.parent_path() / "lib";
    if (fs::exists(lib_folder / platform::SharedLibraryFileName("vek64")))
        return lib_folder.string();
    return program_folder.string();
}

}  // namespace daxhost
