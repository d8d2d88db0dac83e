#include "str/istring_walk.h"

namespace Ostrel::Zam::istring {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

// For each prefix of the pattern, the length of its longest proper border (a
// prefix that is also a suffix): the failure function of Knuth, Morris and Pratt.
std::vector<size_t> Borders(std::string_view pattern) {
    std::vector<size_t> borders(pattern.size(), 0);
    size_t border = 0;
    for (size_t i = 1; i < pattern.size(); ++i) {
        while (border > 0 && Upper(pattern[i]) != Upper(pattern[border]))
            border = borders[border - 1];
        if (Upper(pattern[i]) == Upper(pattern[border]))
            ++border;
        borders[i] = border;
    }
    return borders;
}

}  // namespace

Measure MeasureIString(std::string_view text) {
    Measure measure;
    for (size_t offset = 0; offset < text.size(); ++measure.characters) {
        if (text[offset] == '#' && text.size() - offset < 3) {
            measure.incomplete_escape = offset;
            break;
        }
        offset = StepCharacter(text, offset);
    }
    return measure;
}

std::vector<size_t> CharacterStarts(std::string_view text) {
    std::vector<size_t> starts;
    size_t offset = 0;
    while (offset < text.size()) {
        starts.push_back(offset);
        offset = StepCharacter(text, offset);
    }
    starts.push_back(text.size());
    return starts;
}

size_t FindIgnoringCase(std::string_view text, std::string_view pattern) {
    if (pattern.empty())
        return 0;
    const std::vector<size_t> borders = Borders(pattern);
    size_t matched = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        while (matched > 0 && Upper(text[i]) != Upper(pattern[matched]))
            matched = borders[matched - 1];
        if (Upper(text[i]) == Upper(pattern[matched]))
            ++matched;
        if (matched == pattern.size())
            return i + 1 - matched;
    }
    return std::string_view::npos;
}

}  // namespace Ostrel::Zam::istring
