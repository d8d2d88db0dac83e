// The class objects that the module serves. A class object is the component
// descriptor of a class (it answers IClassFactory and IComponentDescriptorA); a
// static template object registers its class's descriptor when the module loads and
// unregisters it when the module unloads. DllGetClassObject and self-registration
// find the classes here.
#pragma once

#include "imports/vek_imports.h"
#include "platform/com.h"

namespace Ostrel::Zam {

// Adds a class object to the module's registry (made on first use) and to the
// support library's process-wide registry, each holding one reference. Raises when
// either refuses it.
void RegisterClassObject(IUnknown *class_object);
// Takes a class object out of both registries; the module's registry is released
// when its last object leaves. An object that is not registered is ignored.
void UnregisterClassObject(IUnknown *class_object) noexcept;

// The module's registry, or null while no class object is registered.
platform::ComPtr<IZamObjectRegistryA> ModuleClassRegistry();

}  // namespace Ostrel::Zam
