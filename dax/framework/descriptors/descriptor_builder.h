// Building the descriptor of a class: typed accessors and method bodies for a
// class T derived from DispatchObject (the descriptor of T is reached only through
// instances of T, so the instance is a T), and members added in one call.
#pragma once

#include <string>
#include <vector>

#include "framework/descriptors/component_descriptor.h"
#include "framework/descriptors/method_descriptor.h"
#include "framework/descriptors/property_descriptor.h"

namespace Ostrel::Zam {

template <class T, class Get>
auto Getter(Get get) {
    return
        [get](DispatchObject &object, VARIANT *result) { get(static_cast<T &>(object), result); };
}
template <class T, class Set>
auto Setter(Set set) {
    return [set](DispatchObject &object, const VARIANT &value) {
        set(static_cast<T &>(object), value);
    };
}
template <class T, class Get>
auto IndexedGetter(Get get) {
    return [get](DispatchObject &object, const VARIANT &index, VARIANT *result) {
        get(static_cast<T &>(object), index, result);
    };
}
template <class T, class Set>
auto IndexedSetter(Set set) {
    return [set](DispatchObject &object, const VARIANT &index, const VARIANT &value) {
        set(static_cast<T &>(object), index, value);
    };
}
template <class T, class Body>
MethodBody MethodOf(Body body) {
    return [body](DispatchObject *object, const ArgumentValues &arguments, VARIANT *result) {
        body(static_cast<T &>(*object), arguments, result);
    };
}

struct MemberOptions {
    DISPID dispid = -1;
    uint32_t attributes = 0;
    const char *help = "";
    const char *help_keyword = "";
};

platform::ComPtr<CIPropertyDescriptorImpl> AddProperty(CIComponentDescriptorImpl &descriptor,
                                                       std::string name, VARTYPE type,
                                                       PropertyAccessors accessors,
                                                       MemberOptions options = {});
platform::ComPtr<CIPropertyDescriptorImpl> AddProperty(
    CIComponentDescriptorImpl &descriptor, std::string name, VARTYPE type,
    std::shared_ptr<const PropertyAccessors> accessors, MemberOptions options = {});
platform::ComPtr<CIMethodDescriptorImpl> AddMethod(CIComponentDescriptorImpl &descriptor,
                                                   std::string name, MethodBody body,
                                                   MemberOptions options = {});
platform::ComPtr<CIMethodDescriptorImpl> AddMethod(CIComponentDescriptorImpl &descriptor,
                                                   std::string name, MethodBody body,
                                                   std::vector<ParameterRef> parameters,
                                                   MemberOptions options = {});

ParameterRef Parameter(std::string name, VARTYPE type, uint32_t flags = kParamIn);
ParameterRef OptionalParameter(std::string name, VARTYPE type, const VARIANT &default_value);

// A new component descriptor with the framework's members (Class, Clone, ToString
// and _CreateInstance).
ComponentRef NewClassDescriptor(std::string class_name, const GUID &class_id, uint32_t kind_flags);
// Adds the framework's members to a descriptor. With `first_id`, Class, Clone and
// ToString take the ids first_id, first_id - 1 and first_id - 2 instead of ids
// from the allocator (classes whose later members must start at 0x40000000).
void AddFrameworkMembers(CIComponentDescriptorImpl &descriptor, DISPID first_id = -1);
// Adds what a script reads of a component descriptor (ClsId, DispId, Members, ...)
// or of a property descriptor (Name, PropertyType, ...) to the descriptor of a class
// whose instances are such descriptors with more members of their own.
void AddComponentDescriptorMembers(CIComponentDescriptorImpl &descriptor);
void AddPropertyDescriptorMembers(CIComponentDescriptorImpl &descriptor);

}  // namespace Ostrel::Zam
