#include "error_info.h"

#include <cstring>
#include <memory>
#include <new>

#include "error_tables.h"
#include "platform/kernel.h"
#include "vek64.h"

using Ostrel::Zam::IErrorInfoExA;
using Ostrel::Zam::kIID_IErrorInfoExA;

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
    const platform::LocalTime now = platform::CurrentLocalTime();
    const double seconds =
        now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond / 1000.0;
    return static_cast<double>(AutomationDay(now.year, now.month, now.day)) + seconds / 86400.0;
}

HRESULT TextOut(const std::string &value, char **text) {
    if (text == nullptr)
        return E_POINTER;
    *text = VekTextNewA(value.data(), static_cast<int32_t>(value.size()));
    return S_OK;
}

HRESULT BstrOut(const std::string &value, BSTR *text) {
    if (text == nullptr)
        return E_POINTER;
    *text = value.empty() ? nullptr : platform::BstrFromText(value);
    return S_OK;
}

}  // namespace

ErrorInfo::ErrorInfo(ErrorFields fields)
    : fields_(std::move(fields)),
      process_id_(platform::CurrentProcessId()),
      time_stamp_(CurrentAutomationDate()) {}

HRESULT ErrorInfo::QueryInterface(REFIID iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
        platform::SameGuid(iid, platform::kIID_IErrorInfo) ||
        platform::SameGuid(iid, kIID_IErrorInfoExA)) {
        *object = static_cast<IErrorInfoExA *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
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

HRESULT ErrorInfo::GetGUID(GUID *guid) {
    if (guid == nullptr)
        return E_POINTER;
    *guid = platform::kGUID_NULL;
    return S_OK;
}

HRESULT ErrorInfo::GetSource(BSTR *source) {
    return BstrOut(fields_.source, source);
}
HRESULT ErrorInfo::GetDescription(BSTR *text) {
    return BstrOut(fields_.description, text);
}
HRESULT ErrorInfo::GetHelpFile(BSTR *help_file) {
    return BstrOut({}, help_file);
}

HRESULT ErrorInfo::GetHelpContext(DWORD *help_context) {
    if (help_context == nullptr)
        return E_POINTER;
    *help_context = 0;
    return S_OK;
}

HRESULT ErrorInfo::GetSourceA(char **text) {
    return TextOut(fields_.source, text);
}
HRESULT ErrorInfo::GetDescriptionA(char **text) {
    return TextOut(fields_.description, text);
}
HRESULT ErrorInfo::GetHelpLinkA(char **text) {
    return TextOut(fields_.help_link, text);
}

HRESULT ErrorInfo::GetNumber(int32_t *code) {
    if (code == nullptr)
        return E_POINTER;
    *code = fields_.code;
    return S_OK;
}

HRESULT ErrorInfo::GetDump(const void **data, uint32_t *size) {
    if (data == nullptr || size == nullptr)
        return E_POINTER;
    *data = fields_.dump.empty() ? nullptr : fields_.dump.data();
    *size = static_cast<uint32_t>(fields_.dump.size());
    return S_OK;
}

HRESULT ErrorInfo::GetInnerError(IErrorInfoExA **inner) {
    if (inner == nullptr)
        return E_POINTER;
    *inner = platform::ComPtr<IErrorInfoExA>(fields_.inner).Detach();
    return S_OK;
}

HRESULT ErrorInfo::GetProcessId(uint32_t *pid) {
    if (pid == nullptr)
        return E_POINTER;
    *pid = process_id_;
    return S_OK;
}

HRESULT ErrorInfo::GetTimeStamp(double *date) {
    if (date == nullptr)
        return E_POINTER;
    *date = time_stamp_;
    return S_OK;
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
        auto info = platform::ComPtr<IErrorInfoExA>::Adopt(new vek::ErrorInfo(std::move(fields)));
        const GUID &wanted = iid != nullptr ? *static_cast<const GUID *>(iid) : kIID_IErrorInfoExA;
        return info->QueryInterface(wanted, object);
    } catch (const std::bad_alloc &) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
