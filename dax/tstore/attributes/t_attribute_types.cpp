#include "tstore/attributes/t_attribute_types.h"

#include <array>
#include <utility>

#include "frame/error_model.h"
#include "imports/vek_imports.h"
#include "tstore/paths/t_names.h"
#include "tstore/table/t_object.h"

namespace Ostrel::Zam::tstore {

namespace {

struct NamedType {
    std::string_view name;
    AttributeType type;
};

constexpr std::array<NamedType, 6> kTypeNames = {{
    {"Binary", AttributeType::kBinary},
    {"Boolean", AttributeType::kBoolean},
    {"Long", AttributeType::kLong},
    {"Date/Time", AttributeType::kDateTime},
    {"String", AttributeType::kString},
    {"Variant", AttributeType::kVariant},
}};

// The per-attribute keys take at most 255 characters of the attribute's name.
std::string AttributeKey(std::string_view attribute, std::string_view suffix) {
    std::string key = "Attribute ";
    key += attribute.substr(0, 255);
    key += suffix;
    return key;
}

bool HasFreshKind(AttributeType type) {
    return type == AttributeType::kBinary || type == AttributeType::kBoolean ||
           type == AttributeType::kLong || type == AttributeType::kDateTime;
}

// A value of `source` cast to a type code, raising the support library's error.
void CastInto(VekVariant &value, const VEKVARIANT &source, uint32_t code) {
    VekVariant cast;
    CheckVekResult(VekVarCast(cast.Get(), &source, code));
    value.Swap(cast);
}

}  // namespace

ConfigText::ConfigText(const T_Object &object, const std::string &key) {
    const VEKPROPERTYA *item = VekPropsFindNamedItemA(object.Config().Properties(), key.c_str());
    if (item == nullptr)
        return;
    if (item->value.type == VEK_VT_TEXT) {
        const char *text = item->value.value.text;
        view_ =
            std::string_view(text != nullptr ? text : "", static_cast<size_t>(VekTextLength(text)));
        return;
    }
    CheckVekResult(VekVarToStrA(&item->value, converted_.Out()));
    view_ = converted_.View();
}

AttributeType Type_From_Name(std::string_view type_name) {
    if (type_name.empty())
        return AttributeType::kUndeclared;
    for (const NamedType &named : kTypeNames) {
        if (Same_Name(type_name, named.name))
            return named.type;
    }
    return AttributeType::kUnknown;
}

DeclaredType Declared_Type_Of(const T_Object &object, std::string_view attribute) {
    DeclaredType declared;
    declared.name = ConfigText(object, AttributeKey(attribute, " VarType")).View();
    declared.type = Type_From_Name(declared.name);
    if (declared.type == AttributeType::kVariant) {
        const ConfigText default_name(object, AttributeKey(attribute, " Default Variant type"));
        declared.default_type = Type_From_Name(default_name.View());
    }
    return declared;
}

AttributeType Fresh_Kind(const DeclaredType &declared) {
    const AttributeType kind =
        declared.type == AttributeType::kVariant ? declared.default_type : declared.type;
    return HasFreshKind(kind) ? kind : AttributeType::kString;
}

void Default_Value(AttributeType kind, VekVariant &value) {
    VekVariant source;
    switch (kind) {
        case AttributeType::kBinary:
            CheckVekResult(VekVarFromBlob(source.Get(), nullptr, 0));
            value.Swap(source);
            return;
        case AttributeType::kBoolean:
        case AttributeType::kLong:
            // The empty text as a Boolean or a Long: false and 0.
            CheckVekResult(VekVarFromStrA(source.Get(), "", 0));
            CastInto(value, *source.Get(), Variant_Code_Of(kind));
            return;
        case AttributeType::kDateTime:
            CheckVekResult(VekVarFromInt(source.Get(), 0));
            CastInto(value, *source.Get(), VEK_VT_DATE);
            return;
        default:
            CheckVekResult(VekVarFromStrA(source.Get(), "", 0));
            value.Swap(source);
            return;
    }
}

uint32_t Variant_Code_Of(AttributeType type) {
    switch (type) {
        case AttributeType::kBinary:
            return VEK_VT_BLOB;
        case AttributeType::kBoolean:
            return VEK_VT_BOOL;
        case AttributeType::kLong:
            return VEK_VT_INT32;
        case AttributeType::kDateTime:
            return VEK_VT_DATE;
        case AttributeType::kString:
            return VEK_VT_TEXT;
        default:
            return 0;
    }
}

}  // namespace Ostrel::Zam::tstore
