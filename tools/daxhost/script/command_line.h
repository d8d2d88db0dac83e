// The command line: daxhost [--lib DIR] [--expect EXPECTED] SCRIPT
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace daxhost {

struct HostOptions {
    std::string library_folder;  // empty: DefaultLibraryFolder()
    std::string expected_file;   // empty: print the transcript
    std::string script_file;
    bool help = false;
};

// The options, or nothing with `error` set.
std::optional<HostOptions> ParseCommandLine(std::span<const std::string_view> arguments,
                                            std::string *error);

extern const char kUsage[];

// The lines of a text file, without their line ends (LF or CR LF); nothing when
// the file cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::string &file);

}  // namespace daxhost
