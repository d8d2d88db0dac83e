#include "script/prototype_members.h"

#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"
#include "script/custom_descriptor.h"

namespace Ostrel::Zam {

namespace {

constexpr char kCreateSource[] =
    "Ostrel::Zam::CustomObject::CreateCustomObjectMethodDescriptor::DoCall";

PropertyAccessors PrototypeAccessors() {
    PropertyAccessors accessors;
    accessors.get = [](DispatchObject &instance, VARIANT *result) {
        auto *object = dynamic_cast<CustomObject *>(&instance);
        SetObject(result, object != nullptr ? object->Descriptor().Prototype() : nullptr);
    };
    return accessors;
}

// The prototype argument: null for none.
IDispatch *PrototypeArgument(const VARIANT &argument) {
    VARIANT view;
    if (IsMissing(argument) || ReadThrough(argument, &view) == ReadResult::kNullReference ||
        view.vt == VT_EMPTY || view.vt == VT_NULL)
        return nullptr;
    if (view.vt == VT_DISPATCH)
        return view.pdispVal;
    if (view.vt == VT_UNKNOWN && view.punkVal != nullptr) {
        platform::ComPtr<IDispatch> dispatch;
        if (SUCCEEDED(view.punkVal->QueryInterface(platform::kIID_IDispatch, dispatch.OutVoid())))
            return dispatch.Get();  // the argument keeps the object alive
    }
    if (view.vt == VT_UNKNOWN && view.punkVal == nullptr)
        return nullptr;
    EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
}

}  // namespace

CustomObject::PrototypePropertyDescriptor::PrototypePropertyDescriptor()
    : CIPropertyDescriptorImpl("Prototype", VT_DISPATCH, PrototypeAccessors(), kDispIdPrototype,
                               kMemberNotSettable) {
    SetHelpText("The object whose members this object borrows");
}

void CustomObject::PrototypePropertyDescriptor::Execute(MemberCall &call) {
    if (call.IsWrite())
        EMemberNotFound::Raise();
    CIPropertyDescriptorImpl::Execute(call);
}

CustomObject::CreateCustomObjectMethodDescriptor::CreateCustomObjectMethodDescriptor()
    : CIMethodDescriptorImpl("_CreateInstance", nullptr, kDispIdCreateInstance, 0x41) {
    SetClassLevel(true);
    SetHelpText("Creates a new instance of the class, optionally with a prototype");
}

void CustomObject::CreateCustomObjectMethodDescriptor::Execute(MemberCall &call) {
    if (!call.IsCall())
        EMemberNotFound::Raise();
    if (call.named)
        RaiseError(DISP_E_NONAMEDARGS, nullptr, nullptr);
    if (call.arguments.size() > 1)
        RaiseError(DISP_E_BADPARAMCOUNT, kCreateSource, nullptr);
    CIComponentDescriptorImpl *owner = Owner();
    if (owner == nullptr)
        RaiseError(E_UNEXPECTED, kCreateSource,
                   "Member descriptor is no longer attached to a component descriptor");
    IDispatch *prototype = call.arguments.empty() ? nullptr : PrototypeArgument(call.arguments[0]);
    const platform::ComPtr<IDispatch> made =
        owner->HasInstanceFactory() ? owner->NewInstance() : platform::ComPtr<IDispatch>();
    if (!made)
        RaiseErrorFormat(E_UNEXPECTED, kCreateSource, "Class %.226s cannot be instantiated",
                         owner->ClassName().c_str());
    if (prototype != nullptr) {
        auto *object = dynamic_cast<CustomObject *>(FrameworkObjectOf(made.Get()));
        if (object != nullptr)
            object->Descriptor().Aggregate(prototype);
    }
    if (call.result != nullptr)
        SetObject(call.result, made.Get());
}

}  // namespace Ostrel::Zam
