// Custom objects: automation objects without fixed members. A script assigns to
// any name and the property springs into being; reading a name never written gives
// Empty (JScript: undefined). Each object owns its own component descriptor, so the
// properties of one object are never seen by another.
//
// Names: every name lookup that asks to ensure the name reserves it (a placeholder
// member with a fresh dispatch id, from 0x40000000 up), and so does every lookup
// that asks for a case-insensitive match, because VBScript never asks to ensure a
// name, not even for an assignment. IDispatch::GetIDsOfNames with one name always
// ensures it. The first write to a reserved name makes the property.
//
// Enumeration (JScript for...in, GetNextDispID) lists the object's own properties
// in the order they were made; borrowed members and the framework's members are
// not listed. Deleting a property (DeleteMemberByName / DeleteMemberByDispID)
// removes it; a later assignment makes it anew under a fresh id.
//
// Prototypes and CopyOnChange: see custom_descriptor.h.
#pragma once

#include <string>
#include <string_view>

#include "framework/descriptors/component_descriptor.h"

namespace Ostrel::Zam {

inline constexpr GUID kCLSID_CustomObject = {
    0x06428B9F, 0xC0BF, 0x49F4, {0xB9, 0xFA, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_CustomObjectProperty = {
    0x0632FF35, 0x412D, 0x4328, {0x88, 0xFB, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_ICloneable = {
    0x0510BF30, 0x59E9, 0x11D2, {0xA7, 0x19, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

// The instance factory of a custom object class: a new object of class T.
template <class T>
InstanceFactory FactoryOf() {
    return [] { return platform::ComPtr<IDispatch>(T::Create()->AsDispatch()); };
}

class CustomObject : public DispatchObject {
  public:
    class ComponentDescriptor;
    class Property;
    class PrototypePropertyDescriptor;
    class CreateCustomObjectMethodDescriptor;

    // A new object without prototype.
    static platform::ComPtr<CustomObject> Create();

    ComponentDescriptor &Descriptor() { return *descriptor_.Get(); }
    CIComponentDescriptorImpl &ClassDescriptor() override;

    // IDispatch / IDispatchEx: names are reserved on lookup (see above).
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT name_count, LCID lcid,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD flags, DISPID *id) override;
    HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD flags, DISPID id, DISPID *next) override;

    DISPID EnsureMember(std::string_view name) override;
    HRESULT DeleteMember(DISPID id) override;
    platform::ComPtr<IDispatch> CloneObject() override;

    // The property made by the first write to a name, with that value as given.
    virtual platform::ComPtr<Property> CreateProperty(std::string name, DISPID id,
                                                      const VARIANT &value);
    // An own property made from another member (a borrowed one, for CopyOnChange):
    // same name, id, attributes and help text; Empty value.
    virtual platform::ComPtr<Property> CreatePropertyFrom(const CIMemberDescriptorImpl &member);

  protected:
    CustomObject() : CustomObject("CustomObject", kCLSID_CustomObject, FactoryOf<CustomObject>()) {}
    CustomObject(std::string class_name, const GUID &class_id, InstanceFactory factory);
    ~CustomObject() override;
    // A new object of the same class, without prototype (Clone starts from it).
    virtual platform::ComPtr<CustomObject> NewOfSameClass();
    HRESULT QueryFurther(REFIID iid, void **object) override;

  private:
    platform::ComPtr<ComponentDescriptor> descriptor_;
};

}  // namespace Ostrel::Zam
