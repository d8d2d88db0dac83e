// Drives automation objects the way the two script hosts do (as measured under
// Wine):
// - VBScript looks every name up with GetDispID(name, fdexNameCaseInsensitive),
//   never with fdexNameEnsure, reads with DISPATCH_METHOD|DISPATCH_PROPERTYGET,
//   passes every variable by reference (VT_BYREF|VT_VARIANT), assigns with
//   DISPATCH_PROPERTYPUT (Set: DISPATCH_PROPERTYPUTREF) and the named argument
//   DISPID_PROPERTYPUT.
// - JScript looks names up with fdexNameCaseSensitive (plus fdexNameEnsure for
//   assignment targets), reads with DISPATCH_PROPERTYGET, calls with
//   DISPATCH_METHOD (plus DISPATCH_PROPERTYGET with arguments and a result wanted),
//   passes values, assigns objects with DISPATCH_PROPERTYPUT|DISPATCH_PROPERTYPUTREF,
//   walks for...in with GetNextDispID and deletes with DeleteMemberByName; its
//   Enumerator asks for DISPID_NEWENUM through IDispatch::Invoke with
//   DISPATCH_METHOD alone, and a call of an object as a function (`o(1)`) passes
//   the caller's `this` as a named argument DISPID_THIS.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/com.h"

namespace dax_test {

// An owned VARIANT that tests build and compare.
class Value {
  public:
    Value() { VariantInit(&v_); }
    Value(const Value &other) : Value() { VariantCopy(&v_, const_cast<VARIANT *>(&other.v_)); }
    Value &operator=(const Value &other) {
        if (this != &other) {
            VariantClear(&v_);
            VariantCopy(&v_, const_cast<VARIANT *>(&other.v_));
        }
        return *this;
    }
    ~Value() { VariantClear(&v_); }
    static Value I4(int32_t n);
    static Value Text(const std::string &text);
    static Value Bool(bool b);
    static Value Object(IDispatch *object);  // adds a reference
    static Value Missing();

    VARIANT *Get() { return &v_; }
    const VARIANT &operator*() const { return v_; }
    VARTYPE Type() const { return v_.vt; }
    int32_t AsI4() const;
    std::string AsText() const;
    bool AsBool() const { return v_.vt == VT_BOOL && v_.boolVal != 0; }
    IDispatch *AsObject() const;

  private:
    VARIANT v_;
};

// The outcome of one script statement.
struct Outcome {
    HRESULT result = S_OK;
    Value value;
    int32_t scode = 0;
    WORD wcode = 0;
    std::string source;
    std::string description;
};

enum class Language { kVBScript, kJScript };

class ScriptHost {
  public:
    explicit ScriptHost(Language language) : language_(language) {}

    // name lookup as the host makes it; DISPID_UNKNOWN when the object refuses
    HRESULT Lookup(IDispatch *object, const std::string &name, bool for_assignment,
                   DISPID *id) const;
    // x = o.name(args)
    Outcome Read(IDispatch *object, const std::string &name,
                 const std::vector<Value> &arguments = {}) const;
    // o.name args (a statement: no result wanted)
    Outcome Call(IDispatch *object, const std::string &name,
                 const std::vector<Value> &arguments = {}) const;
    // o.name(index) = value; set_object: VBScript's Set
    Outcome Assign(IDispatch *object, const std::string &name, const Value &value,
                   const std::vector<Value> &index = {}, bool set_object = false) const;
    // x = o(args): the object's default member called as a function
    Outcome CallObject(IDispatch *object, const std::vector<Value> &arguments) const;
    // For Each item In o.name / new Enumerator(o.name)
    std::vector<Value> Walk(IDispatch *collection) const;
    // for (n in o)
    std::vector<std::string> ForIn(IDispatch *object) const;
    // delete o.name
    HRESULT Delete(IDispatch *object, const std::string &name) const;

    // A raw InvokeEx with the host's way of passing arguments.
    Outcome InvokeRaw(IDispatch *object, DISPID id, WORD flags, const std::vector<Value> &arguments,
                      const std::vector<DISPID> &named, bool want_result = true,
                      bool with_record = true) const;

  private:
    Language language_;
};

// Builds a parameter block: arguments in reverse order with named ids first, by
// reference (VT_BYREF|VT_VARIANT) when by_reference.
class ParameterBlock {
  public:
    ParameterBlock(const std::vector<Value> &arguments, const std::vector<DISPID> &named,
                   bool by_reference);
    DISPPARAMS *Get() { return &block_; }

  private:
    std::vector<Value> variables_;
    std::vector<VARIANT> slots_;
    std::vector<DISPID> named_;
    DISPPARAMS block_{};
};

std::string BstrText(BSTR text);

}  // namespace dax_test
