#include "framework/dispatch/member_call.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

constexpr char kHelperSource[] = "Ostrel::Zam::MemberDescriptorHelper::_Invoke";
constexpr HRESULT kTooManyParameters = static_cast<HRESULT>(0xC0000054u);
constexpr UINT kMaxPositions = 256;

const DISPPARAMS kNoParameters = {nullptr, nullptr, 0, 0};

// Refuses a parameter block that cannot be read safely.
const DISPPARAMS &CheckedBlock(const DISPPARAMS *parameters) {
    if (parameters == nullptr)
        return kNoParameters;
    if (parameters->cArgs != 0 && parameters->rgvarg == nullptr)
        RaiseErrorFormat(E_INVALIDARG, kHelperSource,
                         "Invalid parameter block: %u arguments without an argument array",
                         parameters->cArgs);
    if (parameters->cNamedArgs > parameters->cArgs)
        RaiseErrorFormat(E_INVALIDARG, kHelperSource,
                         "Invalid parameter block: %u named arguments of %u arguments",
                         parameters->cNamedArgs, parameters->cArgs);
    if (parameters->cNamedArgs != 0 && parameters->rgdispidNamedArgs == nullptr)
        RaiseErrorFormat(E_INVALIDARG, kHelperSource,
                         "Invalid parameter block: %u named arguments without their ids",
                         parameters->cNamedArgs);
    return *parameters;
}

// JScript names its `this` (DISPID_THIS) in every call it makes through
// IDispatchEx, for instance when a script calls an object as a function; the members
// here have no use for it, so it is passed over wherever named arguments are read.
bool IsCallerThis(const DISPPARAMS &block, UINT slot) {
    return slot < block.cNamedArgs && block.rgdispidNamedArgs[slot] == DISPID_THIS;
}

// The named arguments other than the caller's `this`.
UINT NamedArgumentCount(const DISPPARAMS &block) {
    UINT count = 0;
    for (UINT slot = 0; slot < block.cNamedArgs; ++slot)
        count += IsCallerThis(block, slot) ? 0 : 1;
    return count;
}

// Reads rgvarg[slot] through its references into *view.
void ReadArgument(const DISPPARAMS &block, UINT slot, int32_t position, VARIANT *view) {
    if (ReadThrough(block.rgvarg[slot], view) == ReadResult::kNullReference)
        EInvokeError::Raise(E_POINTER, kHelperSource, nullptr, position);
}

void AddArgument(MemberCall *call, const DISPPARAMS &block, UINT slot) {
    VARIANT view;
    ReadArgument(block, slot, static_cast<int32_t>(call->arguments.size()), &view);
    call->arguments.push_back(view);
    call->slots.push_back(static_cast<int32_t>(slot));
}

// Positional arguments (all but the named ones) first to last.
void AddPositional(MemberCall *call, const DISPPARAMS &block, UINT first_slot) {
    for (UINT slot = block.cArgs; slot > first_slot; --slot)
        AddArgument(call, block, slot - 1);
}

// Method or read with named arguments put at their positions.
void BuildMethodOrRead(const DISPPARAMS &block, MemberCall *call) {
    const UINT positional = block.cArgs - block.cNamedArgs;
    if (positional > kMaxPositions)
        RaiseError(kTooManyParameters, kHelperSource, "Too many parameters");
    UINT size = positional;
    for (UINT i = 0; i < block.cNamedArgs; ++i) {
        if (IsCallerThis(block, i))
            continue;
        const DISPID position = block.rgdispidNamedArgs[i];
        if (position >= static_cast<DISPID>(kMaxPositions))
            RaiseError(kTooManyParameters, kHelperSource, "Too many parameters");
        if (position < 0)
            EInvokeError::Raise(DISP_E_PARAMNOTFOUND, nullptr, nullptr, -1);
        size = std::max(size, static_cast<UINT>(position) + 1);
    }
    AddPositional(call, block, block.cNamedArgs);
    call->arguments.resize(size, MissingArgument());
    call->slots.resize(size, -1);
    for (UINT i = 0; i < block.cNamedArgs; ++i) {
        if (IsCallerThis(block, i))
            continue;
        const auto position = static_cast<UINT>(block.rgdispidNamedArgs[i]);
        if (position < positional || call->slots[position] != -1)
            RaiseErrorFormat(E_INVALIDARG, kHelperSource, "Argument %u is given more than once",
                             position + 1);
        ReadArgument(block, i, static_cast<int32_t>(position), &call->arguments[position]);
        call->slots[position] = static_cast<int32_t>(i);
    }
    call->named = NamedArgumentCount(block) != 0;
}

// The slot of the assigned value: the argument named DISPID_PROPERTYPUT, else the
// last argument. Any other named argument is refused.
UINT ValueSlot(const DISPPARAMS &block) {
    const UINT named = NamedArgumentCount(block);
    UINT slot = block.cNamedArgs;  // the last argument when none is named
    for (UINT i = 0; i < block.cNamedArgs; ++i) {
        if (IsCallerThis(block, i))
            continue;
        if (block.rgdispidNamedArgs[i] != DISPID_PROPERTYPUT || named != 1)
            RaiseError(DISP_E_NONAMEDARGS, nullptr, nullptr);
        slot = i;
    }
    return slot;
}

}  // namespace

void ReadDefaultValue(IDispatch *object, VARIANT *value) {
    if (object == nullptr)
        RaiseErrorFormat(DISP_E_TYPEMISMATCH, kHelperSource, "Cannot get default property: %.80s",
                         "Instance is Null");
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXCEPINFO record{};
    const HRESULT result = object->Invoke(DISPID_VALUE, platform::kGUID_NULL, 0,
                                          DISPATCH_PROPERTYGET, &none, value, &record, nullptr);
    platform::Bstr source(record.bstrSource);
    platform::Bstr description(record.bstrDescription);
    SysFreeString(record.bstrHelpFile);
    if (FAILED(result)) {
        const HRESULT code =
            result == DISP_E_EXCEPTION && record.scode != 0 ? record.scode : result;
        const std::string text = description.Text();
        RaiseError(code, source.Text().c_str(), text.empty() ? nullptr : text.c_str());
    }
}

namespace {

void BuildWrite(WORD flags, const DISPPARAMS &block, MemberCall *call) {
    if (block.cArgs > kMaxPositions + 1)
        RaiseError(kTooManyParameters, kHelperSource, "Too many parameters");
    // No value: no arguments at all, or only the caller's `this`.
    const UINT value_slot = ValueSlot(block);
    if (value_slot >= block.cArgs)
        EInvokeError::Raise(DISP_E_PARAMNOTFOUND);
    for (UINT slot = block.cArgs; slot > 0; --slot) {
        if (slot - 1 != value_slot && !IsCallerThis(block, slot - 1))
            AddArgument(call, block, slot - 1);
    }
    VARIANT value;
    ReadArgument(block, value_slot, static_cast<int32_t>(call->arguments.size()), &value);
    const bool by_reference = (flags & DISPATCH_PROPERTYPUTREF) != 0;
    const bool by_value = (flags & DISPATCH_PROPERTYPUT) != 0;
    if (by_reference && !by_value && !IsObject(value)) {
        RaiseErrorFormat(DISP_E_TYPEMISMATCH, kHelperSource,
                         "Bad value type: %.217s when expecting Object",
                         KindName(value.vt).c_str());
    }
    if (!by_reference && value.vt == VT_DISPATCH) {
        ReadDefaultValue(value.pdispVal, call->owned_value.Get());
        call->value = *call->owned_value;
    } else {
        call->value = value;
    }
}

}  // namespace

UINT ArgumentCount(const DISPPARAMS *parameters) {
    if (parameters == nullptr)
        return 0;
    UINT count = parameters->cArgs;
    if (parameters->rgdispidNamedArgs != nullptr) {
        for (UINT i = 0; i < parameters->cNamedArgs && i < parameters->cArgs; ++i)
            count -= parameters->rgdispidNamedArgs[i] == DISPID_THIS ? 1 : 0;
    }
    return count;
}

int32_t MemberCall::SlotOf(int32_t position) const {
    if (position < 0 || static_cast<size_t>(position) >= slots.size())
        return -1;
    return slots[static_cast<size_t>(position)];
}

void BuildPlainCall(WORD flags, const DISPPARAMS *parameters, MemberCall *call) {
    const DISPPARAMS &block = CheckedBlock(parameters);
    if (NamedArgumentCount(block) != 0)
        RaiseError(DISP_E_NONAMEDARGS, nullptr, nullptr);
    const UINT first = block.cNamedArgs;  // past the caller's `this`, if named
    call->flags = flags;
    if (IsPlainWrite(flags)) {
        if (block.cArgs == first)
            EInvokeError::Raise(DISP_E_PARAMNOTFOUND);
        AddPositional(call, block, first + 1);
        VARIANT value;
        ReadArgument(block, first, static_cast<int32_t>(call->arguments.size()), &value);
        call->value = value;
        return;
    }
    AddPositional(call, block, first);
}

bool BuildStandardCall(WORD flags, const DISPPARAMS *parameters, MemberCall *call) {
    const WORD carried = flags & kInvokeCarried;
    const WORD shape = flags & static_cast<WORD>(~kInvokeCarried);
    const DISPPARAMS &block = CheckedBlock(parameters);
    if (shape >= DISPATCH_METHOD && shape <= (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) {
        BuildMethodOrRead(block, call);
        call->flags = carried;
        if (shape & DISPATCH_METHOD)
            call->flags |= kInvokeCall;
        if (shape & DISPATCH_PROPERTYGET)
            call->flags |= kInvokeRead;
        return true;
    }
    if (shape == DISPATCH_PROPERTYPUT || shape == DISPATCH_PROPERTYPUTREF ||
        shape == (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        BuildWrite(shape, block, call);
        call->flags = static_cast<WORD>(kInvokeWrite | carried);
        return true;
    }
    return false;
}

void CallDefaultMember(IDispatch *object, const std::vector<VARIANT> &arguments, VARIANT *result) {
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS block = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO record{};
    UINT argument_error = 0;
    const HRESULT outcome = object->Invoke(DISPID_VALUE, platform::kGUID_NULL, 0,
                                           DISPATCH_METHOD | DISPATCH_PROPERTYGET, &block, result,
                                           &record, &argument_error);
    platform::Bstr source(record.bstrSource);
    platform::Bstr description(record.bstrDescription);
    SysFreeString(record.bstrHelpFile);
    if (FAILED(outcome)) {
        const HRESULT code =
            outcome == DISP_E_EXCEPTION && record.scode != 0 ? record.scode : outcome;
        const std::string text = description.Text();
        const std::string origin = source.Text();
        RaiseError(code, origin.empty() ? nullptr : origin.c_str(),
                   text.empty() ? nullptr : text.c_str());
    }
}

void ResolveResultReference(VARIANT *result) {
    if (result == nullptr || result->vt != (VT_BYREF | VT_VARIANT))
        return;
    VARIANT view;
    if (ReadThrough(*result, &view) != ReadResult::kValue) {
        VariantInit(result);
        return;
    }
    VARIANT copy;
    VariantInit(&copy);
    VariantCopy(&copy, &view);
    *result = copy;
}

}  // namespace Ostrel::Zam
