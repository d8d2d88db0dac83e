// Off Windows: the automation interfaces that the script objects, the component
// framework and the COM server implement or call, with the Windows names, method
// order and constants (on Windows they come from <oaidl.h>, <dispex.h> and
// <servprov.h>). Included by platform/com.h only; never on its own.
#pragma once

using BOOL = int32_t;
using LPVOID = void *;
using HREFTYPE = DWORD;

struct IDispatch;
struct ITypeInfo;

struct DISPPARAMS {
    VARIANTARG *rgvarg;
    DISPID *rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

// Invocation flags.
constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;
constexpr WORD DISPATCH_CONSTRUCT = 0x4000;

// Reserved dispatch ids.
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_NEWENUM = -4;
constexpr DISPID DISPID_EVALUATE = -5;
constexpr DISPID DISPID_CONSTRUCTOR = -6;
constexpr DISPID DISPID_DESTRUCTOR = -7;
constexpr DISPID DISPID_STARTENUM = DISPID_UNKNOWN;
constexpr DISPID DISPID_THIS = -613;  // the caller's `this`, named by JScript

// IDispatchEx name lookup, enumeration and member property flags.
constexpr DWORD fdexNameCaseSensitive = 0x1;
constexpr DWORD fdexNameEnsure = 0x2;
constexpr DWORD fdexNameImplicit = 0x4;
constexpr DWORD fdexNameCaseInsensitive = 0x8;
constexpr DWORD fdexNameInternal = 0x10;
constexpr DWORD fdexNameNoDynamicProperties = 0x20;
constexpr DWORD fdexEnumDefault = 0x1;
constexpr DWORD fdexEnumAll = 0x2;
constexpr DWORD fdexPropCanGet = 0x1;
constexpr DWORD fdexPropCannotGet = 0x2;
constexpr DWORD fdexPropCanPut = 0x4;
constexpr DWORD fdexPropCannotPut = 0x8;
constexpr DWORD fdexPropCanPutRef = 0x10;
constexpr DWORD fdexPropCannotPutRef = 0x20;
constexpr DWORD fdexPropNoSideEffects = 0x40;
constexpr DWORD fdexPropDynamicType = 0x80;
constexpr DWORD fdexPropCanCall = 0x100;
constexpr DWORD fdexPropCannotCall = 0x200;
constexpr DWORD fdexPropCanConstruct = 0x400;
constexpr DWORD fdexPropCannotConstruct = 0x800;
constexpr DWORD fdexPropCanSourceEvents = 0x1000;
constexpr DWORD fdexPropCannotSourceEvents = 0x2000;

// Result codes of dispatch, type information and class objects.
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
constexpr HRESULT DISP_E_UNKNOWNLCID = static_cast<HRESULT>(0x8002000C);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = static_cast<HRESULT>(0x8002000F);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = static_cast<HRESULT>(0x8002802B);
constexpr HRESULT TYPE_E_AMBIGUOUSNAME = static_cast<HRESULT>(0x8002802C);
constexpr HRESULT TYPE_E_NAMECONFLICT = static_cast<HRESULT>(0x8002802D);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);

// Type information: the method order of the real interface, so that a pointer to
// it is called the same way everywhere. The structures behind the description
// calls are opaque here: the libraries answer them with E_NOTIMPL and call only
// GetDocumentation, GetIDsOfNames and GetNames themselves.
struct TYPEATTR;
struct FUNCDESC;
struct VARDESC;
struct ITypeComp;
struct ITypeLib;
enum INVOKEKIND : int32_t {
    INVOKE_FUNC = 1,
    INVOKE_PROPERTYGET = 2,
    INVOKE_PROPERTYPUT = 4,
    INVOKE_PROPERTYPUTREF = 8,
};

struct ITypeInfo : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR **attributes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp **compiler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC **description) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC **description) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNames(MEMBERID id, BSTR *names, UINT max_names,
                                               UINT *name_count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE *type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT *flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR *names, UINT name_count,
                                                    MEMBERID *ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(PVOID instance, MEMBERID id, WORD flags,
                                             DISPPARAMS *parameters, VARIANT *result,
                                             EXCEPINFO *exception, UINT *argument_error) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR *name, BSTR *doc_string,
                                                       DWORD *help_context, BSTR *help_file) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID id, INVOKEKIND kind, BSTR *dll,
                                                  BSTR *name, WORD *ordinal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE type, ITypeInfo **info) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID id, INVOKEKIND kind,
                                                      PVOID *address) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid,
                                                     PVOID *object) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMops(MEMBERID id, BSTR *mops) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib **library, UINT *index) = 0;
    virtual void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR *attributes) = 0;
    virtual void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC *description) = 0;
    virtual void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC *description) = 0;

  protected:
    ~ITypeInfo() = default;
};

struct IDispatch : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo **info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT name_count,
                                                    LCID lcid, DISPID *ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                             DISPPARAMS *parameters, VARIANT *result,
                                             EXCEPINFO *exception, UINT *argument_error) = 0;

  protected:
    ~IDispatch() = default;
};

struct IServiceProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void **object) = 0;

  protected:
    ~IServiceProvider() = default;
};

struct IDispatchEx : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD flags, DISPID *id) = 0;
    virtual HRESULT STDMETHODCALLTYPE InvokeEx(DISPID id, LCID lcid, WORD flags,
                                               DISPPARAMS *parameters, VARIANT *result,
                                               EXCEPINFO *exception, IServiceProvider *caller) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteMemberByName(BSTR name, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteMemberByDispID(DISPID id) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMemberProperties(DISPID id, DWORD fetch,
                                                          DWORD *properties) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMemberName(DISPID id, BSTR *name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD flags, DISPID id, DISPID *next) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNameSpaceParent(IUnknown **parent) = 0;

  protected:
    ~IDispatchEx() = default;
};

struct IProvideClassInfo : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **info) = 0;

  protected:
    ~IProvideClassInfo() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid,
                                                     void **object) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) = 0;

  protected:
    ~IClassFactory() = default;
};

struct IEnumVARIANT : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT *items, ULONG *fetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) = 0;

  protected:
    ~IEnumVARIANT() = default;
};
