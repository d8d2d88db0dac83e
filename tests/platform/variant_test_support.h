// VARIANT values, a scriptable test object and the Wine check for the platform
// layer's tests. The same tests run against our own automation functions on Linux
// and against the system's under Wine.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/com.h"

namespace variant_test {

// The system's declarations take the source VARIANT without const; ours take it
// with const. The functions do not change it.
inline VARIANT *In(const VARIANT &source) {
    return const_cast<VARIANT *>(&source);
}

// Owns one VARIANT; copies are deep (VariantCopy).
class Var {
  public:
    Var() { VariantInit(&v); }
    Var(const Var &other) : Var() { VariantCopy(&v, In(other.v)); }
    Var &operator=(const Var &) = delete;
    ~Var() { VariantClear(&v); }
    VARIANT v;
};

template <class Store>
Var Make(VARTYPE vt, Store store) {
    Var out;
    out.v.vt = vt;
    store(out.v);
    return out;
}

inline Var Empty() {
    return Var();
}
inline Var Null() {
    return Make(VT_NULL, [](VARIANT &) {});
}
inline Var I1(int value) {
    return Make(VT_I1, [=](VARIANT &v) { v.cVal = static_cast<CHAR>(value); });
}
inline Var I2(int value) {
    return Make(VT_I2, [=](VARIANT &v) { v.iVal = static_cast<SHORT>(value); });
}
inline Var I4(int32_t value) {
    return Make(VT_I4, [=](VARIANT &v) { v.lVal = value; });
}
inline Var Int(int32_t value) {
    return Make(VT_INT, [=](VARIANT &v) { v.intVal = value; });
}
inline Var I8(int64_t value) {
    return Make(VT_I8, [=](VARIANT &v) { v.llVal = value; });
}
inline Var UI1(unsigned value) {
    return Make(VT_UI1, [=](VARIANT &v) { v.bVal = static_cast<BYTE>(value); });
}
inline Var UI2(unsigned value) {
    return Make(VT_UI2, [=](VARIANT &v) { v.uiVal = static_cast<USHORT>(value); });
}
inline Var UI4(uint32_t value) {
    return Make(VT_UI4, [=](VARIANT &v) { v.ulVal = value; });
}
inline Var UInt(uint32_t value) {
    return Make(VT_UINT, [=](VARIANT &v) { v.uintVal = value; });
}
inline Var UI8(uint64_t value) {
    return Make(VT_UI8, [=](VARIANT &v) { v.ullVal = value; });
}
inline Var R4(float value) {
    return Make(VT_R4, [=](VARIANT &v) { v.fltVal = value; });
}
inline Var R8(double value) {
    return Make(VT_R8, [=](VARIANT &v) { v.dblVal = value; });
}
// Currency in ten-thousandths: Cy(15000) is 1.5.
inline Var Cy(int64_t ten_thousandths) {
    return Make(VT_CY, [=](VARIANT &v) { v.cyVal.int64 = ten_thousandths; });
}
inline Var Date(double value) {
    return Make(VT_DATE, [=](VARIANT &v) { v.date = value; });
}
inline Var Bool(bool value) {
    return Make(VT_BOOL, [=](VARIANT &v) { v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; });
}
inline Var Error(int32_t code) {
    return Make(VT_ERROR, [=](VARIANT &v) { v.scode = code; });
}
inline Var Str(std::string_view text) {
    return Make(VT_BSTR, [=](VARIANT &v) { v.bstrVal = platform::BstrFromText(text); });
}
inline Var ObjectVar(IDispatch *object) {
    return Make(VT_DISPATCH, [=](VARIANT &v) {
        v.pdispVal = object;
        if (object != nullptr)
            object->AddRef();
    });
}
inline Var UnknownVar(IUnknown *object) {
    return Make(VT_UNKNOWN, [=](VARIANT &v) {
        v.punkVal = object;
        if (object != nullptr)
            object->AddRef();
    });
}

// A short description of a value for failure messages.
inline std::string Describe(const VARIANT &v) {
    std::string out = "vt " + std::to_string(v.vt);
    switch (v.vt) {
        case VT_BSTR:
            return out + " \"" + platform::TextFromBstr(v.bstrVal) + "\"";
        case VT_R4:
            return out + " " + std::to_string(v.fltVal);
        case VT_R8:
        case VT_DATE:
            return out + " " + std::to_string(v.dblVal);
        case VT_CY:
            return out + " " + std::to_string(v.cyVal.int64);
        case VT_UI8:
            return out + " " + std::to_string(v.ullVal);
        default: {
            const std::size_t size = platform::ScalarValueSize(v.vt);
            if (size == 0)
                return out;
            int64_t value = 0;
            std::memcpy(&value, &v.llVal, size);
            if (size < 8 && (value & (int64_t{1} << (size * 8 - 1))) != 0)
                value -= int64_t{1} << (size * 8);
            return out + " " + std::to_string(value);
        }
    }
}

// Same kind and same value; dates to a millisecond.
inline void ExpectSameValue(const VARIANT &actual, const VARIANT &expected) {
    ASSERT_EQ(actual.vt, expected.vt) << Describe(actual) << " instead of " << Describe(expected);
    switch (expected.vt) {
        case VT_BSTR:
            EXPECT_EQ(platform::TextFromBstr(actual.bstrVal),
                      platform::TextFromBstr(expected.bstrVal));
            EXPECT_NE(actual.bstrVal, nullptr);
            break;
        case VT_R4:
            EXPECT_EQ(actual.fltVal, expected.fltVal);
            break;
        case VT_R8:
            EXPECT_EQ(actual.dblVal, expected.dblVal);
            break;
        case VT_DATE:
            EXPECT_NEAR(actual.date, expected.date, 1e-8);
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            EXPECT_EQ(actual.punkVal, expected.punkVal);
            break;
        default: {
            const std::size_t size = platform::ScalarValueSize(expected.vt);
            EXPECT_EQ(std::memcmp(&actual.llVal, &expected.llVal, size), 0)
                << Describe(actual) << " instead of " << Describe(expected);
        }
    }
}

// The tests run under Wine for the win64 build: rows where Wine's automation
// library departs from the documented Windows behaviour are skipped there.
inline bool RunningUnderWine() {
#if PLATFORM_WINDOWS
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// A scriptable object whose default member (DISPID_VALUE) reads as a fixed value.
// It lives on the stack; its count of references tells whether conversions
// release what they take.
class ValueObject : public IDispatch {
  public:
    explicit ValueObject(const Var &value, HRESULT invoke_status = S_OK,
                         bool answers_dispatch = true)
        : value_(value), invoke_status_(invoke_status), answers_dispatch_(answers_dispatch) {}
    virtual ~ValueObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
            (answers_dispatch_ && platform::SameGuid(iid, platform::kIID_IDispatch))) {
            *object = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *parameters,
                                     VARIANT *result, EXCEPINFO *, UINT *) override {
        ++invocations_;
        if (id != DISPID_VALUE || (flags & DISPATCH_PROPERTYGET) == 0 || parameters == nullptr ||
            parameters->cArgs != 0 || result == nullptr)
            return DISP_E_MEMBERNOTFOUND;
        if (FAILED(invoke_status_))
            return invoke_status_;
        return VariantCopy(result, &value_.v);
    }

    void SetValue(const Var &value) { VariantCopy(&value_.v, In(value.v)); }
    ULONG references() const { return references_; }
    int invocations() const { return invocations_; }

  private:
    Var value_;
    HRESULT invoke_status_;
    bool answers_dispatch_;
    ULONG references_ = 1;
    int invocations_ = 0;
};

}  // namespace variant_test
