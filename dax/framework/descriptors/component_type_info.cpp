// The type-information view of a component descriptor: names, ids, documentation
// and invocation; the description structures are not offered (E_NOTIMPL).
#include <string>

#include "framework/descriptors/component_descriptor.h"
#include "framework/descriptors/method_descriptor.h"

namespace Ostrel::Zam {

namespace {

constexpr MEMBERID kMemberIdNil = -1;  // the class itself in GetDocumentation

std::string WideName(const OLECHAR *name) {
    return platform::TextFromWide(name, std::char_traits<OLECHAR>::length(name));
}

}  // namespace

HRESULT CIComponentDescriptorImpl::GetTypeAttr(TYPEATTR **attributes) {
    if (attributes != nullptr)
        *attributes = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetTypeComp(ITypeComp **compiler) {
    if (compiler != nullptr)
        *compiler = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetFuncDesc(UINT, FUNCDESC **description) {
    if (description != nullptr)
        *description = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetVarDesc(UINT, VARDESC **description) {
    if (description != nullptr)
        *description = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetNames(MEMBERID id, BSTR *names, UINT max_names,
                                            UINT *name_count) {
    if (names == nullptr || name_count == nullptr)
        return E_POINTER;
    *name_count = 0;
    return GuardedResult([&] {
        const CIMemberDescriptorImpl *member = FindMember(id);
        if (member == nullptr || member->IsPlaceholder())
            return TYPE_E_ELEMENTNOTFOUND;
        if (max_names == 0)
            return S_OK;
        names[(*name_count)++] = platform::BstrFromText(member->Name());
        if (const auto *method = dynamic_cast<const CIMethodDescriptorImpl *>(member)) {
            for (const ParameterRef &parameter : method->Parameters()) {
                if (*name_count == max_names)
                    break;
                names[(*name_count)++] = platform::BstrFromText(parameter->Name());
            }
        }
        return S_OK;
    });
}

HRESULT CIComponentDescriptorImpl::GetRefTypeOfImplType(UINT, HREFTYPE *type) {
    if (type != nullptr)
        *type = 0;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetImplTypeFlags(UINT, INT *flags) {
    if (flags != nullptr)
        *flags = 0;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetIDsOfNames(LPOLESTR *names, UINT name_count, MEMBERID *ids) {
    if (name_count == 0)
        return S_OK;
    if (names == nullptr || ids == nullptr)
        return E_POINTER;
    return GuardedResult([&] {
        for (UINT i = 0; i < name_count; ++i)
            ids[i] = kMemberIdNil;
        if (names[0] == nullptr)
            return E_INVALIDARG;
        const CIMemberDescriptorImpl *member = FindMember(WideName(names[0]));
        if (member == nullptr || member->IsPlaceholder())
            return DISP_E_UNKNOWNNAME;
        ids[0] = member->DispId();
        const auto *method = dynamic_cast<const CIMethodDescriptorImpl *>(member);
        HRESULT outcome = S_OK;
        for (UINT i = 1; i < name_count; ++i) {
            if (method != nullptr && names[i] != nullptr) {
                const std::string name = WideName(names[i]);
                const auto &parameters = method->Parameters();
                for (size_t p = 0; p < parameters.size(); ++p) {
                    if (NameEqual()(parameters[p]->Name(), name))
                        ids[i] = static_cast<MEMBERID>(p);
                }
            }
            if (ids[i] == kMemberIdNil)
                outcome = DISP_E_UNKNOWNNAME;
        }
        return outcome;
    });
}

HRESULT CIComponentDescriptorImpl::Invoke(PVOID instance, MEMBERID id, WORD flags,
                                          DISPPARAMS *parameters, VARIANT *result,
                                          EXCEPINFO *exception, UINT *argument_error) {
    // The instance is taken as an interface pointer of a framework object.
    DispatchObject *object = FrameworkObjectOf(static_cast<IUnknown *>(instance));
    if (object == nullptr || &object->ClassDescriptor() != this)
        return E_INVALIDARG;
    return InvokeDoor(*this, object, id, 0, flags, parameters, result, exception, argument_error);
}

HRESULT CIComponentDescriptorImpl::GetDocumentation(MEMBERID id, BSTR *name, BSTR *doc_string,
                                                    DWORD *help_context, BSTR *help_file) {
    if (name != nullptr)
        *name = nullptr;
    if (doc_string != nullptr)
        *doc_string = nullptr;
    if (help_context != nullptr)
        *help_context = 0;
    if (help_file != nullptr)
        *help_file = nullptr;
    return GuardedResult([&] {
        std::string member_name = ClassName();
        std::string help;
        if (id != kMemberIdNil) {
            const CIMemberDescriptorImpl *member = FindMember(id);
            if (member == nullptr || member->IsPlaceholder())
                return TYPE_E_ELEMENTNOTFOUND;
            member_name = member->Name();
            help = member->HelpText();
        }
        if (name != nullptr)
            *name = platform::BstrFromText(member_name);
        if (doc_string != nullptr)
            *doc_string = platform::BstrFromText(help);
        return S_OK;
    });
}

HRESULT CIComponentDescriptorImpl::GetDllEntry(MEMBERID, INVOKEKIND, BSTR *dll, BSTR *name,
                                               WORD *ordinal) {
    if (dll != nullptr)
        *dll = nullptr;
    if (name != nullptr)
        *name = nullptr;
    if (ordinal != nullptr)
        *ordinal = 0;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetRefTypeInfo(HREFTYPE, ITypeInfo **info) {
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::AddressOfMember(MEMBERID, INVOKEKIND, PVOID *address) {
    if (address != nullptr)
        *address = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetMops(MEMBERID, BSTR *mops) {
    if (mops != nullptr)
        *mops = nullptr;
    return E_NOTIMPL;
}

HRESULT CIComponentDescriptorImpl::GetContainingTypeLib(ITypeLib **library, UINT *index) {
    if (library != nullptr)
        *library = nullptr;
    if (index != nullptr)
        *index = 0;
    return E_NOTIMPL;
}

void CIComponentDescriptorImpl::ReleaseTypeAttr(TYPEATTR *) {}
void CIComponentDescriptorImpl::ReleaseFuncDesc(FUNCDESC *) {}
void CIComponentDescriptorImpl::ReleaseVarDesc(VARDESC *) {}

}  // namespace Ostrel::Zam
