// The debug log of a whole load and unload of the libraries, as a host sees it: the
// libraries are loaded at run time with DEBUG=1 and unloaded again, and every line
// that dax64 wrote in between is checked, the destructor's last lines included.
// CTest gives the program DEBUG=1 and DAX_LIBRARY_DIR (the folder of the libraries).
// Objects of the support library stay usable after a host unloads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/kernel.h"

namespace {

std::string Environment(const char *name) {
    bool found = false;
    std::string value = platform::EnvironmentValue(name, &found);
    return found ? value : std::string();
}

// The log sits beside the program: its path with the extension of the file name
// replaced by "log", or ".log" appended when the file name has none.
std::string LogFilePath() {
    std::string path = platform::HostExecutablePath();
    size_t name_start = path.size();
    while (name_start > 0 && !platform::IsPathSeparator(path[name_start - 1]))
        --name_start;
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= name_start)
        path.resize(dot);
    return path + ".log";
}

std::vector<std::string> ReadLines(const std::string &path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string FileNameOf(const std::string &path) {
    size_t start = path.size();
    while (start > 0 && !platform::IsPathSeparator(path[start - 1]))
        --start;
    return path.substr(start);
}

std::string Lower(std::string text) {
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

TEST(UnloadLog, EveryLineOfALoadAndUnloadNamesTheModule) {
    const std::string library_dir = Environment("DAX_LIBRARY_DIR");
    ASSERT_FALSE(library_dir.empty()) << "DAX_LIBRARY_DIR names the folder of the libraries";
    ASSERT_EQ(Environment("DEBUG"), "1");
    const std::string log_path = LogFilePath();
    std::remove(log_path.c_str());

    {
        std::vector<std::unique_ptr<platform::DynamicLibrary>> libraries;
        for (const char *name : {"vek64", "morph64", "dax64"}) {
            libraries.push_back(std::make_unique<platform::DynamicLibrary>());
            std::string error;
            ASSERT_TRUE(libraries.back()->Open(
                library_dir + "/" + platform::SharedLibraryFileName(name), &error))
                << error;
        }
        // Unloaded in the reverse order, dax64 first, as a host's own teardown does.
        while (!libraries.empty())
            libraries.pop_back();
    }

    const std::vector<std::string> lines = ReadLines(log_path);
    std::remove(log_path.c_str());
    // Time stamp, the program's file name, then the message.
    const std::regex line_form(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} - [^ ]+ - (.*))");
    const std::string pointer = "[0-9A-Fa-fx]+";
    const std::string path = "(.+):- ";
    const std::vector<std::string> expected = {
        pointer + "->Library::Library",
        path + "DllEntryPoint\\(" + pointer + ",1\\) - begin",
        path + pointer + "->Library::OnStartProcess",
        path + pointer + "->Library::OnStartThread",
        path + "DllEntryPoint\\(" + pointer + ",1\\) - end \\(exit_code=0\\)",
        path + "DllEntryPoint\\(" + pointer + ",0\\) - begin",
        path + pointer + "->Library::OnExitThread",
        path + pointer + "->Library::OnExitProcess",
        path + "DllEntryPoint\\(" + pointer + ",0\\) - end \\(exit_code=0\\)",
        path + "DllEntryPoint\\(" + pointer + ",4294967295\\) - begin",
        path + "DllEntryPoint\\(" + pointer + ",4294967295\\) - end \\(exit_code=0\\)",
        path + pointer + "->Library::~Library - begin",
        path + pointer + "->Library::~Library - end",
    };
    ASSERT_EQ(lines.size(), expected.size()) << "log " << log_path;

    std::string module_path;
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        std::smatch line_parts;
        ASSERT_TRUE(std::regex_match(lines[i], line_parts, line_form));
        const std::string message = line_parts[1];
        std::smatch message_parts;
        ASSERT_TRUE(std::regex_match(message, message_parts, std::regex(expected[i])));
        if (message_parts.size() < 2)
            continue;
        // Every line names the same module, and it is dax64's file.
        if (module_path.empty())
            module_path = message_parts[1];
        EXPECT_EQ(message_parts[1], module_path);
    }
    EXPECT_EQ(Lower(FileNameOf(module_path)), Lower(platform::SharedLibraryFileName("dax64")));
}

// A host may keep an error-information object (or a tree, or a text) of the support
// library past its own unload of the library: the library stays loaded, so the
// object can still be read and released.
TEST(Unload, SupportLibraryObjectsOutliveTheHostsUnload) {
    const std::string library_dir = Environment("DAX_LIBRARY_DIR");
    ASSERT_FALSE(library_dir.empty());
    using CreateErrorInfo =
        int32_t(PLATFORM_STDCALL *)(int32_t, const char *, const char *, const char *, const void *,
                                    uint32_t, void *, const void *, void **);
    IErrorInfo *info = nullptr;
    {
        platform::DynamicLibrary vek64;
        std::string error;
        ASSERT_TRUE(
            vek64.Open(library_dir + "/" + platform::SharedLibraryFileName("vek64"), &error))
            << error;
        const auto create = reinterpret_cast<CreateErrorInfo>(vek64.Symbol("ZamCreateErrorInfoA"));
        ASSERT_NE(create, nullptr);
        ASSERT_EQ(create(0x1234, "Here", "kept past the unload", nullptr, nullptr, 0, nullptr,
                         &platform::kIID_IErrorInfo, reinterpret_cast<void **>(&info)),
                  0);
    }
    ASSERT_NE(info, nullptr);
    platform::Bstr description;
    EXPECT_EQ(info->GetDescription(description.Out()), S_OK);
    EXPECT_EQ(description.Text(), "kept past the unload");
    info->Release();
}

}  // namespace
