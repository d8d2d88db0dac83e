// daxpack: makes the packed files that DaxUnpackTree reads, and reads them back.
//
//   daxpack pack   [--json] INPUT OUTPUT   record texts -> packed file
//   daxpack unpack [--json] INPUT OUTPUT   packed file  -> record texts
//
// Records are one text a line (`name=value` items separated by ";"), or with --json a
// JSON array of objects whose members are the items. Exit code 0 on success, 1 on a
// failure (described on standard error), 2 on a wrong command line.
#include <cstdio>
#include <string>
#include <vector>

#include "packed_records.h"
#include "record_files.h"

namespace {

int Usage() {
    std::fputs("usage: daxpack pack|unpack [--json] INPUT OUTPUT\n", stderr);
    return 2;
}

int Failed(const std::string &error) {
    std::fprintf(stderr, "daxpack: %s\n", error.c_str());
    return 1;
}

bool Pack(const std::string &input, bool json, std::string &output, std::string &error) {
    std::vector<std::string> records;
    if (json) {
        if (!daxpack::RecordsFromJson(input, records, error))
            return false;
    } else {
        records = daxpack::RecordsFromLines(input);
    }
    return daxpack::PackRecords(records, output, error);
}

bool Unpack(const std::string &input, bool json, std::string &output, std::string &error) {
    std::vector<std::string> records;
    if (!daxpack::UnpackRecords(input, records, error))
        return false;
    return json ? daxpack::JsonFromRecords(records, output, error)
                : daxpack::LinesFromRecords(records, output, error);
}

}  // namespace

int main(int argc, char **argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    bool json = false;
    if (arguments.size() == 4 && arguments[1] == "--json") {
        json = true;
        arguments.erase(arguments.begin() + 1);
    }
    if (arguments.size() != 3 || (arguments[0] != "pack" && arguments[0] != "unpack"))
        return Usage();
    std::string input;
    std::string output;
    std::string error;
    if (!daxpack::ReadWholeFile(arguments[1], input, error))
        return Failed(error);
    const bool done = arguments[0] == "pack" ? Pack(input, json, output, error)
                                             : Unpack(input, json, output, error);
    if (!done || !daxpack::WriteWholeFile(arguments[2], output, error))
        return Failed(error);
    return 0;
}
