// The members that the framework gives every class, and the building helpers.
#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

constexpr char kCreateSource[] = "Ostrel::Zam::CreateInstanceMethodDescriptor::DoCall";

// _CreateInstance: a new instance of the owning class from its instance factory.
class CreateInstanceMethodDescriptor : public CIMethodDescriptorImpl {
  public:
    CreateInstanceMethodDescriptor()
        : CIMethodDescriptorImpl("_CreateInstance", nullptr, kDispIdCreateInstance) {
        SetClassLevel(true);
        SetHelpText("Creates a new instance of the class");
    }

  protected:
    void Execute(MemberCall &call) override {
        if (!call.IsCall())
            EMemberNotFound::Raise();
        if (!call.arguments.empty())
            RaiseError(DISP_E_BADPARAMCOUNT, kCreateSource, nullptr);
        CIComponentDescriptorImpl *owner = Owner();
        if (owner == nullptr)
            RaiseError(E_UNEXPECTED, kCreateSource,
                       "Member descriptor is no longer attached to a component descriptor");
        const platform::ComPtr<IDispatch> made =
            owner->HasInstanceFactory() ? owner->NewInstance() : platform::ComPtr<IDispatch>();
        if (!made)
            RaiseErrorFormat(E_UNEXPECTED, kCreateSource, "Class %.226s cannot be instantiated",
                             owner->ClassName().c_str());
        if (call.result != nullptr)
            SetUnknown(call.result, made.Get());
    }
};

}  // namespace

platform::ComPtr<CIPropertyDescriptorImpl> AddProperty(CIComponentDescriptorImpl &descriptor,
                                                       std::string name, VARTYPE type,
                                                       PropertyAccessors accessors,
                                                       MemberOptions options) {
    auto property = MakeObject<CIPropertyDescriptorImpl>(
        std::move(name), type, std::move(accessors), options.dispid, options.attributes);
    property->SetHelpText(options.help);
    property->SetHelpKeyword(options.help_keyword);
    descriptor.AddMember(property.Get());
    return property;
}

platform::ComPtr<CIPropertyDescriptorImpl> AddProperty(
    CIComponentDescriptorImpl &descriptor, std::string name, VARTYPE type,
    std::shared_ptr<const PropertyAccessors> accessors, MemberOptions options) {
    auto property = MakeObject<CIPropertyDescriptorImpl>(
        std::move(name), type, std::move(accessors), options.dispid, options.attributes);
    property->SetHelpText(options.help);
    property->SetHelpKeyword(options.help_keyword);
    descriptor.AddMember(property.Get());
    return property;
}

platform::ComPtr<CIMethodDescriptorImpl> AddMethod(CIComponentDescriptorImpl &descriptor,
                                                   std::string name, MethodBody body,
                                                   MemberOptions options) {
    auto method = MakeObject<CIMethodDescriptorImpl>(std::move(name), std::move(body),
                                                     options.dispid, options.attributes);
    method->SetHelpText(options.help);
    method->SetHelpKeyword(options.help_keyword);
    descriptor.AddMember(method.Get());
    return method;
}

platform::ComPtr<CIMethodDescriptorImpl> AddMethod(CIComponentDescriptorImpl &descriptor,
                                                   std::string name, MethodBody body,
                                                   std::vector<ParameterRef> parameters,
                                                   MemberOptions options) {
    auto method = MakeObject<CIMethodDescriptorImpl>(std::move(name), std::move(body),
                                                     options.dispid, options.attributes);
    method->SetHelpText(options.help);
    method->SetHelpKeyword(options.help_keyword);
    method->SetParameters(std::move(parameters));
    descriptor.AddMember(method.Get());
    return method;
}

ParameterRef Parameter(std::string name, VARTYPE type, uint32_t flags) {
    return MakeObject<CIParameterDescriptorImpl>(std::move(name), type, flags);
}

ParameterRef OptionalParameter(std::string name, VARTYPE type, const VARIANT &default_value) {
    auto parameter =
        MakeObject<CIParameterDescriptorImpl>(std::move(name), type, kParamIn | kParamOptional);
    parameter->SetDefaultValue(default_value);
    return parameter;
}

void AddFrameworkMembers(CIComponentDescriptorImpl &descriptor, DISPID first_id) {
    const auto id = [first_id](DISPID offset) {
        return first_id == kNoDispId ? kNoDispId : first_id - offset;
    };
    PropertyAccessors class_accessors;
    class_accessors.get = [](DispatchObject &object, VARIANT *result) {
        SetObject(result, object.ClassDescriptor().AsDispatch());
    };
    AddProperty(descriptor, "Class", VT_DISPATCH, std::move(class_accessors),
                {id(0), 0, "Returns the component descriptor of this object"});
    AddMethod(descriptor, "Clone",
              [](DispatchObject *object, const ArgumentValues &, VARIANT *result) {
                  const platform::ComPtr<IDispatch> copy = object->CloneObject();
                  SetObject(result, copy.Get());
              },
              std::vector<ParameterRef>{}, {id(1), 0, "Clone this object"});
    AddMethod(descriptor, "ToString",
              [](DispatchObject *object, const ArgumentValues &, VARIANT *result) {
                  SetText(result, object->ToString());
              },
              std::vector<ParameterRef>{},
              {id(2), 0, "Returns a text string that represents this object"});
    const auto create = MakeObject<CreateInstanceMethodDescriptor>();
    descriptor.AddMember(create.Get());
}

ComponentRef NewClassDescriptor(std::string class_name, const GUID &class_id, uint32_t kind_flags) {
    auto descriptor =
        MakeObject<CIComponentDescriptorImpl>(std::move(class_name), class_id, kind_flags);
    AddFrameworkMembers(*descriptor.Get());
    return descriptor;
}

}  // namespace Ostrel::Zam
