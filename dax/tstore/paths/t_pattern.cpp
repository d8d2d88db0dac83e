// Identifier patterns and the matching of nodes against them.
//
// The "-1" variants of a path: every section whose node is the last twin may be
// written with the index -1 instead of its number, and the node matches when any
// combination matches. Without '*' in the pattern, pattern sections and path
// sections line up one to one (nothing else in a pattern matches a full stop), so
// each section is matched on its own, with and without -1: linear in the depth.
// With '*', a -1 written on a section only helps when a pattern element other than
// '*' lines up with its "-1" (a '*' matches the real index as well); one such
// element serves one section, so combinations of at most that many sections are
// tried instead of all of them.
#include "tstore/paths/t_pattern.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "tstore/paths/t_names.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr std::array<char, VEK_WILDCARD_DESCRIPTOR_SIZE> kDescriptor = {
    0, 0, 0, 0, 0, '?', '*', 0, '{', '~', '-', '}', '#', 0, '<', '>'};

constexpr std::string_view kOneNameCharacter = "{0-9a-zA-Z_()/, :'-}";
constexpr std::string_view kNameCharacterRun = "<0-9a-zA-Z_()/, :'->";

std::string WithLastIndex(std::string_view section) {
    std::string written(Strip_Twin_Index(section));
    written += "[-1]";
    return written;
}

// 0-based numbers of the sections whose node is the last of its twins, found by
// following the node's parents from the last section upwards.
std::vector<size_t> LastTwinSections(size_t section_count, const VekTreeNode &node) {
    std::vector<size_t> found;
    const VekTreeNode *at = &node;
    for (size_t i = section_count; i-- > 0 && at != nullptr; at = at->Parent()) {
        if (at->Parent() != nullptr && at->GetTwinIndex() == at->GetTwinCount())
            found.push_back(i);
    }
    return found;
}

bool MatchSectionBySection(const std::vector<std::string_view> &sections,
                           const std::vector<size_t> &last_twins,
                           const Identifier_Pattern &pattern) {
    const std::vector<Compiled_Pattern> &parts = pattern.Section_Patterns();
    if (parts.size() != sections.size())
        return false;
    std::vector<bool> may_be_last(sections.size(), false);
    for (size_t i : last_twins)
        may_be_last[i] = true;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!parts[i].Matches(sections[i]) &&
            !(may_be_last[i] && parts[i].Matches(WithLastIndex(sections[i]))))
            return false;
    }
    return true;
}

// Pattern elements other than '*' that can match the '-' or the '1' of "-1".
size_t ElementsMatchingLastIndex(std::string_view pattern) {
    size_t count = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '{' || c == '<') {
            const size_t close = pattern.find(c == '{' ? '}' : '>', i + 1);
            i = close == std::string_view::npos ? pattern.size() : close;
            ++count;
        } else if (c == '-' || c == '1' || c == '#') {
            ++count;
        }
    }
    return count;
}

std::string Candidate(const std::vector<std::string_view> &sections,
                      const std::vector<size_t> &last_twins, const std::vector<size_t> &chosen) {
    std::vector<bool> as_last(sections.size(), false);
    for (size_t c : chosen)
        as_last[last_twins[c]] = true;
    std::string text;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (i > 0)
            text += '.';
        text += as_last[i] ? WithLastIndex(sections[i]) : std::string(sections[i]);
    }
    return text;
}

// Steps `chosen` (ascending positions below n) to the next combination of its
// size; false after the last.
bool NextCombination(std::vector<size_t> &chosen, size_t n) {
    for (size_t k = chosen.size(); k-- > 0;) {
        if (chosen[k] < n - chosen.size() + k) {
            ++chosen[k];
            for (size_t j = k + 1; j < chosen.size(); ++j)
                chosen[j] = chosen[j - 1] + 1;
            return true;
        }
    }
    return false;
}

bool MatchCombinations(const std::vector<std::string_view> &sections,
                       const std::vector<size_t> &last_twins, const Identifier_Pattern &pattern) {
    const size_t most = std::min(pattern.Elements_Matching_Last_Index(), last_twins.size());
    for (size_t size = 1; size <= most; ++size) {
        std::vector<size_t> chosen(size);
        for (size_t k = 0; k < size; ++k)
            chosen[k] = k;
        do {
            if (pattern.Matches(Candidate(sections, last_twins, chosen)))
                return true;
        } while (NextCombination(chosen, last_twins.size()));
    }
    return false;
}

}  // namespace

const void *Wildcard_Descriptor() {
    return kDescriptor.data();
}

std::string Identifier_To_Pattern(std::string_view identifier) {
    std::string classes;
    classes.reserve(identifier.size() + 32);
    for (char c : identifier) {
        if (c == '?')
            classes += kOneNameCharacter;
        else if (c == '+')
            classes += kNameCharacterRun;
        else
            classes += c;
    }
    const std::vector<std::string_view> sections = Sections(classes);
    std::string pattern(sections.front());
    for (size_t i = 1; i < sections.size(); ++i) {
        pattern += '.';
        pattern += sections[i];
        const char last = sections[i].empty() ? '\0' : sections[i].back();
        if (last != ']' && last != '*')
            pattern += "[1]";
    }
    return pattern;
}

std::string Identifier_Fixed_Prefix(std::string_view identifier) {
    const std::vector<std::string_view> sections = Sections(identifier);
    std::string prefix;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].find_first_of("?+*#") != std::string_view::npos)
            break;
        if (i > 0)
            prefix += '.';
        prefix += sections[i];
    }
    return prefix;
}

Identifier_Pattern::Identifier_Pattern(std::string_view pattern)
    : whole_(pattern),
      minus_one_(pattern.find("-1") != std::string_view::npos),
      star_(pattern.find('*') != std::string_view::npos),
      elements_matching_last_index_(ElementsMatchingLastIndex(pattern)) {}

const std::vector<Compiled_Pattern> &Identifier_Pattern::Section_Patterns() const {
    if (sections_.empty()) {
        for (std::string_view section : Sections_Of(Text()))
            sections_.emplace_back(section);
    }
    return sections_;
}

bool Match_Identifier(std::string_view path, const Identifier_Pattern &pattern,
                      const VekTreeNode &node) {
    if (pattern.Matches(path))
        return true;
    if (!pattern.Holds_Minus_One())
        return false;
    const std::vector<std::string_view> sections = Sections(path);
    const std::vector<size_t> last_twins = LastTwinSections(sections.size(), node);
    if (last_twins.empty())
        return false;
    if (!pattern.Holds_Star())
        return MatchSectionBySection(sections, last_twins, pattern);
    return MatchCombinations(sections, last_twins, pattern);
}

bool Match_Identifier(std::string_view path, std::string_view pattern, const VekTreeNode &node) {
    return Match_Identifier(path, Identifier_Pattern(pattern), node);
}

}  // namespace Ostrel::Zam::tstore
