// Script views of error-information objects.
//
// Every failure's error information is one object of the support library (vek64),
// read through IErrorInfoExA and written through ICreateErrorInfoExA. The object
// itself answers no IDispatch: it must not depend on this library, because it
// outlives calls into it (it stays the thread's error information, is chained as
// inner error, is held by callers) and may outlive this library being unloaded.
// Scripts reach it instead through a view made here on demand:
//
// - CIErrorInfoExImpl, the reading view: the properties Number (dispatch id 0, the
//   default), Description (1), Dump (2), HelpContext (3), HelpFile (4), HelpKeyword
//   (5), HelpLink (6), Message (8), PID (9), Source (10) and TimeStamp (11).
// - CICreateErrorInfoExImpl, the creation view: the same properties, Number,
//   Description, Dump, HelpContext, HelpFile, HelpLink and Source settable, and the
//   method Clear (13).
//
// A view holds a counted reference to the object and keeps no state of its own,
// so any number of views of one object see the same fields. A view is an object of
// this library and, like all of them, keeps the module locked while it lives.
//
// Values:
// - Number written with a value from 0 to 0xFFFF is taken as a number of the
//   framework's own family (0x220F0000 added); every non-negative value then gets
//   the two top bits of a raised code (so 5 reads back 0xE20F0005); a negative value
//   is stored as given.
// - Dump reads as an array of bytes (VT_ARRAY | VT_UI1), empty when there is no
//   dump. It is written from an array of bytes (its bytes), a text (its 8-bit
//   bytes), Empty or Null (no dump), or any other value (its text).
// - Message is derived from the code: "" for code 0, otherwise "Error XXXXXXXXh"
//   (the code in eight hexadecimal digits) followed by ": " and the code's text when
//   one is known: the text of the message table registered for the code's family,
//   else the system's text of the automation result code.
// - TimeStamp is the UTC time of creation (or of the last Clear) as a date.
#pragma once

#include "framework/dispatch/dispatch_object.h"
#include "vek64_com.h"

namespace Ostrel::Zam {

class CIErrorInfoExImpl : public DispatchObject {
  public:
    explicit CIErrorInfoExImpl(platform::ComPtr<IErrorInfoExA> info) : info_(std::move(info)) {}

    static CIComponentDescriptorImpl &Class();
    CIComponentDescriptorImpl &ClassDescriptor() override { return Class(); }
    std::string ToString() override;

    IErrorInfoExA *Info() const { return info_.Get(); }

  private:
    platform::ComPtr<IErrorInfoExA> info_;
};

class CICreateErrorInfoExImpl : public CIErrorInfoExImpl {
  public:
    CICreateErrorInfoExImpl(platform::ComPtr<IErrorInfoExA> info,
                            platform::ComPtr<ICreateErrorInfoExA> writer)
        : CIErrorInfoExImpl(std::move(info)), writer_(std::move(writer)) {}

    static CIComponentDescriptorImpl &Class();
    CIComponentDescriptorImpl &ClassDescriptor() override { return Class(); }

    ICreateErrorInfoExA *Writer() const { return writer_.Get(); }

  private:
    platform::ComPtr<ICreateErrorInfoExA> writer_;
};

// The reading view of an error-information object; null when `info` is null or no
// error-information object.
platform::ComPtr<IDispatch> ErrorInfoView(IUnknown *info);
// The creation view of an error-information object of the support library; null
// when it cannot be written.
platform::ComPtr<IDispatch> CreateErrorInfoView(IUnknown *info);
// A new, cleared error-information object in its creation view.
platform::ComPtr<IDispatch> NewErrorInfoObject();
// The reading view of the calling thread's error information; null when it has none.
platform::ComPtr<IDispatch> ThreadErrorInfoView();

// The code as a number written to Number on the creation view.
int32_t ErrorNumberFromScript(int32_t value);
// The Message text of a code.
std::string ErrorMessageOf(int32_t code);

}  // namespace Ostrel::Zam
