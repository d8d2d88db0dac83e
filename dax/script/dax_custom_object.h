// Format-checked custom objects: custom objects whose properties may carry an input
// format mask ("IFM", the mask language of the format library's FormatValidateA).
// While a property's mask is not empty, every value written to it is first
// checked as text against the mask; a value that does not match is refused with
// the format library's code plus 0xC0000000 and `Value "<value>" does not match
// IFM "<mask>"` (value cut at 200 characters, mask at 25), source
// "Ostrel.Zam.DaxCustomObject.Property.DoSetValue", and the old value stays. A
// malformed mask is refused with the format library's own error.
//
// Scripts read and write a property's mask as `o.Class.Properties("X").IFM`; an
// empty mask switches the check off. The first assignment to a new name is never
// checked (its mask is still empty). The own copy that CopyOnChange makes of a
// borrowed property starts without a mask.
#pragma once

#include <string>

#include "script/custom_property.h"

namespace Ostrel::Zam {

inline constexpr GUID kCLSID_DaxCustomObject = {
    0x064039E4, 0x71E8, 0x490D, {0x8E, 0x33, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

class DaxCustomObject : public CustomObject {
  public:
    class Property;

    static platform::ComPtr<DaxCustomObject> Create();

    platform::ComPtr<CustomObject::Property> CreateProperty(std::string name, DISPID id,
                                                            const VARIANT &value) override;
    platform::ComPtr<CustomObject::Property> CreatePropertyFrom(
        const CIMemberDescriptorImpl &member) override;

  protected:
    DaxCustomObject();
    platform::ComPtr<CustomObject> NewOfSameClass() override;
};

class DaxCustomObject::Property : public CustomObject::Property {
  public:
    using CustomObject::Property::Property;

    const std::string &Mask() const { return mask_; }
    void SetMask(std::string mask) { mask_ = std::move(mask); }

    platform::ComPtr<CustomObject::Property> Clone() const override;
    // The property descriptors' members and IFM.
    CIComponentDescriptorImpl &ClassDescriptor() override;

  protected:
    void DoSetValue(const VARIANT &value) override;

  private:
    std::string mask_;
};

}  // namespace Ostrel::Zam
