#include "script/expected_match.h"

#include <algorithm>
#include <vector>

namespace daxhost {

namespace {

std::vector<std::string_view> SplitAtWildcards(std::string_view pattern) {
    std::vector<std::string_view> parts;
    for (size_t at = pattern.find(kWildcard); at != std::string_view::npos;
         at = pattern.find(kWildcard)) {
        parts.push_back(pattern.substr(0, at));
        pattern.remove_prefix(at + kWildcard.size());
    }
    parts.push_back(pattern);
    return parts;
}

std::string Shown(const std::optional<std::string> &line) {
    return line ? *line : "(no more lines)";
}

}  // namespace

bool LineMatches(std::string_view expected, std::string_view actual) {
    const std::vector<std::string_view> parts = SplitAtWildcards(expected);
    if (parts.size() == 1)
        return expected == actual;
    if (!actual.starts_with(parts.front()))
        return false;
    actual.remove_prefix(parts.front().size());
    if (!actual.ends_with(parts.back()))
        return false;
    actual.remove_suffix(parts.back().size());
    // Each middle part at its first place: any later match leaves less room for the rest.
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        const size_t at = actual.find(parts[i]);
        if (at == std::string_view::npos)
            return false;
        actual.remove_prefix(at + parts[i].size());
    }
    return true;
}

std::optional<Difference> FirstDifference(std::span<const TranscriptLine> actual,
                                          std::span<const std::string> expected) {
    const size_t count = std::max(actual.size(), expected.size());
    for (size_t i = 0; i < count; ++i) {
        const bool have_actual = i < actual.size();
        const bool have_expected = i < expected.size();
        if (have_actual && have_expected && LineMatches(expected[i], actual[i].text))
            continue;
        Difference difference;
        difference.line_number = i + 1;
        if (have_expected)
            difference.expected = expected[i];
        if (have_actual) {
            difference.actual = actual[i].text;
            difference.script_line = actual[i].script_line;
        }
        return difference;
    }
    return std::nullopt;
}

std::string DescribeDifference(const Difference &difference, std::string_view expected_file,
                               std::string_view script_file) {
    std::string text = "transcript differs from " + std::string(expected_file) + " at line " +
                       std::to_string(difference.line_number);
    if (difference.script_line > 0)
        text += " (" + std::string(script_file) + " line " +
                std::to_string(difference.script_line) + ")";
    text += ":\n  expected: " + Shown(difference.expected);
    text += "\n  actual:   " + Shown(difference.actual) + "\n";
    return text;
}

}  // namespace daxhost
