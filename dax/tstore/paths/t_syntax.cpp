// The syntax checks and the export T_CheckNodeNameA. Node paths and identifiers
// share one walk over their characters and sections; an identifier also accepts
// "#" as a twin index and limits where '+' may stand. Every fault of a path (or of
// an identifier) raises the same error, so the checks may run in any order: each
// is made where the walk passes the characters it needs.
#include "tstore/paths/t_syntax.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dax64.h"
#include "frame/error_model.h"
#include "tstore/paths/t_names.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"

namespace Ostrel::Zam::tstore {

namespace {

enum class PathKind { kNodePath, kIdentifier };

bool ValidTwinIndex(std::string_view index, PathKind kind) {
    if (kind == PathKind::kIdentifier && index == "#")
        return true;
    const std::optional<int32_t> value = Parse_Decimal(index);
    return value.has_value() && (*value >= 1 || *value == -1);
}

// The marks in one section, gathered as the walk passes its characters.
struct SectionMarks {
    size_t open = std::string_view::npos;   // the first '[' (offset in the section)
    size_t close = std::string_view::npos;  // the first ']'
    int32_t pluses = 0;
    bool other_wildcards = false;  // a '?' or a '*'
};

// At most one '+', and none beside '?' or '*'.
bool ValidWildcards(const SectionMarks &marks) {
    return marks.pluses == 0 || (marks.pluses == 1 && !marks.other_wildcards);
}

// A name with an optional twin index that closes the section.
bool ValidSection(std::string_view section, const SectionMarks &marks, PathKind kind) {
    if (section.empty())
        return false;
    if (kind == PathKind::kIdentifier && !ValidWildcards(marks))
        return false;
    if (marks.open == std::string_view::npos)
        return marks.close == std::string_view::npos;
    if (marks.open == 0 || marks.close != section.size() - 1)
        return false;
    return ValidTwinIndex(section.substr(marks.open + 1, marks.close - marks.open - 1), kind);
}

// Records a character of a section in its marks; `at` is its offset in the section.
void Mark(SectionMarks &marks, char c, size_t at) {
    switch (c) {
        case '[':
            if (marks.open == std::string_view::npos)
                marks.open = at;
            break;
        case ']':
            if (marks.close == std::string_view::npos)
                marks.close = at;
            break;
        case '+':
            ++marks.pluses;
            break;
        case '?':
        case '*':
            marks.other_wildcards = true;
            break;
        default:
            break;
    }
}

// What the walk does with a character: refuse it, pass it, end a section at it, or
// record it in the section's marks. One table per kind of text, so that each
// character costs one look-up.
enum class CharacterClass : unsigned char { kForeign, kPlain, kStop, kMark };

struct CharacterClasses {
    std::array<CharacterClass, 256> of{};
};

constexpr CharacterClasses ClassesOf(std::string_view allowed) {
    CharacterClasses classes;
    for (char c : allowed) {
        const bool mark = c == '[' || c == ']' || c == '+' || c == '?' || c == '*';
        classes.of[static_cast<unsigned char>(c)] = c == '.' ? CharacterClass::kStop
                                                    : mark   ? CharacterClass::kMark
                                                             : CharacterClass::kPlain;
    }
    return classes;
}

constexpr CharacterClasses kPathClasses = ClassesOf(kPathCharacters);
constexpr CharacterClasses kIdentifierClasses = ClassesOf(kIdentifierCharacters);

// Most paths hold name characters and full stops only; their sections are well
// formed exactly when none is empty, which one loop without marks answers. Empty
// when the text holds a character that needs the full walk ('[', ']' and
// wildcards).
std::optional<bool> PlainWellFormed(std::string_view text, const CharacterClasses &classes) {
    bool section_empty = true;
    for (const char c : text) {
        const CharacterClass kind = classes.of[static_cast<unsigned char>(c)];
        if (kind == CharacterClass::kPlain) {
            section_empty = false;
            continue;
        }
        if (kind == CharacterClass::kMark)
            return std::nullopt;
        if (kind == CharacterClass::kForeign || section_empty)
            return false;
        section_empty = true;  // a full stop starts the next section
    }
    return !section_empty;
}

// One pass over the text: every character must be in the set, and each section
// well formed when its closing full stop (or the end) is reached. A full stop at
// either end shows as an empty section. The run of plain characters between two
// others (most of any path) is passed by a tight loop of its own.
bool WellFormed(std::string_view text, PathKind kind) {
    const CharacterClasses &classes =
        kind == PathKind::kNodePath ? kPathClasses : kIdentifierClasses;
    if (const std::optional<bool> plain = PlainWellFormed(text, classes))
        return *plain;
    const char *const first = text.data();
    const char *const end = first + text.size();
    const char *section = first;
    SectionMarks marks;
    for (const char *at = first;; ++at) {
        while (at != end && classes.of[static_cast<unsigned char>(*at)] == CharacterClass::kPlain)
            ++at;
        if (at == end)
            break;
        switch (classes.of[static_cast<unsigned char>(*at)]) {
            case CharacterClass::kPlain:
                break;
            case CharacterClass::kForeign:
                return false;
            case CharacterClass::kMark:
                Mark(marks, *at, static_cast<size_t>(at - section));
                break;
            case CharacterClass::kStop:
                if (!ValidSection(std::string_view(section, static_cast<size_t>(at - section)),
                                  marks, kind))
                    return false;
                section = at + 1;
                marks = SectionMarks();
                break;
        }
    }
    return ValidSection(std::string_view(section, static_cast<size_t>(end - section)), marks, kind);
}

bool ValidAttributeName(std::string_view name) {
    return Number_Char_From_Set(name, kNameSet, true) == static_cast<int32_t>(name.size());
}

}  // namespace

void Check_Node_Path_Syntax(std::string_view path) {
    constexpr char kSource[] = "T.Check_Node_Path_Syntax";
    if (path.empty())
        RaiseError(kNodePathInvalid, kSource, "Node path is invalid (empty)");
    if (!WellFormed(path, PathKind::kNodePath))
        RaiseErrorFormat(kNodePathInvalid, kSource, "Node path is invalid: '%.231s'",
                         std::string(path).c_str());
}

void Check_Node_Identifier_Syntax(std::string_view identifier) {
    if (!WellFormed(identifier, PathKind::kIdentifier))
        RaiseErrorFormat(kIdentifierInvalid, "T.Check_Node_Identifier_Syntax",
                         "Node identifier is invalid: '%.225s'", std::string(identifier).c_str());
}

AttributePath Check_Attribute_Path_Syntax(std::string_view attribute_path) {
    const AttributePath parts = Split_Attribute_Path(attribute_path);
    if (parts.attribute.empty()) {
        Check_Node_Path_Syntax(attribute_path);
        return parts;
    }
    Check_Node_Path_Syntax(parts.node);
    if (!ValidAttributeName(parts.attribute))
        RaiseErrorFormat(kAttributeInvalid, "T.Check_Attribute_Path_Syntax",
                         "Attribute path is invalid: '%.226s'",
                         std::string(attribute_path).c_str());
    return parts;
}

void Check_Attribute_Identifier_Syntax(std::string_view attribute_identifier) {
    const AttributePath parts = Split_Attribute_Path(attribute_identifier);
    if (parts.attribute.empty())
        return Check_Node_Identifier_Syntax(attribute_identifier);
    Check_Node_Identifier_Syntax(parts.node);
    if (!ValidAttributeName(parts.attribute))
        RaiseErrorFormat(kIdentifierInvalid, "T.Check_Attribute_Identifier_Syntax",
                         "Attribute identifier is invalid: '%.220s'",
                         std::string(attribute_identifier).c_str());
}

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

// 1 when the name is made of name characters only, else 0 (the thread's error
// information then names the last foreign character). Never raises.
DAX64_API int32_t DAX64_CALL T_CheckNodeNameA(const char *name) {
    return tstore::StoreIntegerExport("dax/t_syntax[114]", [&]() -> int32_t {
        const AnsiString text = TextArgument(name);
        if (text.Empty())
            return 0;
        const std::string_view view = text.View();
        return tstore::Number_Char_From_Set(view, tstore::kNameSet, true) ==
                       static_cast<int32_t>(view.size())
                   ? 1
                   : 0;
    });
}
