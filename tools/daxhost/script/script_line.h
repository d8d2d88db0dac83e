// One line of a script, parsed. The grammar of a call line:
//
//   [keep-error] [[$]name =] Export([argument {, argument}])
//
// where an argument is a quoted text with C escapes (\n \t \r \\ \" \' and \xHH
// with exactly two hexadecimal digits; a zero byte cannot be written), `null`,
// `out` (an output text the call fills in), an integer (decimal, possibly
// negative, or 0x hexadecimal; -2147483648 .. 4294967295, stored as its low 32
// bits) or `$name`, a variable set by an earlier line. Blank lines and lines whose
// first non-blank character is `#` are passed through.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace daxhost {

enum class ArgumentForm { kText, kNull, kOut, kInteger, kVariable };

struct Argument {
    ArgumentForm form = ArgumentForm::kNull;
    std::string text;  // the bytes of a text, or the name of a variable
    int32_t integer = 0;
};

struct CallLine {
    bool keep_error = false;  // call without clearing the thread's error first
    std::string target;       // variable that receives the result; empty for none
    std::string export_name;
    std::vector<Argument> arguments;
};

enum class LineKind { kPassThrough, kCall, kMalformed };

struct ParsedLine {
    LineKind kind = LineKind::kPassThrough;
    CallLine call;      // for kCall
    std::string error;  // for kMalformed: what is wrong, with its column
};

ParsedLine ParseScriptLine(std::string_view line);

}  // namespace daxhost
