// The door every automation call of a framework object passes: the call runs
// through the component descriptor inside the frame's guards, and a failure is
// handed back to the caller.
//
// With an exception record the result is DISP_E_EXCEPTION and the record carries
// the full code in `scode` (wCode 0), the error's source and description, and
// where the error has none, a source and a description made from the class, the
// member, the call and the offending argument:
//   source  'Class.Invoke("Member",...)', or 'Class.Invoke(<id>,...)' when the
//           member is unknown ("IDispatch" when the class has no name);
//   description by code, e.g. "'X' is not a readable property of class 'C'",
//           "Missing value in property 'C.X' assignment", "Type mismatch in
//           parameter 2 (Timeout) of 'C.Open'", or "Cannot invoke 'C.X': <the
//           system's message for the code>".
// Without a record the thread's error information describes the failure and the
// raised code is returned.
#pragma once

#include "platform/com.h"

namespace Ostrel::Zam {

class CIComponentDescriptorImpl;
class DispatchObject;

HRESULT InvokeDoor(CIComponentDescriptorImpl &descriptor, DispatchObject *instance, DISPID id,
                   LCID lcid, WORD flags, DISPPARAMS *parameters, VARIANT *result,
                   EXCEPINFO *record, UINT *argument_error);

// Runs a body in the frame's guards; a failure becomes the thread's error
// information and its raised code is returned (S_OK on success).
template <class Body>
HRESULT GuardedResult(Body &&body);

}  // namespace Ostrel::Zam

#include "framework/dispatch/dispatch_door_guard.h"
