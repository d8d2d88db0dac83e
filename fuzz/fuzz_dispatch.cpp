// Dispatch calls built from bytes against a custom object and a format-checked
// custom object: name lookups with any fdex flags, GetIDsOfNames, Invoke and
// InvokeEx with any invocation flags, argument counts, VARIANT types (by value and
// by reference, with null pointers where the doors must refuse them), named
// arguments and their ids, enumeration, deletion by name and by id, and input
// masks set on the format-checked object's properties.
//
// Invariants: nothing crashes or leaks (the sanitizers); every failure is a
// failed HRESULT, and with an exception record DISP_E_EXCEPTION comes with a
// record carrying a failed code, a source and a description; a refused write
// leaves the old value; at the end each object's only reference is ours.
//
// Input: a sequence of operations, each an opcode byte followed by its operands
// (dispatch_input.h reads them; a short input simply ends the sequence).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "dispatch_input.h"
#include "fuzz_support.h"
#include "script/custom_object.h"
#include "script/dax_custom_object.h"

namespace {

using Ostrel::Zam::CustomObject;
using Ostrel::Zam::DaxCustomObject;

class Session {
  public:
    explicit Session(fuzz::DispatchInput &input) : in_(input) {
        ids_ = {DISPID_VALUE, DISPID_UNKNOWN, DISPID_PROPERTYPUT, DISPID_NEWENUM, 0x40000000};
    }

    void Run() {
        for (int step = 0; step < 64 && !in_.Empty(); ++step) {
            IDispatchEx *target = in_.Bit() ? Dax() : Plain();
            switch (in_.Byte() % 8) {
                case 0:
                    GetDispID(target);
                    break;
                case 1:
                    GetIDsOfNames(target);
                    break;
                case 2:
                    Invoke(target, true);
                    break;
                case 3:
                    Invoke(target, false);
                    break;
                case 4:
                    Enumerate(target);
                    break;
                case 5:
                    DeleteByName(target);
                    break;
                case 6:
                    DeleteById(target);
                    break;
                default:
                    SetMask();
                    break;
            }
        }
    }

    // Releases the objects, the one that may hold the other first: each final
    // Release must be the last reference.
    void Finish() {
        CheckSole(dax_->AsDispatch(), "DaxCustomObject");
        dax_ = {};
        CheckSole(plain_->AsDispatch(), "CustomObject");
        plain_ = {};
        CheckSole(stranger_->AsDispatch(), "the argument object");
        stranger_ = {};
    }

  private:
    IDispatchEx *Dax() { return ExOf(dax_->AsDispatch()); }
    IDispatchEx *Plain() { return ExOf(plain_->AsDispatch()); }

    static IDispatchEx *ExOf(IDispatch *object) {
        IDispatchEx *ex = nullptr;
        fuzz::Check(SUCCEEDED(object->QueryInterface(platform::kIID_IDispatchEx,
                                                     reinterpret_cast<void **>(&ex))),
                    "no IDispatchEx");
        ex->Release();  // the object keeps living through its owner
        return ex;
    }

    static void CheckSole(IUnknown *object, const std::string &what) {
        object->AddRef();
        const ULONG count = object->Release();
        fuzz::Check(count == 1, what + " still has " + std::to_string(count) + " references");
    }

    DISPID PickId() {
        const uint8_t pick = in_.Byte();
        if (pick >= 0xF0)
            return static_cast<DISPID>(in_.Word());
        return ids_[pick % ids_.size()];
    }

    void Remember(DISPID id) {
        if (ids_.size() < 64)
            ids_.push_back(id);
    }

    void GetDispID(IDispatchEx *target) {
        const DWORD flags = in_.Byte();
        platform::Bstr name(in_.Name());
        DISPID id = 12345;
        const HRESULT hr = target->GetDispID(name.Get(), flags, &id);
        CheckFailure(hr, "GetDispID");
        if (SUCCEEDED(hr))
            Remember(id);
        fuzz::Check(FAILED(target->GetDispID(name.Get(), flags, nullptr)),
                    "GetDispID accepted a null id pointer");
    }

    void GetIDsOfNames(IDispatchEx *target) {
        const UINT count = in_.Byte() % 4;
        std::deque<platform::Bstr> names;
        std::vector<LPOLESTR> pointers;
        for (UINT i = 0; i < count; ++i) {
            names.emplace_back(in_.Name());
            pointers.push_back(names.back().Get());
        }
        std::vector<DISPID> ids(count + 1, 12345);
        const HRESULT hr =
            target->GetIDsOfNames(fuzz::kNoInterface, pointers.empty() ? nullptr : pointers.data(),
                                  count, 0x409, ids.data());
        CheckFailure(hr, "GetIDsOfNames");
        if (SUCCEEDED(hr))
            for (UINT i = 0; i < count; ++i)
                Remember(ids[i]);
    }

    void Enumerate(IDispatchEx *target) {
        const DWORD flags = in_.Byte() % 4;
        DISPID id = in_.Bit() ? DISPID_STARTENUM : PickId();
        for (int i = 0; i < 32; ++i) {
            DISPID next = 12345;
            const HRESULT hr = target->GetNextDispID(flags, id, &next);
            CheckFailure(hr, "GetNextDispID");
            if (hr != S_OK)
                break;
            BSTR name = nullptr;
            CheckFailure(target->GetMemberName(next, &name), "GetMemberName");
            SysFreeString(name);
            DWORD properties = 0;
            CheckFailure(target->GetMemberProperties(next, 0xFFFFFFFF, &properties),
                         "GetMemberProperties");
            id = next;
        }
    }

    void DeleteByName(IDispatchEx *target) {
        const DWORD flags = in_.Byte();
        platform::Bstr name(in_.Name());
        CheckFailure(target->DeleteMemberByName(name.Get(), flags), "DeleteMemberByName");
    }

    void DeleteById(IDispatchEx *target) {
        CheckFailure(target->DeleteMemberByDispID(PickId()), "DeleteMemberByDispID");
    }

    // o.Class.Properties(name).IFM = mask, as a script sets a property's mask.
    void SetMask() {
        platform::Bstr name(in_.Name());
        platform::Bstr mask(in_.Mask());
        fuzz::OwnedVariant cls;
        if (FAILED(fuzz::CallByName(Dax(), "Class", DISPATCH_PROPERTYGET, {}, cls.Get())) ||
            cls.Get()->vt != VT_DISPATCH || cls.Get()->pdispVal == nullptr)
            return;
        fuzz::OwnedVariant properties;
        fuzz::CallByName(cls.Get()->pdispVal, "Properties", DISPATCH_PROPERTYGET, {},
                         properties.Get());
        if (properties.Get()->vt != VT_DISPATCH || properties.Get()->pdispVal == nullptr)
            return;
        fuzz::OwnedVariant property;
        fuzz::CallByName(properties.Get()->pdispVal, "Item", DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                         {fuzz::TextArgument(name.Get())}, property.Get());
        if (property.Get()->vt != VT_DISPATCH || property.Get()->pdispVal == nullptr)
            return;
        CheckFailure(fuzz::CallByName(property.Get()->pdispVal, "IFM", DISPATCH_PROPERTYPUT,
                                      {fuzz::TextArgument(mask.Get())}, nullptr),
                     "IFM assignment");
    }

    void Invoke(IDispatchEx *target, bool extended) {
        const DISPID id = PickId();
        const WORD flags = in_.Flags();
        const uint8_t shape = in_.Byte();
        const bool want_result = shape & 1;
        const bool with_record = shape & 2;
        const bool with_argument_error = shape & 4;
        const bool null_block = (shape & 0x38) == 0x38;
        fuzz::ArgumentBlock block(in_, stranger_->AsDispatch(),
                                  target == Dax() ? plain_->AsDispatch() : nullptr);

        const bool writes = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        fuzz::OwnedVariant before;
        const bool known = writes && ReadPlain(target, id, before.Get());

        fuzz::OwnedVariant result;
        EXCEPINFO record;
        std::memset(&record, 0, sizeof record);
        UINT argument_error = 0;
        DISPPARAMS *parameters = null_block ? nullptr : block.Get();
        const HRESULT hr = extended
                               ? target->InvokeEx(id, 0x409, flags, parameters,
                                                  want_result ? result.Get() : nullptr,
                                                  with_record ? &record : nullptr, nullptr)
                               : target->Invoke(id, fuzz::kNoInterface, 0x409, flags, parameters,
                                                want_result ? result.Get() : nullptr,
                                                with_record ? &record : nullptr,
                                                with_argument_error ? &argument_error : nullptr);
        CheckFailure(hr, "Invoke");
        CheckRecord(hr, record, with_record);
        if (FAILED(hr))
            fuzz::Check(result.Get()->vt == VT_EMPTY, "a failed call left a result");
        if (known && FAILED(hr)) {
            fuzz::OwnedVariant after;
            fuzz::Check(
                ReadPlain(target, id, after.Get()) && fuzz::SameValue(*before.Get(), *after.Get()),
                "a refused write changed the value of member " + std::to_string(id));
        }
    }

    // The value of a member read as a property, when that succeeds and the value is
    // no object (reading a method may make a new object each time).
    static bool ReadPlain(IDispatchEx *target, DISPID id, VARIANT *value) {
        DISPPARAMS none{};
        if (FAILED(
                target->InvokeEx(id, 0x409, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr)))
            return false;
        return value->vt != VT_DISPATCH && value->vt != VT_UNKNOWN;
    }

    static void CheckFailure(HRESULT hr, const char *what) {
        // Success codes are S_OK and S_FALSE; anything else must be a failure code.
        fuzz::Check(hr == S_OK || hr == S_FALSE || FAILED(hr),
                    std::string(what) + " returned the odd code " + std::to_string(hr));
        ZamSetErrorInfo(nullptr);
    }

    static void CheckRecord(HRESULT hr, EXCEPINFO &record, bool given) {
        if (given && hr == DISP_E_EXCEPTION) {
            fuzz::Check(FAILED(record.scode) || record.wCode != 0,
                        "an exception record without an error code");
            fuzz::Check(SysStringLen(record.bstrSource) > 0, "an exception record without source");
            fuzz::Check(SysStringLen(record.bstrDescription) > 0,
                        "an exception record without description");
        }
        if (given && FAILED(hr))
            fuzz::Check(hr == DISP_E_EXCEPTION,
                        "a failure with a record to fill returned " + std::to_string(hr));
        if (!given)
            fuzz::Check(hr != DISP_E_EXCEPTION, "DISP_E_EXCEPTION without a record to fill");
        SysFreeString(record.bstrSource);
        SysFreeString(record.bstrDescription);
        SysFreeString(record.bstrHelpFile);
    }

    fuzz::DispatchInput &in_;
    platform::ComPtr<CustomObject> plain_ = CustomObject::Create();
    platform::ComPtr<DaxCustomObject> dax_ = DaxCustomObject::Create();
    platform::ComPtr<CustomObject> stranger_ = CustomObject::Create();
    std::vector<DISPID> ids_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::DispatchInput input(data, size);
    Session session(input);
    session.Run();
    session.Finish();
    return 0;
}
