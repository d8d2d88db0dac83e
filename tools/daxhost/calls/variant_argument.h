// VARIANT arguments (letter 'v'): a script describes the value in a text, the host
// builds the VARIANT, passes its address and shows it after the call.
//
// Descriptions, as script texts and as the transcript shows them afterwards:
//
//   "empty"  "null"                      VT_EMPTY, VT_NULL
//   "i4:12"  "i8:-5"                     integers: i1 i2 i4 i8 int ui1 ui2 ui4 ui8 uint
//   "r4:0.5"  "r8:1.5"                   floating-point numbers
//   "bool:true"  "bool:false"            VT_BOOL (any letter case)
//   "date:2026-12-06 08:14:19"           VT_DATE from ISO 8601 ("YYYY-MM-DD", with
//                                        " hh:mm:ss" or "Thh:mm:ss")
//   "bstr:abc"                           VT_BSTR, each byte one character (Latin-1)
//   "bytes:#41#42"                       VT_ARRAY|VT_UI1 of the bytes of an IString
//   "ref:i4:12"                          VT_BYREF|VT_VARIANT referring to the value
//                                        described after "ref:"
//
// As arguments, `out` passes an empty VARIANT for the call to fill and `null` a
// null pointer. After the call every VARIANT passed is shown: integers, numbers,
// Booleans, dates ("date:2026-12-06") and empty / null as above; texts and bytes
// quoted with escapes (bstr:"abc", bytes:"#41#42"); a null BSTR or array as
// bstr:null / bytes:null; objects as dispatch / unknown; other kinds as vt:0xHHHH.
// The host clears every VARIANT after the call.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/com.h"

namespace daxhost {

// Owns a VARIANT and, for a VT_BYREF one, the VARIANT it refers to. Its address
// must stay put while a call may use it, so it is neither copied nor moved.
class HostVariant {
  public:
    HostVariant() { VariantInit(&value_); }
    HostVariant(const HostVariant &) = delete;
    HostVariant &operator=(const HostVariant &) = delete;
    ~HostVariant() { VariantClear(&value_); }  // before the referenced one goes

    VARIANT *Get() { return &value_; }
    const VARIANT &Value() const { return value_; }
    // Makes this VARIANT a reference to a new, empty one, which it returns.
    HostVariant &ReferToNew();

  private:
    VARIANT value_;
    std::unique_ptr<HostVariant> referenced_;
};

// Fills `variant` (empty) from a description; false with `error` set when the
// description is not one of the forms above.
bool ParseVariantDescription(std::string_view description, HostVariant &variant,
                             std::string *error);

// The value as the transcript shows it; `depth` counts the references followed.
std::string ShowVariant(const VARIANT &variant);
std::string ShowVariant(const VARIANT &variant, int depth);

}  // namespace daxhost
