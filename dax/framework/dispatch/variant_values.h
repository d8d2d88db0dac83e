// Small tools for automation VARIANTs: an owning holder, reading an argument
// through its references, setting results, kind names and type changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com.h"

namespace Ostrel::Zam {

// Owns one VARIANT and clears it when it goes.
class OwnedVariant {
  public:
    OwnedVariant() { VariantInit(&value_); }
    OwnedVariant(const OwnedVariant &) = delete;
    OwnedVariant &operator=(const OwnedVariant &) = delete;
    ~OwnedVariant() { VariantClear(&value_); }
    VARIANT *Get() { return &value_; }
    const VARIANT &operator*() const { return value_; }
    // Hands the value over to `target` (whose old value is cleared) and is left empty.
    void MoveTo(VARIANT *target);

  private:
    VARIANT value_;
};

enum class ReadResult { kValue, kNullReference };

// A view of `argument` with every reference followed: scalars are copied, texts,
// objects and arrays are shared, never owned (the view must not be cleared).
// A reference holding a null pointer gives kNullReference.
ReadResult ReadThrough(const VARIANT &argument, VARIANT *view);

// VariantCopy of a value the caller keeps (the system's VariantCopy takes a
// non-const source but does not change it).
inline HRESULT CopyValue(VARIANT *target, const VARIANT &source) {
    return VariantCopy(target, const_cast<VARIANT *>(&source));
}

// The missing-argument marker: VT_ERROR holding DISP_E_PARAMNOTFOUND.
VARIANT MissingArgument();
bool IsMissing(const VARIANT &value);
bool IsObject(const VARIANT &value);  // VT_DISPATCH or VT_UNKNOWN

// Results; each clears the target first.
void SetInt32(VARIANT *target, int32_t value);
void SetBool(VARIANT *target, bool value);
void SetText(VARIANT *target, std::string_view text);
void SetObject(VARIANT *target, IDispatch *object);  // adds a reference
void SetUnknown(VARIANT *target, IUnknown *object);  // adds a reference

// The script name of a value's kind ("Integer", "String", "Object", ...).
std::string KindName(VARTYPE vt);

// The value as a whole number when it is one (integers, integral reals, texts of
// digits are not accepted: only numeric kinds).
bool ToIndex(const VARIANT &value, int64_t *index);
// The value as text (texts only).
bool ToText(const VARIANT &value, std::string *text);

// A copy of `value` changed to `vt` (VT_VARIANT: an unchanged copy); the result of
// the type change.
HRESULT ChangeKind(const VARIANT &value, VARTYPE vt, VARIANT *copy);

// The system's message for a result code ("Member not found." and the like), the
// same text on every platform.
std::string SystemMessage(HRESULT code);

}  // namespace Ostrel::Zam
