#include "errors/error_info.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "errors/error_tables.h"
#include "platform/kernel.h"
#include "vek64.h"

using Ostrel::Zam::ICreateErrorInfoExA;
using Ostrel::Zam::ICreateErrorInfoExB;
using Ostrel::Zam::IErrorInfoExA;
using Ostrel::Zam::IErrorInfoExB;
using Ostrel::Zam::kIID_ICreateErrorInfoExA;
using Ostrel::Zam::kIID_ICreateErrorInfoExB;
using Ostrel::Zam::kIID_IErrorInfoExA;
using Ostrel::Zam::kIID_IErrorInfoExB;

namespace vek {

namespace {

// Days from 1899-12-30 (day 0 of automation dates) to the given civil date.
int64_t AutomationDay(unsigned year, unsigned month, unsigned day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t year_of_era = y - era * 400;
    const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    const int64_t days_since_1970 = era * 146097 + day_of_era - 719468;
    return days_since_1970 + 25569;
}

double CurrentAutomationDate() {
    const platform::LocalTime now = platform::CurrentUtcTime();
    const double seconds =
        now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond / 1000.0;
    return static_cast<double>(AutomationDay(now.year, now.month, now.day)) + seconds / 86400.0;
}

HRESULT BstrOut(const std::string &value, BSTR *text) {
    if (text == nullptr)
        return E_POINTER;
    *text = value.empty() ? nullptr : platform::BstrFromText(value);
    return S_OK;
}

std::string WideText(const OLECHAR *text) {
    if (text == nullptr)
        return {};
    size_t length = 0;
    while (text[length] != 0)
        ++length;
    return platform::TextFromWide(text, length);
}

constexpr char kCircularText[] =
    "Call to ICreateErrorInfoEx::SetInnerErrorInfo would cause circular reference";

}  // namespace

ErrorInfo::ErrorInfo(ErrorFields fields)
    : fields_(std::move(fields)),
      guid_(platform::kGUID_NULL),
      process_id_(platform::CurrentProcessId()),
      time_stamp_(CurrentAutomationDate()) {}

HRESULT ErrorInfo::QueryInterface(REFIID iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
        platform::SameGuid(iid, platform::kIID_IErrorInfo) ||
        platform::SameGuid(iid, kIID_IErrorInfoExA)) {
        *object = static_cast<IErrorInfoExA *>(this);
    } else if (platform::SameGuid(iid, platform::kIID_ICreateErrorInfo) ||
               platform::SameGuid(iid, kIID_ICreateErrorInfoExA)) {
        *object = static_cast<ICreateErrorInfoExA *>(this);
    } else if (platform::SameGuid(iid, kIID_IErrorInfoExB)) {
        *object = static_cast<IErrorInfoExB *>(this);
    } else if (platform::SameGuid(iid, kIID_ICreateErrorInfoExB)) {
        *object = static_cast<ICreateErrorInfoExB *>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ErrorInfo::AddRef() {
    return ++references_;
}

ULONG ErrorInfo::Release() {
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT ErrorInfo::TextOut(std::string ErrorFields::*field, char **text) {
    if (text == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    const std::string &value = fields_.*field;
    *text = VekTextNewA(value.data(), static_cast<int32_t>(value.size()));
    return S_OK;
}

HRESULT ErrorInfo::SetText(std::string ErrorFields::*field, const char *text) {
    std::string value = text != nullptr ? text : "";
    std::lock_guard<std::mutex> hold(lock_);
    fields_.*field = std::move(value);
    return S_OK;
}

// The help file is the link before its first '#', the keyword what follows it.
std::string ErrorInfo::HelpLinkPart(bool keyword) {
    std::lock_guard<std::mutex> hold(lock_);
    const std::string &link = fields_.help_link;
    const size_t mark = link.find('#');
    if (mark == std::string::npos)
        return keyword ? std::string() : link;
    return keyword ? link.substr(mark + 1) : link.substr(0, mark);
}

HRESULT ErrorInfo::GetGUID(GUID *guid) {
    if (guid == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *guid = guid_;
    return S_OK;
}

HRESULT ErrorInfo::GetSource(BSTR *source) {
    std::lock_guard<std::mutex> hold(lock_);
    return BstrOut(fields_.source, source);
}
HRESULT ErrorInfo::GetDescription(BSTR *text) {
    std::lock_guard<std::mutex> hold(lock_);
    return BstrOut(fields_.description, text);
}
HRESULT ErrorInfo::GetHelpFile(BSTR *help_file) {
    return BstrOut(HelpLinkPart(false), help_file);
}

HRESULT ErrorInfo::GetHelpContext(DWORD *help_context) {
    if (help_context == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *help_context = help_context_;
    return S_OK;
}

HRESULT ErrorInfo::GetSourceA(char **text) {
    return TextOut(&ErrorFields::source, text);
}
HRESULT ErrorInfo::GetDescriptionA(char **text) {
    return TextOut(&ErrorFields::description, text);
}
HRESULT ErrorInfo::GetHelpLinkA(char **text) {
    return TextOut(&ErrorFields::help_link, text);
}

HRESULT ErrorInfo::GetHelpFileA(char **text) {
    if (text == nullptr)
        return E_POINTER;
    const std::string part = HelpLinkPart(false);
    *text = VekTextNewA(part.data(), static_cast<int32_t>(part.size()));
    return S_OK;
}

HRESULT ErrorInfo::GetHelpKeywordA(char **text) {
    if (text == nullptr)
        return E_POINTER;
    const std::string part = HelpLinkPart(true);
    *text = VekTextNewA(part.data(), static_cast<int32_t>(part.size()));
    return S_OK;
}

HRESULT ErrorInfo::GetNumber(int32_t *code) {
    if (code == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *code = fields_.code;
    return S_OK;
}

// The bytes stay valid until the dump is next set or cleared.
HRESULT ErrorInfo::GetDump(const void **data, uint32_t *size) {
    if (data == nullptr || size == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *data = fields_.dump.empty() ? nullptr : fields_.dump.data();
    *size = static_cast<uint32_t>(fields_.dump.size());
    return S_OK;
}

HRESULT ErrorInfo::GetInnerError(IErrorInfoExA **inner) {
    if (inner == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *inner = platform::ComPtr<IErrorInfoExA>(fields_.inner).Detach();
    return S_OK;
}

HRESULT ErrorInfo::GetProcessId(uint32_t *pid) {
    if (pid == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *pid = process_id_;
    return S_OK;
}

HRESULT ErrorInfo::GetTimeStamp(double *date) {
    if (date == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(lock_);
    *date = time_stamp_;
    return S_OK;
}

HRESULT ErrorInfo::GetSourceB(BSTR *text) {
    return GetSource(text);
}
HRESULT ErrorInfo::GetDescriptionB(BSTR *text) {
    return GetDescription(text);
}
HRESULT ErrorInfo::GetHelpFileB(BSTR *text) {
    return GetHelpFile(text);
}
HRESULT ErrorInfo::GetHelpLinkB(BSTR *text) {
    std::lock_guard<std::mutex> hold(lock_);
    return BstrOut(fields_.help_link, text);
}
HRESULT ErrorInfo::GetHelpKeywordB(BSTR *text) {
    return BstrOut(HelpLinkPart(true), text);
}

HRESULT ErrorInfo::GetInnerError(IErrorInfoExB **inner) {
    if (inner == nullptr)
        return E_POINTER;
    *inner = nullptr;
    platform::ComPtr<IErrorInfoExA> chained;
    GetInnerError(chained.Out());
    if (chained)
        chained->QueryInterface(kIID_IErrorInfoExB, reinterpret_cast<void **>(inner));
    return S_OK;
}

HRESULT ErrorInfo::SetGUID(REFGUID guid) {
    std::lock_guard<std::mutex> hold(lock_);
    guid_ = guid;
    return S_OK;
}
HRESULT ErrorInfo::SetSource(LPOLESTR source) {
    const std::string text = WideText(source);
    return SetText(&ErrorFields::source, text.c_str());
}
HRESULT ErrorInfo::SetDescription(LPOLESTR description) {
    const std::string text = WideText(description);
    return SetText(&ErrorFields::description, text.c_str());
}
HRESULT ErrorInfo::SetHelpFile(LPOLESTR help_file) {
    const std::string text = WideText(help_file);
    return SetHelpFileA(text.c_str());
}
HRESULT ErrorInfo::SetHelpContext(DWORD help_context) {
    std::lock_guard<std::mutex> hold(lock_);
    help_context_ = help_context;
    return S_OK;
}

HRESULT ErrorInfo::SetNumber(int32_t code) {
    std::lock_guard<std::mutex> hold(lock_);
    fields_.code = code;
    return S_OK;
}
HRESULT ErrorInfo::SetSourceA(const char *text) {
    return SetText(&ErrorFields::source, text);
}
HRESULT ErrorInfo::SetDescriptionA(const char *text) {
    return SetText(&ErrorFields::description, text);
}
HRESULT ErrorInfo::SetHelpLinkA(const char *text) {
    return SetText(&ErrorFields::help_link, text);
}

// The link is composed again as help file, '#', keyword when both are present.
HRESULT ErrorInfo::SetHelpFileA(const char *text) {
    const std::string keyword = HelpLinkPart(true);
    std::string link = text != nullptr ? text : "";
    if (!link.empty() && !keyword.empty())
        link += "#" + keyword;
    else if (link.empty())
        link = keyword.empty() ? std::string() : "#" + keyword;
    std::lock_guard<std::mutex> hold(lock_);
    fields_.help_link = std::move(link);
    return S_OK;
}

HRESULT ErrorInfo::SetDump(const void *data, uint32_t size) {
    std::vector<unsigned char> bytes;
    if (data != nullptr && size > 0) {
        const auto *first = static_cast<const unsigned char *>(data);
        bytes.assign(first, first + size);
    }
    std::lock_guard<std::mutex> hold(lock_);
    fields_.dump = std::move(bytes);
    return S_OK;
}

// Walks the chain from `start` without holding this object's lock (each object
// locks itself while it hands out its inner error). A chain only ever grows by an
// object refusing to close a loop, so the walk always ends.
bool ErrorInfo::ChainLeadsHere(IUnknown *start) {
    const IErrorInfoExA *self = static_cast<IErrorInfoExA *>(this);
    platform::ComPtr<IErrorInfoExA> current;
    if (start != nullptr)
        start->QueryInterface(kIID_IErrorInfoExA, current.OutVoid());
    while (current) {
        if (current.Get() == self)
            return true;
        platform::ComPtr<IErrorInfoExA> next;
        if (current->GetInnerError(next.Out()) < 0)
            return false;
        current = next;
    }
    return false;
}

HRESULT ErrorInfo::SetInnerErrorInfo(IUnknown *inner) {
    if (ChainLeadsHere(inner))
        return ZamSetErrorInfoA(static_cast<int32_t>(0xC0000000u), nullptr, kCircularText, nullptr,
                                nullptr, 0, nullptr);
    platform::ComPtr<IErrorInfoExA> chained;
    if (inner != nullptr)
        inner->QueryInterface(kIID_IErrorInfoExA, chained.OutVoid());
    std::lock_guard<std::mutex> hold(lock_);
    fields_.inner = chained;
    return S_OK;
}

HRESULT ErrorInfo::Clear() {
    platform::ComPtr<IUnknown> current;
    if (ZamGetErrorInfo(&platform::kIID_IUnknown, current.OutVoid()) == S_OK &&
        current.Get() == static_cast<IUnknown *>(static_cast<IErrorInfoExA *>(this)))
        ZamSetErrorInfo(nullptr);
    ErrorFields fresh;
    platform::ComPtr<IErrorInfoExA> dropped;
    {
        std::lock_guard<std::mutex> hold(lock_);
        dropped = fields_.inner;  // released after the lock, as it may be the last reference
        fields_ = std::move(fresh);
        guid_ = platform::kGUID_NULL;
        help_context_ = static_cast<DWORD>(-1);
        process_id_ = platform::CurrentProcessId();
        time_stamp_ = CurrentAutomationDate();
    }
    return S_OK;
}

HRESULT ErrorInfo::SetSourceB(const OLECHAR *text) {
    return SetSourceA(WideText(text).c_str());
}
HRESULT ErrorInfo::SetDescriptionB(const OLECHAR *text) {
    return SetDescriptionA(WideText(text).c_str());
}
HRESULT ErrorInfo::SetHelpFileB(const OLECHAR *text) {
    return SetHelpFileA(WideText(text).c_str());
}
HRESULT ErrorInfo::SetHelpLinkB(const OLECHAR *text) {
    return SetHelpLinkA(WideText(text).c_str());
}

}  // namespace vek

VEK_API int32_t VEK_CALL ZamCreateErrorInfoA(int32_t code, const char *source,
                                             const char *description, const char *help_link,
                                             const void *dump, uint32_t dump_size,
                                             void *inner_error, const void *iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    try {
        vek::ErrorFields fields;
        fields.code = code;
        fields.source = source != nullptr ? source : "";
        fields.description = description != nullptr
                                 ? std::string(description)
                                 : vek::RegisteredMessageFor(static_cast<uint32_t>(code));
        fields.help_link = help_link != nullptr ? help_link : "";
        if (dump != nullptr && dump_size > 0) {
            const auto *bytes = static_cast<const unsigned char *>(dump);
            fields.dump.assign(bytes, bytes + dump_size);
        }
        if (inner_error != nullptr) {
            static_cast<IUnknown *>(inner_error)
                ->QueryInterface(kIID_IErrorInfoExA, fields.inner.OutVoid());
        }
        auto info = platform::ComPtr<IErrorInfoExA>::Adopt(
            static_cast<IErrorInfoExA *>(new vek::ErrorInfo(std::move(fields))));
        const GUID &wanted = iid != nullptr ? *static_cast<const GUID *>(iid) : kIID_IErrorInfoExA;
        return info->QueryInterface(wanted, object);
    } catch (const std::bad_alloc &) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
