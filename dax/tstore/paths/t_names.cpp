// Sections, twin indexes and the canonical form of paths. Every operation is one
// pass over its text.
#include "tstore/paths/t_names.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

#include "frame/error_model.h"
#include "imports/vek_imports.h"
#include "tstore/table/t_errors.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kReplaceSectionSource[] = "T.Replace_String_Section";
constexpr char kCharacterSource[] = "T.Number_Char_From_Set";
// The longest name part that a rewritten twin index keeps.
constexpr size_t kMaxIndexedName = 255;

}  // namespace

int32_t Section_Count(std::string_view path) {
    int32_t count = 1;
    for (char c : path)
        count += c == '.' ? 1 : 0;
    return count;
}

std::string_view Get_Section(std::string_view path, int32_t n) {
    if (n == 1) {
        // The root's name, asked for by every call: a plain loop over a short name
        // costs less than a library search.
        size_t stop = 0;
        while (stop < path.size() && path[stop] != '.')
            ++stop;
        return path.substr(0, stop);
    }
    if (n < 1)
        return {};
    size_t start = 0;
    for (int32_t i = 1; i < n; ++i) {
        const size_t stop = path.find('.', start);
        if (stop == std::string_view::npos)
            return {};
        start = stop + 1;
    }
    return path.substr(start, path.find('.', start) - start);
}

std::vector<std::string_view> Sections(std::string_view path) {
    std::vector<std::string_view> sections;
    sections.reserve(static_cast<size_t>(Section_Count(path)));
    for (std::string_view section : Sections_Of(path))
        sections.push_back(section);
    return sections;
}

void Replace_String_Section(std::string &path, int32_t n, std::string_view text) {
    if (n < 1 || n > Section_Count(path))
        RaiseError(kParameterInvalid, kReplaceSectionSource,
                   "Invalid Replace_String_Section arguments: Section_Nbr and/or Section_Index");
    const std::string_view old_section = Get_Section(path, n);
    const size_t start = static_cast<size_t>(old_section.data() - path.data());
    path.replace(start, old_section.size(), text);
}

std::string_view Parent_Path(std::string_view path) {
    const size_t stop = path.rfind('.');
    return stop == std::string_view::npos ? std::string_view() : path.substr(0, stop);
}

std::string_view Node_Name_Of_Path(std::string_view path) {
    const size_t stop = path.rfind('.');
    const std::string_view last = stop == std::string_view::npos ? path : path.substr(stop + 1);
    return last.substr(0, last.find('['));
}

std::string_view Strip_Twin_Index(std::string_view section) {
    if (section.empty() || section.back() != ']')
        return section;
    const size_t open = section.rfind('[');
    return open == std::string_view::npos ? section : section.substr(0, open);
}

int32_t Twin_Index_Of_Section(std::string_view section) {
    if (section.empty() || section.back() != ']')
        return 1;
    const size_t open = section.rfind('[');
    if (open == std::string_view::npos || open + 2 == section.size())
        return -1;
    const char *first = section.data() + open + 1;
    int32_t value = 0;
    std::from_chars(first, section.data() + section.size() - 1, value);
    return value < 0 ? -1 : value;
}

int32_t Section_Twin_Index(std::string_view path, int32_t n) {
    return Twin_Index_Of_Section(Get_Section(path, n));
}

void Set_Section_Twin_Index(std::string &path, int32_t n, int32_t index) {
    const std::string_view section = Get_Section(path, n);
    const size_t open = section.rfind('[');
    if (section.size() < 4 || section.back() != ']' || open == std::string_view::npos)
        return;
    char rewritten[kMaxIndexedName + 16];
    std::snprintf(rewritten, sizeof rewritten, "%.*s[%d]",
                  static_cast<int>(std::min(open, kMaxIndexedName)), section.data(), index);
    Replace_String_Section(path, n, rewritten);
}

void Append_Twin_Index(std::string &path, int32_t index) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, index);
    static_cast<void>(error);  // 16 characters hold every 32-bit number
    path += '[';
    path.append(digits, end);
    path += ']';
}

std::string Complete_Twin_Indexes(std::string_view path) {
    size_t missing = 0;
    bool first = true;
    for (std::string_view section : Sections_Of(path)) {
        missing += !first && !Carries_Twin_Index(section) ? 1 : 0;
        first = false;
    }
    std::string canonical;
    canonical.reserve(path.size() + 3 * missing);
    first = true;
    for (std::string_view section : Sections_Of(path)) {
        if (!first)
            canonical += '.';
        canonical += section;
        if (!first && !Carries_Twin_Index(section))
            canonical += "[1]";
        first = false;
    }
    return canonical;
}

std::string Remove_First_Twin_Indexes(std::string_view path) {
    std::string kept;
    kept.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        if (path.substr(i, 3) == "[1]")
            i += 2;
        else
            kept += path[i];
    }
    return kept;
}

AttributePath Split_Attribute_Path(std::string_view text) {
    const size_t mark = text.find('!');
    if (mark == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, mark), text.substr(mark + 1)};
}

std::optional<int32_t> Parse_Decimal(std::string_view text) {
    int32_t value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

int32_t Number_Char_From_Set(std::string_view text, std::string_view set, bool report) {
    return Number_Char_From_Set(text, Character_Set(set), report);
}

int32_t Number_Char_From_Set(std::string_view text, const Character_Set &set, bool report) {
    int32_t count = 0;
    size_t last_foreign = std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (set.Contains(text[i]))
            ++count;
        else
            last_foreign = i;
    }
    if (report && last_foreign != std::string_view::npos) {
        char description[64];
        std::snprintf(description, sizeof description, "Invalid character: '%c' at position %d",
                      text[last_foreign], static_cast<int>(last_foreign + 1));
        // Recorded with the code as it is (no raise bits): a note, not a failure.
        const ErrorInfoRef note = CreateErrorInfo(kInvalidCharacterNote, kCharacterSource,
                                                  description, nullptr, nullptr, 0, nullptr);
        ZamSetErrorInfo(note.Get());
    }
    return count;
}

}  // namespace Ostrel::Zam::tstore
