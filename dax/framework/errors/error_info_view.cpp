#include "framework/errors/error_info_view.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "frame/error_model.h"
#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"
#include "framework/dispatch/variant_values.h"

namespace Ostrel::Zam {

namespace {

constexpr char kViewSource[] = "Ostrel::Zam::CIErrorInfoExImpl";
constexpr char kWriteSource[] = "Ostrel::Zam::CICreateErrorInfoExImpl";

// A counted text of the support library, freed when the holder goes.
struct VekText {
    char *text = nullptr;
    VekText() = default;
    VekText(const VekText &) = delete;
    VekText &operator=(const VekText &) = delete;
    ~VekText() { VekTextFree(text); }
    std::string Take() const { return text != nullptr ? std::string(text) : std::string(); }
};

using TextGetter = HRESULT (STDMETHODCALLTYPE IErrorInfoExA::*)(char **);

std::string ReadText(IErrorInfoExA *info, TextGetter getter) {
    VekText text;
    CheckHResult((info->*getter)(&text.text), kViewSource);
    return text.Take();
}

int32_t ReadNumber(IErrorInfoExA *info) {
    int32_t code = 0;
    CheckHResult(info->GetNumber(&code), kViewSource);
    return code;
}

void SetDate(VARIANT *target, double date) {
    VariantClear(target);
    target->vt = VT_DATE;
    target->date = date;
}

void SetBytes(VARIANT *target, const void *data, uint32_t size) {
    SAFEARRAY *array = SafeArrayCreateVector(VT_UI1, 0, size);
    if (array == nullptr)
        throw std::bad_alloc();
    if (size > 0) {
        void *bytes = nullptr;
        SafeArrayAccessData(array, &bytes);
        std::memcpy(bytes, data, size);
        SafeArrayUnaccessData(array);
    }
    VariantClear(target);
    target->vt = VT_ARRAY | VT_UI1;
    target->parray = array;
}

void ReadDump(IErrorInfoExA *info, VARIANT *result) {
    const void *data = nullptr;
    uint32_t size = 0;
    CheckHResult(info->GetDump(&data, &size), kViewSource);
    SetBytes(result, data, size);
}

// The bytes a script value stands for (see the header).
std::string BytesOfValue(const VARIANT &value) {
    VARIANT view;
    if (ReadThrough(value, &view) == ReadResult::kNullReference)
        return {};
    if (view.vt == VT_EMPTY || view.vt == VT_NULL)
        return {};
    if (view.vt == (VT_ARRAY | VT_UI1) && view.parray != nullptr &&
        SafeArrayGetDim(view.parray) == 1) {
        LONG low = 0;
        LONG high = -1;
        SafeArrayGetLBound(view.parray, 1, &low);
        SafeArrayGetUBound(view.parray, 1, &high);
        if (high < low)
            return {};
        void *bytes = nullptr;
        CheckHResult(SafeArrayAccessData(view.parray, &bytes), kWriteSource);
        std::string copy(static_cast<const char *>(bytes), static_cast<size_t>(high - low) + 1);
        SafeArrayUnaccessData(view.parray);
        return copy;
    }
    if (view.vt == VT_BSTR)
        return platform::TextFromBstr(view.bstrVal);
    OwnedVariant text;
    if (ChangeKind(view, VT_BSTR, text.Get()) < 0)
        EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
    return platform::TextFromBstr((*text).bstrVal);
}

std::string TextOfValue(const VARIANT &value) {
    return value.vt == VT_BSTR ? platform::TextFromBstr(value.bstrVal) : std::string();
}

// The reading members, shared by both views' descriptors.
void AddReadingMembers(CIComponentDescriptorImpl &d, bool settable) {
    using V = CIErrorInfoExImpl;
    using W = CICreateErrorInfoExImpl;
    const auto text_property =
        [&](const char *name, DISPID id, TextGetter getter,
            HRESULT (STDMETHODCALLTYPE ICreateErrorInfoExA::*setter)(const char *),
            const char *help, const char *keyword) {
            PropertyAccessors accessors;
            accessors.get =
                Getter<V>([getter](V &v, VARIANT *r) { SetText(r, ReadText(v.Info(), getter)); });
            if (settable && setter != nullptr)
                accessors.set = Setter<W>([setter](W &w, const VARIANT &value) {
                    const std::string text = TextOfValue(value);
                    CheckHResult((w.Writer()->*setter)(text.c_str()), kWriteSource);
                });
            AddProperty(d, name, VT_BSTR, std::move(accessors), {id, 0, help, keyword});
        };

    PropertyAccessors number;
    number.get = Getter<V>([](V &v, VARIANT *r) { SetInt32(r, ReadNumber(v.Info())); });
    if (settable)
        number.set = Setter<W>([](W &w, const VARIANT &value) {
            CheckHResult(w.Writer()->SetNumber(ErrorNumberFromScript(value.lVal)), kWriteSource);
        });
    AddProperty(d, "Number", VT_I4, std::move(number),
                {DISPID_VALUE, 0, "Error code", "ErrorInfoEx.Number"});

    text_property("Description", 1, &IErrorInfoExA::GetDescriptionA,
                  &ICreateErrorInfoExA::SetDescriptionA, "Error description",
                  "ErrorInfoEx.Description");

    PropertyAccessors dump;
    dump.get = Getter<V>([](V &v, VARIANT *r) { ReadDump(v.Info(), r); });
    if (settable)
        dump.set = Setter<W>([](W &w, const VARIANT &value) {
            const std::string bytes = BytesOfValue(value);
            CheckHResult(w.Writer()->SetDump(bytes.data(), static_cast<uint32_t>(bytes.size())),
                         kWriteSource);
        });
    AddProperty(d, "Dump", VT_VARIANT, std::move(dump), {2, 0, "Dumped data", "ErrorInfoEx.Dump"});

    PropertyAccessors context;
    context.get = Getter<V>([](V &v, VARIANT *r) {
        DWORD value = 0;
        CheckHResult(v.Info()->GetHelpContext(&value), kViewSource);
        SetInt32(r, static_cast<int32_t>(value));
    });
    if (settable)
        context.set = Setter<W>([](W &w, const VARIANT &value) {
            CheckHResult(w.Writer()->SetHelpContext(static_cast<DWORD>(value.lVal)), kWriteSource);
        });
    AddProperty(d, "HelpContext", VT_I4, std::move(context),
                {3, 0, "Help context", "ErrorInfoEx.HelpContext"});

    text_property("HelpFile", 4, &IErrorInfoExA::GetHelpFileA, &ICreateErrorInfoExA::SetHelpFileA,
                  "Help file", "ErrorInfoEx.HelpFile");
    text_property("HelpKeyword", 5, &IErrorInfoExA::GetHelpKeywordA, nullptr, "Help keyword",
                  "ErrorInfoEx.HelpKeyword");
    text_property("HelpLink", 6, &IErrorInfoExA::GetHelpLinkA, &ICreateErrorInfoExA::SetHelpLinkA,
                  "URL of topic help", "ErrorInfoEx.HelpLink");

    AddProperty(d, "Message", VT_BSTR,
                PropertyAccessors{Getter<V>([](V &v, VARIANT *r) {
                                      SetText(r, ErrorMessageOf(ReadNumber(v.Info())));
                                  }),
                                  {},
                                  {},
                                  {}},
                {8, 0, "Error message", "ErrorInfoEx.Message"});

    AddProperty(d, "PID", VT_I4,
                PropertyAccessors{Getter<V>([](V &v, VARIANT *r) {
                                      uint32_t pid = 0;
                                      CheckHResult(v.Info()->GetProcessId(&pid), kViewSource);
                                      SetInt32(r, static_cast<int32_t>(pid));
                                  }),
                                  {},
                                  {},
                                  {}},
                {9, 0, "Process ID", "ErrorInfoEx.PID"});

    text_property("Source", 10, &IErrorInfoExA::GetSourceA, &ICreateErrorInfoExA::SetSourceA,
                  "Class.Method or Module.Function from which the error was raised",
                  "ErrorInfoEx.Source");

    AddProperty(d, "TimeStamp", VT_DATE,
                PropertyAccessors{Getter<V>([](V &v, VARIANT *r) {
                                      double date = 0;
                                      CheckHResult(v.Info()->GetTimeStamp(&date), kViewSource);
                                      SetDate(r, date);
                                  }),
                                  {},
                                  {},
                                  {}},
                {11, 0, "Time stamp", "ErrorInfoEx.TimeStamp"});
}

ComponentRef BuildReadingClass() {
    ComponentRef c = NewClassDescriptor("Ostrel.Zam.ErrorInfoEx", platform::kGUID_NULL, 0);
    AddReadingMembers(*c.Get(), false);
    return c;
}

ComponentRef BuildCreationClass() {
    ComponentRef c = NewClassDescriptor("Ostrel.Zam.CreateErrorInfoEx", platform::kGUID_NULL, 0);
    AddReadingMembers(*c.Get(), true);
    AddMethod(*c.Get(), "Clear",
              MethodOf<CICreateErrorInfoExImpl>(
                  [](CICreateErrorInfoExImpl &w, const ArgumentValues &, VARIANT *) {
                      CheckHResult(w.Writer()->Clear(), kWriteSource);
                  }),
              {13, 0, "Clears the error information", "ErrorInfoEx.Clear"});
    return c;
}

}  // namespace

CIComponentDescriptorImpl &CIErrorInfoExImpl::Class() {
    static const ComponentRef descriptor = BuildReadingClass();
    return *descriptor.Get();
}

CIComponentDescriptorImpl &CICreateErrorInfoExImpl::Class() {
    static const ComponentRef descriptor = BuildCreationClass();
    return *descriptor.Get();
}

std::string CIErrorInfoExImpl::ToString() {
    return ReadText(info_.Get(), &IErrorInfoExA::GetDescriptionA);
}

int32_t ErrorNumberFromScript(int32_t value) {
    if (value < 0)
        return value;
    uint32_t code = static_cast<uint32_t>(value);
    if (code <= 0xFFFFu)
        code += 0x220F0000u;
    return static_cast<int32_t>(code | 0xC0000000u);
}

std::string ErrorMessageOf(int32_t code) {
    if (code == 0)
        return {};
    char head[24];
    std::snprintf(head, sizeof head, "Error %08Xh", static_cast<unsigned>(code));
    // The family's registered text, as the support library fills a description
    // given as null.
    std::string text;
    platform::ComPtr<IErrorInfoExA> probe;
    if (ZamCreateErrorInfoA(code, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                            &kIID_IErrorInfoExA, probe.OutVoid()) >= 0 &&
        probe)
        text = ReadText(probe.Get(), &IErrorInfoExA::GetDescriptionA);
    if (text.empty()) {
        text = SystemMessage(code);
        if (text.rfind("Error ", 0) == 0)
            text.clear();  // the system knows no text for it either
    }
    return text.empty() ? std::string(head) : std::string(head) + ": " + text;
}

platform::ComPtr<IDispatch> ErrorInfoView(IUnknown *info) {
    platform::ComPtr<IErrorInfoExA> extended;
    if (info == nullptr || info->QueryInterface(kIID_IErrorInfoExA, extended.OutVoid()) < 0 ||
        !extended)
        return {};
    auto view = MakeObject<CIErrorInfoExImpl>(extended);
    return platform::ComPtr<IDispatch>(view->AsDispatch());
}

platform::ComPtr<IDispatch> CreateErrorInfoView(IUnknown *info) {
    platform::ComPtr<IErrorInfoExA> extended;
    platform::ComPtr<ICreateErrorInfoExA> writer;
    if (info == nullptr || info->QueryInterface(kIID_IErrorInfoExA, extended.OutVoid()) < 0 ||
        info->QueryInterface(kIID_ICreateErrorInfoExA, writer.OutVoid()) < 0 || !extended ||
        !writer)
        return {};
    auto view = MakeObject<CICreateErrorInfoExImpl>(extended, writer);
    return platform::ComPtr<IDispatch>(view->AsDispatch());
}

platform::ComPtr<IDispatch> NewErrorInfoObject() {
    platform::ComPtr<IErrorInfoExA> made;
    CheckHResult(ZamCreateErrorInfoA(0, nullptr, "", nullptr, nullptr, 0, nullptr,
                                     &kIID_IErrorInfoExA, made.OutVoid()),
                 kWriteSource);
    platform::ComPtr<ICreateErrorInfoExA> writer;
    CheckHResult(made->QueryInterface(kIID_ICreateErrorInfoExA, writer.OutVoid()), kWriteSource);
    CheckHResult(writer->Clear(), kWriteSource);
    return CreateErrorInfoView(made.Get());
}

platform::ComPtr<IDispatch> ThreadErrorInfoView() {
    platform::ComPtr<IUnknown> current;
    if (ZamGetErrorInfo(&kIID_IErrorInfoExA, current.OutVoid()) != S_OK)
        return {};
    return ErrorInfoView(current.Get());
}

}  // namespace Ostrel::Zam
