// The help text of an object, asked for by self-registration as the description of
// a class (a class object without it registers no description).
#pragma once

#include "platform/com.h"

namespace Ostrel::Zam {

inline constexpr GUID kIID_IHelpInfoA = {
    0x06405599, 0x8C58, 0x11D3, {0x80, 0x57, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

struct IHelpInfoA : IUnknown {
    // Stores the help text as a counted text (null when there is none) that the
    // caller frees with VekTextFree.
    virtual HRESULT STDMETHODCALLTYPE GetHelpStringA(char **text) = 0;

  protected:
    ~IHelpInfoA() = default;
};

}  // namespace Ostrel::Zam
