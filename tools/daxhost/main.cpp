// daxhost: a console script host. It loads vek64, morph64 and dax64 at run time,
// as any host does, runs a script of export calls and prints what each returned.
//
//   daxhost [--lib DIR] SCRIPT                     prints the transcript
//   daxhost [--lib DIR] --expect EXPECTED SCRIPT   compares it with EXPECTED
//
// Script (grammar in script_line.h), one call per line:
//
//   # comments and blank lines are copied to the transcript unchanged
//   FormatOutputA("a#41", "RAW2HEX", out, 0)
//   $t = DaxTestFaultText("kept", 0)
//   DaxTestFaultText($t, 0)
//   keep-error DaxTestFault(0)
//
// Before each call the host clears the thread's error (ZamSetErrorInfo(NULL)), so
// that a failure is recognisable: a negative int32 status, or a null text while
// ZamGetLastError() is not 0. `keep-error` skips the clearing, to show what a
// success leaves behind; the functions that read the error never clear it. A
// variable keeps a call's result, failed or not; `out` receives an output text.
// A VARIANT argument is a text that describes its value ("i4:12", "bstr:abc",
// "bytes:#41#42", ...), `out` for an empty one or `null`; the outcome line shows
// each VARIANT after the call (formats in variant_argument.h):
//
//   T_SetVariantA("T.a!Count", "i4:12")
//   T_GetVariantA("T.a!Count", 0x19, out)      = 0, v = i4:12
//
// Transcript: each call line is echoed as "> " and the line, then one line of
// outcome (formats in call_outcome.h):
//
//   > FormatOutputA("a#41", "RAW2HEX", out, 0)
//   = 0, out = "6141"
//   > DaxTestFault(5)
//   ! 0xE2090003 [Test.DaxTestFault] Data is invalid
//   > Nonexistent(1)
//   ? unknown export Nonexistent
//
// "? " lines are lines the host could not run (malformed, unknown export, an
// argument of the wrong kind, an export its library lacks); the run goes on.
//
// Exit status: 0 when the run is complete (and matches EXPECTED); 1 when the
// transcript differs from EXPECTED (the first difference is printed on standard
// error with its line numbers); 2 for a usage error, a file or library that cannot
// be loaded, or, without --expect, any "? " line. With --expect, "? " lines are
// part of the transcript like any other and only the comparison decides.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "calls/export_libraries.h"
#include "script/command_line.h"
#include "script/expected_match.h"
#include "script/interpreter.h"
#include "script/transcript.h"

namespace {

using namespace daxhost;

constexpr int kOk = 0;
constexpr int kMismatch = 1;
constexpr int kUsageError = 2;

int Fail(std::string_view message) {
    std::cerr << "daxhost: " << message << "\n";
    return kUsageError;
}

void RunScript(const ExportLibraries &libraries, const std::vector<std::string> &script,
               Transcript &transcript) {
    Interpreter interpreter(libraries, transcript);
    for (size_t i = 0; i < script.size(); ++i)
        interpreter.RunLine(script[i], static_cast<int>(i + 1));
}

int Compare(const Transcript &transcript, const HostOptions &options) {
    const auto expected = ReadLines(options.expected_file);
    if (!expected)
        return Fail("cannot read " + options.expected_file);
    const auto difference = FirstDifference(transcript.Lines(), *expected);
    if (!difference)
        return kOk;
    std::cerr << "daxhost: "
              << DescribeDifference(*difference, options.expected_file, options.script_file);
    return kMismatch;
}

int Run(const HostOptions &options) {
    const auto script = ReadLines(options.script_file);
    if (!script)
        return Fail("cannot read " + options.script_file);
    ExportLibraries libraries;
    std::string error;
    const std::string folder =
        options.library_folder.empty() ? DefaultLibraryFolder() : options.library_folder;
    if (!libraries.Load(folder, &error))
        return Fail(error);

    const bool comparing = !options.expected_file.empty();
    Transcript transcript(comparing ? nullptr : &std::cout);
    RunScript(libraries, *script, transcript);
    if (comparing)
        return Compare(transcript, options);
    return transcript.HasScriptErrors() ? kUsageError : kOk;
}

}  // namespace

int main(int argc, char **argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    std::string error;
    const auto options = ParseCommandLine(arguments, &error);
    if (!options) {
        std::cerr << "daxhost: " << error << "\n" << kUsage;
        return kUsageError;
    }
    if (options->help) {
        std::cout << kUsage;
        return kOk;
    }
    return Run(*options);
}
