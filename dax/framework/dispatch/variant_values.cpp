#include "framework/dispatch/variant_values.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Ostrel::Zam {

namespace {

constexpr int kMaxIndirections = 4;  // a VARIANT by reference may refer to a reference again

// Reads the value a by-reference VARIANT of a kind other than VT_VARIANT points to.
ReadResult ReadReferencedValue(const VARIANT &argument, VARIANT *view) {
    const auto kind = static_cast<VARTYPE>(argument.vt & ~VT_BYREF);
    if (argument.byref == nullptr)
        return ReadResult::kNullReference;
    VariantInit(view);
    if (const std::size_t size = platform::ScalarValueSize(kind); size != 0) {
        std::memcpy(&view->llVal, argument.byref, size);
    } else if (kind == VT_DECIMAL) {
        std::memcpy(&view->decVal, argument.byref, sizeof(DECIMAL));
    } else {
        // Texts, objects and arrays: the pointer stored behind the reference.
        std::memcpy(&view->byref, argument.byref, sizeof(void *));
    }
    view->vt = kind;
    return ReadResult::kValue;
}

}  // namespace

void OwnedVariant::MoveTo(VARIANT *target) {
    VariantClear(target);
    std::memcpy(static_cast<void *>(target), &value_, sizeof(VARIANT));
    VariantInit(&value_);
}

ReadResult ReadThrough(const VARIANT &argument, VARIANT *view) {
    const VARIANT *current = &argument;
    for (int depth = 0; depth <= kMaxIndirections; ++depth) {
        if (current->vt != (VT_BYREF | VT_VARIANT)) {
            if ((current->vt & VT_BYREF) != 0)
                return ReadReferencedValue(*current, view);
            std::memcpy(static_cast<void *>(view), current, sizeof(VARIANT));
            return ReadResult::kValue;
        }
        if (current->pvarVal == nullptr)
            return ReadResult::kNullReference;
        current = current->pvarVal;
    }
    return ReadResult::kNullReference;
}

VARIANT MissingArgument() {
    VARIANT marker;
    VariantInit(&marker);
    marker.vt = VT_ERROR;
    marker.scode = DISP_E_PARAMNOTFOUND;
    return marker;
}

bool IsMissing(const VARIANT &value) {
    return value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND;
}

bool IsObject(const VARIANT &value) {
    return value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN;
}

void SetInt32(VARIANT *target, int32_t value) {
    VariantClear(target);
    target->vt = VT_I4;
    target->lVal = value;
}

void SetBool(VARIANT *target, bool value) {
    VariantClear(target);
    target->vt = VT_BOOL;
    target->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetText(VARIANT *target, std::string_view text) {
    VariantClear(target);
    target->vt = VT_BSTR;
    target->bstrVal = platform::BstrFromText(text);
}

void SetObject(VARIANT *target, IDispatch *object) {
    VariantClear(target);
    target->vt = VT_DISPATCH;
    target->pdispVal = object;
    if (object != nullptr)
        object->AddRef();
}

void SetUnknown(VARIANT *target, IUnknown *object) {
    VariantClear(target);
    target->vt = VT_UNKNOWN;
    target->punkVal = object;
    if (object != nullptr)
        object->AddRef();
}

std::string KindName(VARTYPE vt) {
    if ((vt & VT_ARRAY) != 0)
        return KindName(static_cast<VARTYPE>(vt & ~(VT_ARRAY | VT_BYREF))) + "()";
    switch (vt & ~VT_BYREF) {
        case VT_EMPTY:
            return "Empty";
        case VT_NULL:
            return "Null";
        case VT_I2:
            return "Integer";
        case VT_I4:
            return "Long";
        case VT_R4:
            return "Single";
        case VT_R8:
            return "Double";
        case VT_CY:
            return "Currency";
        case VT_DATE:
            return "Date";
        case VT_BSTR:
            return "String";
        case VT_DISPATCH:
            return "Object";
        case VT_ERROR:
            return "Error";
        case VT_BOOL:
            return "Boolean";
        case VT_VARIANT:
            return "Variant";
        case VT_UNKNOWN:
            return "Unknown";
        case VT_DECIMAL:
            return "Decimal";
        case VT_I1:
            return "SByte";
        case VT_UI1:
            return "Byte";
        case VT_UI2:
            return "UShort";
        case VT_UI4:
            return "ULong";
        case VT_I8:
            return "LongLong";
        case VT_UI8:
            return "ULongLong";
        case VT_INT:
            return "Long";
        case VT_UINT:
            return "ULong";
        default: {
            char text[32];
            std::snprintf(text, sizeof text, "VarType %u", static_cast<unsigned>(vt));
            return text;
        }
    }
}

bool ToIndex(const VARIANT &value, int64_t *index) {
    double real = 0;
    switch (value.vt) {
        case VT_I1:
            *index = static_cast<int8_t>(value.bVal);
            return true;
        case VT_UI1:
            *index = value.bVal;
            return true;
        case VT_I2:
            *index = value.iVal;
            return true;
        case VT_UI2:
            *index = static_cast<uint16_t>(value.iVal);
            return true;
        case VT_I4:
        case VT_INT:
            *index = value.lVal;
            return true;
        case VT_UI4:
        case VT_UINT:
            *index = value.ulVal;
            return true;
        case VT_I8:
            *index = value.llVal;
            return true;
        case VT_UI8:
            if (value.ullVal > static_cast<uint64_t>(INT64_MAX))
                return false;
            *index = static_cast<int64_t>(value.ullVal);
            return true;
        case VT_R4:
            real = value.fltVal;
            break;
        case VT_R8:
            real = value.dblVal;
            break;
        default:
            return false;
    }
    if (!std::isfinite(real) || real != std::floor(real) || std::fabs(real) > 9.0e15)
        return false;
    *index = static_cast<int64_t>(real);
    return true;
}

bool ToText(const VARIANT &value, std::string *text) {
    if (value.vt != VT_BSTR)
        return false;
    *text = platform::TextFromBstr(value.bstrVal);
    return true;
}

HRESULT ChangeKind(const VARIANT &value, VARTYPE vt, VARIANT *copy) {
    VariantClear(copy);
    if (vt == VT_VARIANT || vt == value.vt)
        return CopyValue(copy, value);
    return VariantChangeType(copy, const_cast<VARIANT *>(&value), 0, vt);
}

std::string SystemMessage(HRESULT code) {
    switch (static_cast<uint32_t>(code) & 0xBFFFFFFFu) {
        case 0x80004001u:
            return "Not implemented";
        case 0x80004002u:
            return "No such interface supported";
        case 0x80004003u:
            return "Invalid pointer";
        case 0x80004005u:
            return "Unspecified error";
        case 0x8000FFFFu:
            return "Catastrophic failure";
        case 0x8007000Eu:
            return "Not enough memory resources are available";
        case 0x80070057u:
            return "The parameter is incorrect";
        case 0x80020001u:
            return "Unknown interface";
        case 0x80020003u:
            return "Member not found";
        case 0x80020004u:
            return "Parameter not found";
        case 0x80020005u:
            return "Type mismatch";
        case 0x80020006u:
            return "Unknown name";
        case 0x80020007u:
            return "No named arguments";
        case 0x80020008u:
            return "Bad variable type";
        case 0x80020009u:
            return "Exception occurred";
        case 0x8002000Au:
            return "Out of present range";
        case 0x8002000Bu:
            return "Invalid index";
        case 0x8002000Cu:
            return "Unknown language";
        case 0x8002000Eu:
            return "Invalid number of parameters";
        case 0x8002000Fu:
            return "Parameter not optional";
        case 0x8002802Du:
            return "Name already exists in the library";
        case 0x80040110u:
            return "Class does not support aggregation";
        case 0x80000054u:
            return "Too many parameters";
        default: {
            char text[40];
            std::snprintf(text, sizeof text, "Error %08Xh", static_cast<unsigned>(code));
            return text;
        }
    }
}

}  // namespace Ostrel::Zam
