// The error-information object of the support library: the one object behind every
// failure's error information, read through IErrorInfo / IErrorInfoExA /
// IErrorInfoExB and written through ICreateErrorInfo / ICreateErrorInfoExA /
// ICreateErrorInfoExB. Its fields may be read and
// written from several threads (an object can be the error information of one
// thread and handed to another), so every access holds the object's lock.
//
// Scripts reach it through a dispatch view that dax64 makes on demand
// (CIErrorInfoExImpl); the object itself knows nothing of dax64, so it may outlive
// an unloaded dax64 safely.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "vek64_com.h"

namespace vek {

struct ErrorFields {
    int32_t code = 0;
    std::string source;
    std::string description;
    std::string help_link;
    std::vector<unsigned char> dump;
    platform::ComPtr<Ostrel::Zam::IErrorInfoExA> inner;
};

class ErrorInfo final : public Ostrel::Zam::IErrorInfoExA,
                        public Ostrel::Zam::ICreateErrorInfoExA,
                        public Ostrel::Zam::IErrorInfoExB,
                        public Ostrel::Zam::ICreateErrorInfoExB {
  public:
    explicit ErrorInfo(ErrorFields fields);
    virtual ~ErrorInfo() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetGUID(GUID *guid) override;
    HRESULT STDMETHODCALLTYPE GetSource(BSTR *source) override;
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR *description) override;
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR *help_file) override;
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD *help_context) override;

    HRESULT STDMETHODCALLTYPE GetSourceA(char **text) override;
    HRESULT STDMETHODCALLTYPE GetDescriptionA(char **text) override;
    HRESULT STDMETHODCALLTYPE GetNumber(int32_t *code) override;
    HRESULT STDMETHODCALLTYPE GetHelpLinkA(char **text) override;
    HRESULT STDMETHODCALLTYPE GetDump(const void **data, uint32_t *size) override;
    HRESULT STDMETHODCALLTYPE GetInnerError(Ostrel::Zam::IErrorInfoExA **inner) override;
    HRESULT STDMETHODCALLTYPE GetProcessId(uint32_t *pid) override;
    HRESULT STDMETHODCALLTYPE GetTimeStamp(double *date) override;
    HRESULT STDMETHODCALLTYPE GetHelpFileA(char **text) override;
    HRESULT STDMETHODCALLTYPE GetHelpKeywordA(char **text) override;

    HRESULT STDMETHODCALLTYPE GetSourceB(BSTR *text) override;
    HRESULT STDMETHODCALLTYPE GetDescriptionB(BSTR *text) override;
    HRESULT STDMETHODCALLTYPE GetHelpLinkB(BSTR *text) override;
    HRESULT STDMETHODCALLTYPE GetInnerError(Ostrel::Zam::IErrorInfoExB **inner) override;
    HRESULT STDMETHODCALLTYPE GetHelpFileB(BSTR *text) override;
    HRESULT STDMETHODCALLTYPE GetHelpKeywordB(BSTR *text) override;

    HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guid) override;
    HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR source) override;
    HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR description) override;
    HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR help_file) override;
    HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD help_context) override;

    HRESULT STDMETHODCALLTYPE SetNumber(int32_t code) override;
    HRESULT STDMETHODCALLTYPE SetSourceA(const char *text) override;
    HRESULT STDMETHODCALLTYPE SetDescriptionA(const char *text) override;
    HRESULT STDMETHODCALLTYPE SetHelpFileA(const char *text) override;
    HRESULT STDMETHODCALLTYPE SetHelpLinkA(const char *text) override;
    HRESULT STDMETHODCALLTYPE SetDump(const void *data, uint32_t size) override;
    HRESULT STDMETHODCALLTYPE SetInnerErrorInfo(IUnknown *inner) override;
    HRESULT STDMETHODCALLTYPE Clear() override;

    HRESULT STDMETHODCALLTYPE SetSourceB(const OLECHAR *text) override;
    HRESULT STDMETHODCALLTYPE SetDescriptionB(const OLECHAR *text) override;
    HRESULT STDMETHODCALLTYPE SetHelpFileB(const OLECHAR *text) override;
    HRESULT STDMETHODCALLTYPE SetHelpLinkB(const OLECHAR *text) override;

  private:
    HRESULT TextOut(std::string ErrorFields::*field, char **text);
    HRESULT SetText(std::string ErrorFields::*field, const char *text);
    std::string HelpLinkPart(bool keyword);
    bool ChainLeadsHere(IUnknown *start);

    std::atomic<ULONG> references_{1};
    std::mutex lock_;
    ErrorFields fields_;
    GUID guid_;
    DWORD help_context_ = static_cast<DWORD>(-1);
    uint32_t process_id_;
    double time_stamp_;
};

}  // namespace vek
