// The exceptions of the dispatch machinery. Both carry an error-information object
// as every EZamError does.
//
// EInvokeError: an automation result code, a source, an optional description and
// the index of the offending argument (its 0-based position in the call, -1 when
// none). Without a description the exception record of the call is described from
// the code, the class, the member and the argument (see exception_record.h).
// EMemberNotFound: the member does not exist, is a placeholder, or does not
// support the access asked for. Script objects catch exactly this class.
#pragma once

#include <cstdint>

#include "frame/error_model.h"

namespace Ostrel::Zam {

class EInvokeError : public EZamError {
  public:
    // Raises: sets the thread's error information and throws.
    [[noreturn]] static void Raise(HRESULT code, const char *source = nullptr,
                                   const char *description = nullptr, int32_t argument = -1);

    int32_t Argument() const { return argument_; }
    bool Described() const { return described_; }

  protected:
    EInvokeError(ErrorInfoRef info, int32_t argument, bool described)
        : EZamError(std::move(info)), argument_(argument), described_(described) {}

  private:
    int32_t argument_;
    bool described_;
};

class EMemberNotFound : public EInvokeError {
  public:
    [[noreturn]] static void Raise();

  private:
    using EInvokeError::EInvokeError;
};

// The code of an error as a plain automation result: the raise bit 30 cleared.
HRESULT ResultCodeOf(const EZamError &error);

}  // namespace Ostrel::Zam
