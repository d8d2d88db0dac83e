// What a node carries: its name, properties and modification flags.
#include <cstring>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "properties/property_list.h"
#include "text/ascii_case.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"
#include "vek64_tree.h"

int32_t VekTreeNode::SetName(const char *name, int32_t length) {
    const std::string_view text = vek::ViewOf(name, length);
    char *fresh = nullptr;
    if (text.size() > kShortName) {
        fresh = VekTextNewA(text.data(), static_cast<int32_t>(text.size()));
        if (fresh == nullptr)
            return ZamGetLastError();
    }
    // Twin ranks only change when the name changes other than in letter case.
    const bool renamed = !vek::SameTextIgnoringCase(GetName(), text);
    // The new name may be (part of) the old one: it is read before it is moved or
    // freed. A short name ends at the room's last byte; a long one leaves its last
    // byte there (NameTag).
    const char last = text.empty() ? '\0' : text.back();
    if (fresh == nullptr && !text.empty())
        std::memmove(short_name_ + (kShortName - text.size()), text.data(), text.size());
    short_name_[kShortName - 1] = last;
    short_name_length_ = fresh == nullptr ? static_cast<uint8_t>(text.size()) : uint8_t{kLongName};
    VekTextFree(name_);
    name_ = fresh;
    if (renamed && parent_ != nullptr)
        parent_->ChildrenChanged();
    return 0;
}

int32_t VekTreeNode::_GetProperty(const char *name, VEKVARIANT *value) const {
    constexpr const char *kFunction = "TreeNode._GetProperty";
    if (name == nullptr || value == nullptr)
        return vek::Fail(VEK_E_POINTER, kFunction, "No property name or value given");
    const VEKPROPERTYA *property = VEKPROPS::From(property_list_room_)->Find(name);
    if (property == nullptr) {
        vek::variant::Release(*value);
        return 0;
    }
    return VekVarCopy(value, &property->value);
}

int32_t VekTreeNode::_SetProperty(const char *name, const VEKVARIANT *value) {
    constexpr const char *kFunction = "TreeNode._SetProperty";
    if (name == nullptr || value == nullptr)
        return vek::Fail(VEK_E_POINTER, kFunction, "No property name or value given");
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        VEKPROPS *properties = VEKPROPS::From(property_list_room_);
        VEKPROPERTYA *property = properties->Find(name);
        // A value rewritten with one of its kind that fits its block stays there.
        if (property != nullptr && vek::variant::OverwriteInPlace(property->value, *value))
            return 0;
        VEKVARIANT copy{};
        if (const int32_t status = vek::variant::Duplicate(*value, copy, kFunction))
            return status;
        if (property == nullptr) {
            try {
                property = &properties->Edit(name);
            } catch (...) {
                vek::variant::Release(copy);
                throw;
            }
        }
        vek::variant::Release(property->value);
        property->value = copy;
        return 0;
    });
}

void VekTreeNode::SetModified(uint32_t flags) {
    modified_ |= flags;
}

void VekTreeNode::ClearModified(uint32_t flags) {
    modified_ &= ~flags;
}
