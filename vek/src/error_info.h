// The error-information object of the support library.
#pragma once

#include <atomic>
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

class ErrorInfo final : public Ostrel::Zam::IErrorInfoExA {
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

  private:
    std::atomic<ULONG> references_{1};
    ErrorFields fields_;
    uint32_t process_id_;
    double time_stamp_;
};

}  // namespace vek
