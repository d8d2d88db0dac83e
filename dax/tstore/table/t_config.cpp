// Properties are found with VekPropsFindNamedItemA, which never adds an entry, so
// reading leaves the list as T_Declare copied it.
#include "tstore/table/t_config.h"

#include "frame/error_model.h"
#include "imports/vek_imports.h"
#include "vek64_store.h"

namespace Ostrel::Zam::tstore {

void T_Config::Free::operator()(void *properties) const {
    VekPropsFree(properties);
}

T_Config::T_Config(const void *source) : properties_(CheckAllocated(VekPropsNew())) {
    if (source != nullptr)
        CheckVekResult(VekPropsMerge(properties_.get(), source, -3));
}

int32_t T_Config::ReadInt32(const char *name) const {
    const VEKPROPERTYA *item = VekPropsFindNamedItemA(properties_.get(), name);
    int32_t value = 0;
    if (item != nullptr)
        CheckVekResult(VekVarToInt32(&item->value, &value));
    return value;
}

int64_t T_Config::ReadInt(const char *name) const {
    const VEKPROPERTYA *item = VekPropsFindNamedItemA(properties_.get(), name);
    int64_t value = 0;
    if (item != nullptr)
        CheckVekResult(VekVarToInt(&item->value, &value));
    return value;
}

AnsiString T_Config::ReadText(const char *name) const {
    const VEKPROPERTYA *item = VekPropsFindNamedItemA(properties_.get(), name);
    AnsiString text;
    if (item != nullptr)
        CheckVekResult(VekVarToStrA(&item->value, text.Out()));
    return text;
}

}  // namespace Ostrel::Zam::tstore
