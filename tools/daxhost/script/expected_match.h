// Comparison of a transcript with an expected file. The files match line by line;
// in an expected line `{*}` stands for any run of characters (an address, a
// varying number), everything else must be equal.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "script/transcript.h"

namespace daxhost {

inline constexpr std::string_view kWildcard = "{*}";

bool LineMatches(std::string_view expected, std::string_view actual);

struct Difference {
    size_t line_number = 0;               // 1-based, in both the transcript and the expected file
    std::optional<std::string> expected;  // absent: the expected file ended before
    std::optional<std::string> actual;    // absent: the transcript ended before
    int script_line = 0;                  // of the actual line; 0 when absent
};

std::optional<Difference> FirstDifference(std::span<const TranscriptLine> actual,
                                          std::span<const std::string> expected);

// Several lines naming both files, for the console.
std::string DescribeDifference(const Difference &difference, std::string_view expected_file,
                               std::string_view script_file);

}  // namespace daxhost
