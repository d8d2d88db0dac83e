// The exported functions of property lists.
#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "properties/property_list.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace {

// Copies one value into a property, replacing what it held. 0 or a status.
int32_t StoreValue(VEKPROPERTYA &property, const VEKVARIANT &value, const char *function) {
    VEKVARIANT copy{};
    if (const int32_t status = vek::variant::Duplicate(value, copy, function))
        return status;
    vek::variant::Release(property.value);
    property.value = copy;
    return 0;
}

int32_t CopyEvery(VEKPROPS &destination, const VEKPROPS &source, const char *function) {
    for (int32_t i = 0; i < source.Count(); ++i) {
        const VEKPROPERTYA *item = source.At(i);
        VEKPROPERTYA &target = destination.Edit(vek::ViewOfCounted(item->name));
        if (const int32_t status = StoreValue(target, item->value, function))
            return status;
    }
    return 0;
}

int32_t MissingList(const char *function) {
    return vek::Fail(VEK_E_POINTER, function, "No property list given");
}

int32_t MissingName(const char *function) {
    return vek::Fail(VEK_E_POINTER, function, "No property name given");
}

}  // namespace

VEK_API void *VEK_CALL VekPropsNew(void) {
    return vek::GuardPointer("VekPropsNew", [] { return static_cast<void *>(new VEKPROPS()); });
}

VEK_API void VEK_CALL VekPropsFree(void *props) {
    delete VEKPROPS::From(props);
}

VEK_API int32_t VEK_CALL VekPropsClear(void *props) {
    return vek::GuardStatus("VekPropsClear", [props]() -> int32_t {
        if (props == nullptr)
            return MissingList("VekPropsClear");
        VEKPROPS::From(props)->Clear();
        return 0;
    });
}

VEK_API int32_t VEK_CALL VekPropsCount(const void *props) {
    return props == nullptr ? 0 : VEKPROPS::From(props)->Count();
}

VEK_API VEKPROPERTYA *VEK_CALL VekPropsItemAt(void *props, int32_t index) {
    return props == nullptr ? nullptr : VEKPROPS::From(props)->At(index);
}

VEK_API VEKPROPERTYA *VEK_CALL VekPropsEditNamedItemA(void *props, const char *name) {
    constexpr const char *kFunction = "VekPropsEditNamedItemA";
    return vek::GuardPointer(kFunction, [&]() -> VEKPROPERTYA * {
        if (props == nullptr || name == nullptr) {
            props == nullptr ? MissingList(kFunction) : MissingName(kFunction);
            return nullptr;
        }
        return &VEKPROPS::From(props)->Edit(name);
    });
}

VEK_API const VEKPROPERTYA *VEK_CALL VekPropsFindNamedItemA(const void *props, const char *name) {
    if (props == nullptr || name == nullptr)
        return nullptr;
    return VEKPROPS::From(props)->Find(name);
}

VEK_API int32_t VEK_CALL VekPropsMerge(void *destination, const void *source, int32_t mode) {
    constexpr const char *kFunction = "VekPropsMerge";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        if (destination == nullptr)
            return MissingList(kFunction);
        if (mode != -3 && mode != 0)
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "Invalid merge mode: %d", mode);
        if (destination == source)
            return 0;
        VEKPROPS &target = *VEKPROPS::From(destination);
        // No source is an empty list: nothing to add, or an empty copy.
        if (source == nullptr) {
            if (mode == -3)
                target.Clear();
            return 0;
        }
        const VEKPROPS &from = *VEKPROPS::From(source);
        if (mode == 0)
            return CopyEvery(target, from, kFunction);
        // An empty destination is left empty by a failed copy: as it was. Any other is
        // replaced only by a finished copy, built aside.
        if (target.Count() == 0)
            return target.CopyOf(from, kFunction);
        VEKPROPS copy;
        if (const int32_t status = copy.CopyOf(from, kFunction))
            return status;
        target.TakeOver(copy);
        return 0;
    });
}

namespace {

// Stores a value under a name, adding the property when absent.
template <typename Store>
int32_t SetNamed(void *props, const char *name, const char *function, Store store) {
    return vek::GuardStatus(function, [&]() -> int32_t {
        if (props == nullptr)
            return MissingList(function);
        if (name == nullptr)
            return MissingName(function);
        return store(VEKPROPS::From(props)->Edit(name).value);
    });
}

}  // namespace

VEK_API int32_t VEK_CALL VekPropsSetTextA(void *props, const char *name, const char *text) {
    return SetNamed(props, name, "VekPropsSetTextA", [text](VEKVARIANT &value) {
        return vek::variant::AssignText(value, vek::ViewOf(text, -1), "VekPropsSetTextA");
    });
}

VEK_API int32_t VEK_CALL VekPropsSetInt32(void *props, const char *name, int32_t value) {
    return SetNamed(props, name, "VekPropsSetInt32",
                    [value](VEKVARIANT &slot) { return VekVarFromInt32(&slot, value); });
}
