#include "script/command_line.h"

#include <fstream>

namespace daxhost {

const char kUsage[] =
    "usage: daxhost [--lib DIR] [--expect EXPECTED] SCRIPT\n"
    "  Runs the export calls of SCRIPT and prints the transcript; with --expect,\n"
    "  compares it with EXPECTED instead ({*} in an expected line matches any text).\n"
    "  --lib DIR  folder of vek64, morph64 and dax64 (default: ../lib from the\n"
    "             program's folder when it holds them, else the program's folder)\n"
    "  Exit status: 0 ok, 1 the transcript differs, 2 usage or script error.\n";

namespace {

// Takes the value of an option that needs one; false with `error` set.
bool TakeValue(std::span<const std::string_view> arguments, size_t &i, std::string *value,
               std::string *error) {
    if (i + 1 >= arguments.size()) {
        *error = std::string(arguments[i]) + " needs a value";
        return false;
    }
    *value = arguments[++i];
    return true;
}

}  // namespace

std::optional<HostOptions> ParseCommandLine(std::span<const std::string_view> arguments,
                                            std::string *error) {
    HostOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        bool taken = true;
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--lib") {
            taken = TakeValue(arguments, i, &options.library_folder, error);
        } else if (argument == "--expect") {
            taken = TakeValue(arguments, i, &options.expected_file, error);
        } else if (argument.starts_with("-") || !options.script_file.empty()) {
            *error = "unexpected argument " + std::string(argument);
            taken = false;
        } else {
            options.script_file = argument;
        }
        if (!taken)
            return std::nullopt;
    }
    if (options.script_file.empty() && !options.help) {
        *error = "no script given";
        return std::nullopt;
    }
    return options;
}

std::optional<std::vector<std::string>> ReadLines(const std::string &file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        return std::nullopt;
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) {
        if (line.ends_with('\r'))
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace daxhost
