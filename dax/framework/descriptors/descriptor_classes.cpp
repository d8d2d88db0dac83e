// The classes of the descriptors themselves: what a script reads of a component
// descriptor, a member, a method, a property, a parameter and a type.
#include "framework/descriptors/descriptor_builder.h"
#include "framework/descriptors/descriptor_collection.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

using Member = CIMemberDescriptorImpl;
using Kind = CIMemberDescriptorImpl::Kind;

template <class T>
PropertyAccessors ReadOnly(void (*get)(T &, VARIANT *)) {
    PropertyAccessors accessors;
    accessors.get = Getter<T>(get);
    return accessors;
}

// Members of the table of one kind (every kind for kPlaceholder), placeholders
// and internal members left out.
platform::ComPtr<CICollectionImpl> MembersOf(CIComponentDescriptorImpl &descriptor, bool all,
                                             Kind kind) {
    std::vector<CICollectionImpl::Item> items;
    for (CIMemberDescriptorImpl *member : descriptor.Members().Sorted()) {
        if ((member->Attributes() & (kMemberPlaceholder | kMemberInternal)) != 0)
            continue;
        if (all || member->MemberKind() == kind)
            items.push_back(CollectionItem(member->Name(), member));
    }
    return MakeObject<CICollectionImpl>(std::move(items));
}

platform::ComPtr<CICollectionImpl> ParametersOf(const std::vector<ParameterRef> &parameters) {
    std::vector<CICollectionImpl::Item> items;
    for (const ParameterRef &parameter : parameters)
        items.push_back(CollectionItem(parameter->Name(), parameter.Get()));
    return MakeObject<CICollectionImpl>(std::move(items));
}

void SetType(VARIANT *result, VARTYPE vt) {
    const auto type = MakeObject<CITypeDescriptorImpl>(vt);
    SetObject(result, type->AsDispatch());
}

// A variant type from an assigned value (a number, or a type descriptor whose
// default member VarType was read by the assignment).
VARTYPE TypeFrom(const VARIANT &value) {
    int64_t vt = 0;
    if (!ToIndex(value, &vt) || vt < 0 || vt > 0xFFFF)
        EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
    return static_cast<VARTYPE>(vt);
}

// The members every member descriptor shows.
void AddMemberMembers(CIComponentDescriptorImpl &d) {
    AddProperty(d, "Name", VT_BSTR,
                ReadOnly<Member>([](Member &m, VARIANT *r) { SetText(r, m.Name()); }));
    AddProperty(d, "Attributes", VT_I4, ReadOnly<Member>([](Member &m, VARIANT *r) {
                    SetInt32(r, static_cast<int32_t>(m.Attributes()));
                }));
    AddProperty(d, "DispId", VT_I4,
                ReadOnly<Member>([](Member &m, VARIANT *r) { SetInt32(r, m.DispId()); }));
    AddProperty(d, "DisplayName", VT_BSTR,
                ReadOnly<Member>([](Member &m, VARIANT *r) { SetText(r, m.DisplayName()); }));
    AddProperty(d, "DisplayOrder", VT_I4,
                ReadOnly<Member>([](Member &m, VARIANT *r) { SetInt32(r, m.DisplayOrder()); }));
    AddProperty(d, "IsBrowsable", VT_BOOL, ReadOnly<Member>([](Member &m, VARIANT *r) {
                    SetBool(r, (m.Attributes() & kMemberHidden) == 0);
                }));
    AddProperty(d, "IsHidden", VT_BOOL, ReadOnly<Member>([](Member &m, VARIANT *r) {
                    SetBool(r, (m.Attributes() & kMemberHidden) != 0);
                }));
    AddProperty(d, "IsPrivate", VT_BOOL, ReadOnly<Member>([](Member &m, VARIANT *r) {
                    SetBool(r, (m.Attributes() & kMemberPrivate) != 0);
                }));
    AddProperty(d, "IsPublic", VT_BOOL, ReadOnly<Member>([](Member &m, VARIANT *r) {
                    SetBool(r, (m.Attributes() & kMemberPrivate) == 0);
                }));
    AddProperty(d, "IsRestricted", VT_BOOL, ReadOnly<Member>([](Member &m, VARIANT *r) {
                    SetBool(r, (m.Attributes() & kMemberRestricted) != 0);
                }));
    AddProperty(d, "MemberType", VT_BSTR,
                ReadOnly<Member>([](Member &m, VARIANT *r) { SetText(r, m.MemberTypeName()); }));
    AddMethod(d, "Remove", MethodOf<Member>([](Member &m, const ArgumentValues &, VARIANT *) {
                  if (CIComponentDescriptorImpl *owner = m.Owner())
                      owner->RemoveMember(&m);
              }),
              std::vector<ParameterRef>{}, {-1, 0, "Removes the member from its class"});
}

}  // namespace

void AddComponentDescriptorMembers(CIComponentDescriptorImpl &descriptor) {
    using C = CIComponentDescriptorImpl;
    CIComponentDescriptorImpl *d = &descriptor;
    AddProperty(*d, "ClsId", VT_BSTR,
                ReadOnly<C>([](C &c, VARIANT *r) { SetText(r, GuidText(c.ClassId())); }));
    PropertyAccessors dispid;
    dispid.get_indexed = IndexedGetter<C>([](C &c, const VARIANT &index, VARIANT *r) {
        std::string name;
        if (!ToText(index, &name))
            EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
        const CIMemberDescriptorImpl *member = c.FindMember(name);
        if (member == nullptr || member->IsPlaceholder())
            RaiseErrorFormat(DISP_E_MEMBERNOTFOUND, "Ostrel.Zam.ComponentDescriptor.DispId",
                             "Unknown member: %.119s.%.119s", c.ClassName().c_str(), name.c_str());
        SetInt32(r, member->DispId());
    });
    AddProperty(*d, "DispId", VT_I4, std::move(dispid))
        ->SetIndexParameters({Parameter("Name", VT_BSTR)});
    AddProperty(*d, "Members", VT_DISPATCH, ReadOnly<C>([](C &c, VARIANT *r) {
        SetObject(r, MembersOf(c, true, Kind::kPlaceholder)->AsDispatch());
    }));
    AddProperty(*d, "Methods", VT_DISPATCH, ReadOnly<C>([](C &c, VARIANT *r) {
        SetObject(r, MembersOf(c, false, Kind::kMethod)->AsDispatch());
    }));
    AddProperty(*d, "Properties", VT_DISPATCH, ReadOnly<C>([](C &c, VARIANT *r) {
        SetObject(r, MembersOf(c, false, Kind::kProperty)->AsDispatch());
    }));
    for (const char *name : {"Register", "Unregister"}) {
        AddMethod(*d, name, MethodOf<C>([name](C &c, const ArgumentValues &, VARIANT *) {
            RaiseErrorFormat(E_NOTIMPL, "Ostrel.Zam.ComponentDescriptor.Register",
                             "%s of class '%.200s' in the system registry is not "
                             "available yet",
                             name[0] == 'R' ? "Registration" : "Unregistration",
                             c.ClassName().c_str());
        }),
                  std::vector<ParameterRef>{});
    }
}

void AddPropertyDescriptorMembers(CIComponentDescriptorImpl &descriptor) {
    using P = CIPropertyDescriptorImpl;
    CIComponentDescriptorImpl *d = &descriptor;
    AddMemberMembers(*d);
    AddProperty(*d, "DefaultValue", VT_VARIANT,
                ReadOnly<P>([](P &p, VARIANT *r) { CopyValue(r, p.DefaultValue()); }));
    AddProperty(*d, "IndexParameters", VT_DISPATCH, ReadOnly<P>([](P &p, VARIANT *r) {
        SetObject(r, ParametersOf(p.IndexParameters())->AsDispatch());
    }));
    AddProperty(*d, "IsConstant", VT_BOOL, ReadOnly<P>([](P &p, VARIANT *r) {
        SetBool(r, (p.PropertyFlags() & kPropertyConstant) != 0);
    }));
    AddProperty(*d, "IsReadOnly", VT_BOOL,
                ReadOnly<P>([](P &p, VARIANT *r) { SetBool(r, p.IsReadOnly()); }));
    AddProperty(*d, "IsSerializable", VT_BOOL, ReadOnly<P>([](P &p, VARIANT *r) {
        SetBool(r, (p.PropertyFlags() & kPropertySerializable) != 0);
    }));
    AddProperty(*d, "IsWriteOnly", VT_BOOL,
                ReadOnly<P>([](P &p, VARIANT *r) { SetBool(r, p.IsWriteOnly()); }));
    AddProperty(*d, "PossibleValues", VT_VARIANT,
                ReadOnly<P>([](P &, VARIANT *r) { VariantClear(r); }));
    PropertyAccessors type;
    type.get = Getter<P>([](P &p, VARIANT *r) { SetType(r, p.Type()); });
    type.set = Setter<P>([](P &p, const VARIANT &v) { p.SetType(TypeFrom(v)); });
    AddProperty(*d, "PropertyType", VT_VARIANT, std::move(type));
    AddProperty(*d, "Value", VT_VARIANT,
                ReadOnly<P>([](P &p, VARIANT *r) { CopyValue(r, p.DefaultValue()); }));
}

namespace {

ComponentRef BuildComponentClass() {
    ComponentRef made =
        NewClassDescriptor("Ostrel.Zam.ComponentDescriptor", platform::kGUID_NULL, 0);
    CIComponentDescriptorImpl *d = made.Get();
    AddComponentDescriptorMembers(*d);
    return made;
}

ComponentRef BuildMemberClass() {
    ComponentRef made = NewClassDescriptor("Ostrel.Zam.MemberDescriptor", platform::kGUID_NULL, 0);
    CIComponentDescriptorImpl *d = made.Get();
    AddMemberMembers(*d);
    return made;
}

ComponentRef BuildMethodClass() {
    using M = CIMethodDescriptorImpl;
    ComponentRef made = NewClassDescriptor("Ostrel.Zam.MethodDescriptor", platform::kGUID_NULL, 0);
    CIComponentDescriptorImpl *d = made.Get();
    AddMemberMembers(*d);
    AddProperty(*d, "Parameters", VT_DISPATCH, ReadOnly<M>([](M &m, VARIANT *r) {
        SetObject(r, ParametersOf(m.Parameters())->AsDispatch());
    }));
    PropertyAccessors return_type;
    return_type.get = Getter<M>([](M &m, VARIANT *r) { SetType(r, m.ReturnType()); });
    return_type.set = Setter<M>([](M &m, const VARIANT &v) { m.SetReturnType(TypeFrom(v)); });
    AddProperty(*d, "ReturnType", VT_VARIANT, std::move(return_type));
    return made;
}

ComponentRef BuildPropertyClass() {
    ComponentRef made =
        NewClassDescriptor("Ostrel.Zam.PropertyDescriptor", platform::kGUID_NULL, 0);
    CIComponentDescriptorImpl *d = made.Get();
    AddPropertyDescriptorMembers(*d);
    return made;
}

ComponentRef BuildParameterClass() {
    using P = CIParameterDescriptorImpl;
    ComponentRef made =
        NewClassDescriptor("Ostrel.Zam.ParameterDescriptor", platform::kGUID_NULL, 0);
    CIComponentDescriptorImpl *d = made.Get();
    AddProperty(*d, "Name", VT_BSTR, ReadOnly<P>([](P &p, VARIANT *r) { SetText(r, p.Name()); }));
    AddProperty(*d, "Attributes", VT_I4, ReadOnly<P>([](P &p, VARIANT *r) {
        SetInt32(r, static_cast<int32_t>(p.Flags()));
    }));
    AddProperty(*d, "DefaultValue", VT_VARIANT,
                ReadOnly<P>([](P &p, VARIANT *r) { CopyValue(r, p.DefaultValue()); }));
    const struct {
        const char *name;
        uint32_t flag;
    } flags[] = {{"IsIn", kParamIn},
                 {"IsOptional", kParamOptional},
                 {"IsOut", kParamOut},
                 {"IsParamArray", kParamArray},
                 {"IsRetval", kParamRetval}};
    for (const auto &flag : flags) {
        PropertyAccessors accessors;
        const uint32_t bit = flag.flag;
        accessors.get = Getter<P>([bit](P &p, VARIANT *r) { SetBool(r, (p.Flags() & bit) != 0); });
        AddProperty(*d, flag.name, VT_BOOL, std::move(accessors));
    }
    AddProperty(*d, "ParameterType", VT_DISPATCH,
                ReadOnly<P>([](P &p, VARIANT *r) { SetType(r, p.Type()); }));
    return made;
}

ComponentRef BuildTypeClass() {
    using T = CITypeDescriptorImpl;
    ComponentRef made = NewClassDescriptor("Ostrel.Zam.TypeDescriptor", platform::kGUID_NULL, 0);
    CIComponentDescriptorImpl *d = made.Get();
    AddProperty(*d, "VarType", VT_I4,
                ReadOnly<T>([](T &t, VARIANT *r) { SetInt32(r, t.VarType()); }), {DISPID_VALUE});
    return made;
}

}  // namespace

CIComponentDescriptorImpl &CIComponentDescriptorImpl::ClassDescriptor() {
    static const ComponentRef descriptor = BuildComponentClass();
    return *descriptor.Get();
}

CIComponentDescriptorImpl &CIMemberDescriptorImpl::ClassDescriptor() {
    static const ComponentRef descriptor = BuildMemberClass();
    return *descriptor.Get();
}

CIComponentDescriptorImpl &CIMethodDescriptorImpl::ClassDescriptor() {
    static const ComponentRef descriptor = BuildMethodClass();
    return *descriptor.Get();
}

CIComponentDescriptorImpl &CIPropertyDescriptorImpl::ClassDescriptor() {
    static const ComponentRef descriptor = BuildPropertyClass();
    return *descriptor.Get();
}

CIComponentDescriptorImpl &CIParameterDescriptorImpl::ClassDescriptor() {
    static const ComponentRef descriptor = BuildParameterClass();
    return *descriptor.Get();
}

CIComponentDescriptorImpl &CITypeDescriptorImpl::ClassDescriptor() {
    static const ComponentRef descriptor = BuildTypeClass();
    return *descriptor.Get();
}

}  // namespace Ostrel::Zam
