// The syntax checks and the export T_CheckNodeNameA. Node paths and identifiers
// share one walk over their sections; an identifier also accepts "#" as a twin
// index and limits where '+' may stand.
#include "tstore/t_syntax.h"

#include <cstdint>
#include <string>

#include "dax64.h"
#include "frame/error_model.h"
#include "frame/export_frame.h"
#include "tstore/t_errors.h"
#include "tstore/t_names.h"

namespace Ostrel::Zam::tstore {

namespace {

enum class PathKind { kNodePath, kIdentifier };

bool ValidTwinIndex(std::string_view index, PathKind kind) {
    if (kind == PathKind::kIdentifier && index == "#")
        return true;
    const std::optional<int32_t> value = Parse_Decimal(index);
    return value.has_value() && (*value >= 1 || *value == -1);
}

bool ValidWildcards(std::string_view section) {
    const size_t plus = section.find('+');
    if (plus == std::string_view::npos)
        return true;
    return section.find('+', plus + 1) == std::string_view::npos &&
           section.find_first_of("?*") == std::string_view::npos;
}

// A name with an optional twin index that closes the section.
bool ValidSection(std::string_view section, PathKind kind) {
    if (section.empty())
        return false;
    if (kind == PathKind::kIdentifier && !ValidWildcards(section))
        return false;
    const size_t open = section.find('[');
    const size_t close = section.find(']');
    if (open == std::string_view::npos)
        return close == std::string_view::npos;
    if (open == 0 || close != section.size() - 1)
        return false;
    return ValidTwinIndex(section.substr(open + 1, close - open - 1), kind);
}

bool WellFormed(std::string_view text, PathKind kind) {
    const std::string_view set =
        kind == PathKind::kNodePath ? kPathCharacters : kIdentifierCharacters;
    if (Number_Char_From_Set(text, set, false) != static_cast<int32_t>(text.size()))
        return false;
    if (!text.empty() && (text.front() == '.' || text.back() == '.'))
        return false;
    for (std::string_view section : Sections(text)) {
        if (!ValidSection(section, kind))
            return false;
    }
    return true;
}

bool ValidAttributeName(std::string_view name) {
    return Number_Char_From_Set(name, kNameCharacters, true) == static_cast<int32_t>(name.size());
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

void Check_Attribute_Path_Syntax(std::string_view attribute_path) {
    const AttributePath parts = Split_Attribute_Path(attribute_path);
    if (parts.attribute.empty())
        return Check_Node_Path_Syntax(attribute_path);
    Check_Node_Path_Syntax(parts.node);
    if (!ValidAttributeName(parts.attribute))
        RaiseErrorFormat(kAttributeInvalid, "T.Check_Attribute_Path_Syntax",
                         "Attribute path is invalid: '%.226s'",
                         std::string(attribute_path).c_str());
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
    return IntegerExport("dax/t_syntax[114]", [&]() -> int32_t {
        const AnsiString text = TextArgument(name);
        if (text.Empty())
            return 0;
        const std::string_view view = text.View();
        return tstore::Number_Char_From_Set(view, tstore::kNameCharacters, true) ==
                       static_cast<int32_t>(view.size())
                   ? 1
                   : 0;
    });
}
