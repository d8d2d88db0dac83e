// The template object of a custom object class: one static object per class, made
// when the module loads, without prototype, whose reference count is fixed (the
// references that clients take and give back never free it). Its component
// descriptor is the class object that the module serves: the constructor registers
// it with the module's class registry, the destructor (at unload) takes it out.
// A registration that fails leaves the class unserved (DllGetClassObject then
// answers CLASS_E_CLASSNOTAVAILABLE); nothing is thrown out of the loader.
#pragma once

#include "com/class_objects.h"
#include "script/custom_descriptor.h"

namespace Ostrel::Zam {

template <class T>
class TemplateCustomObject final : public T {
  public:
    TemplateCustomObject() {
        try {
            RegisterClassObject(ClassObject());
        } catch (...) {
        }
    }
    ~TemplateCustomObject() override { UnregisterClassObject(ClassObject()); }

    ULONG STDMETHODCALLTYPE AddRef() override { return kFixedReferences; }
    ULONG STDMETHODCALLTYPE Release() override { return kFixedReferences; }

    // The class object: the template's component descriptor.
    IUnknown *ClassObject() { return static_cast<IDispatchEx *>(&this->Descriptor()); }

  private:
    static constexpr ULONG kFixedReferences = static_cast<ULONG>(-1);
};

// The class objects of the two classes (the descriptors of their templates).
CustomObject::ComponentDescriptor &CustomObjectClass();
CustomObject::ComponentDescriptor &DaxCustomObjectClass();

}  // namespace Ostrel::Zam
