// The alias exports. Aliases live in the T table and are shared by all trees;
// T_SetAliasA creates the table when there is none.
#include <cstdint>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "tstore/paths/t_names.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_table.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kSetSource[] = "T.T_SetAlias";
constexpr char kEmptyAlias[] = "Invalid Alias: \"\"";

void SetAlias(const std::string &alias, const std::string &replacement) {
    if (alias.empty())
        RaiseError(kAttributeInvalid, kSetSource, kEmptyAlias);
    if (replacement.empty())
        RaiseError(kAttributeInvalid, kSetSource, "Invalid ReplString: \"\"");
    T_Table &table = Get_T_Table();
    if (!Same_Name(table.Aliases().Expand(replacement), replacement))
        RaiseErrorFormat(kParameterInvalid, kSetSource,
                         "The replacement string starts with an existing alias: %.250s",
                         replacement.c_str());
    if (table.Find_T_Object(alias) >= 0)
        RaiseErrorFormat(kParameterInvalid, kSetSource,
                         "The alias is identical to an existing root node name: %.250s",
                         alias.c_str());
    table.Aliases().Set(alias, replacement);
}

std::string GetAlias(const std::string &alias) {
    const T_Table *table = Existing_T_Table();
    if (table == nullptr)
        RaiseErrorFormat(kAliasNotFound, "T.T_GetAlias", "Alias not found: %.236s", alias.c_str());
    constexpr char kSource[] = "T.T_Table.GetAlias";
    if (alias.empty())
        RaiseError(kAttributeInvalid, kSource, kEmptyAlias);
    const std::string *replacement = table->Aliases().Find(alias);
    if (replacement == nullptr)
        RaiseErrorFormat(kAliasNotFound, kSource, "Alias not found: %.236s", alias.c_str());
    return *replacement;
}

void DeleteAlias(const std::string &alias) {
    T_Table *table = Existing_T_Table();
    if (table == nullptr)
        return;
    if (alias.empty())
        RaiseError(kAttributeInvalid, "T.T_Table.DeleteAlias", kEmptyAlias);
    table->Aliases().Delete(alias);
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API int32_t DAX64_CALL T_SetAliasA(const char *alias, const char *replacement) {
    return tstore::StoreIntegerExport("dax/t_alias[66]", [&] {
        tstore::SetAlias(TextArgument(alias).Str(), TextArgument(replacement).Str());
        return 0;
    });
}

DAX64_API char *DAX64_CALL T_GetAliasA(const char *alias) {
    return tstore::StoreTextExport(
        "dax/t_alias[73]", [&] { return AnsiString(tstore::GetAlias(TextArgument(alias).Str())); });
}

DAX64_API char *DAX64_CALL T_ListAliasesA(void) {
    return tstore::StoreTextExport("dax/t_alias[78]", [] {
        const tstore::T_Table *table = tstore::Existing_T_Table();
        return table != nullptr ? AnsiString(table->Aliases().List()) : AnsiString();
    });
}

DAX64_API int32_t DAX64_CALL T_DeleteAliasA(const char *alias) {
    return tstore::StoreIntegerExport("dax/t_alias[85]", [&] {
        tstore::DeleteAlias(TextArgument(alias).Str());
        return 0;
    });
}
