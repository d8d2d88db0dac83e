// The dynamic property of a custom object: a property descriptor that holds its
// own value (Empty until written) and value type (VT_VARIANT: any value is kept as
// given, with its kind). With another type set (`PropertyType` to scripts), each
// write converts the value to it first; a value that does not convert is refused
// with a type mismatch and the old value stays.
//
// Possible values: lines "value: text" (the value ends at the first blank, ':' or
// '-'; then blanks, ':' or '-', blanks, and the text to the end of the line; lines
// without ':' or '-' are skipped). Written to a property whose type is not text, a
// text equal to a line's text (letter case counts) stores that line's value,
// converted to the type: with the line "1: On" and type VT_I4, "On" stores 1.
//
// A property that is a placeholder or marked not readable refuses reads, one that
// is a placeholder or not settable refuses writes, both with the framework's
// member-not-found error so that the object's fallback handles the call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/descriptors/property_descriptor.h"
#include "script/custom_object.h"

namespace Ostrel::Zam {

class CustomObject::Property : public CIPropertyDescriptorImpl {
  public:
    Property(std::string name, DISPID id, const VARIANT &value);

    const VARIANT &Value() const { return *value_; }
    // Checks and stores a value (see above); the old value stays when it is refused.
    void SetValue(const VARIANT &value) { DoSetValue(value); }
    const std::vector<std::string> &PossibleValues() const { return possible_values_; }
    void SetPossibleValues(std::vector<std::string> lines) { possible_values_ = std::move(lines); }
    // The text a value stands for among the possible values, or "" when none.
    std::string PossibleText(const VARIANT &value) const;

    // A copy with everything this property holds, its value included.
    virtual platform::ComPtr<Property> Clone() const;
    // Takes name-independent settings (help, attributes, possible values, type) of
    // another property.
    void TakeSettingsOf(const Property &other);

  protected:
    void Execute(MemberCall &call) override;
    virtual void DoSetValue(const VARIANT &value);
    // Converts and stores; the checks before it are done.
    void Store(const VARIANT &value);
    HRESULT QueryFurther(REFIID iid, void **object) override;

  private:
    OwnedVariant value_;
    std::vector<std::string> possible_values_;
};

// The value and text parts of one possible-value line; false when it has neither
// ':' nor '-' after the value.
bool SplitPossibleValue(std::string_view line, std::string_view *value, std::string_view *text);

}  // namespace Ostrel::Zam
