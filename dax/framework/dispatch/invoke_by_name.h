// Calls into any automation object by member name, and the component descriptor
// behind a framework object.
#pragma once

#include "framework/descriptors/component_descriptor.h"

namespace Ostrel::Zam {

// Invokes the member called `name` (empty or null: the default member, id 0) of
// any IDispatch. An unknown name is DISP_E_MEMBERNOTFOUND. Without an exception
// record a failed lookup raises "Unknown property or method: 'Class.Name'" (or
// "Cannot invoke 'Class.Name': ..." for other codes); with one, the record takes
// the code and DISP_E_EXCEPTION is returned (dispatch-facility codes are returned
// as they are). The call itself is the object's Invoke.
HRESULT InvokeByName(IDispatch *object, const OLECHAR *name, REFIID iid, LCID lcid, WORD flags,
                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *record,
                     UINT *argument_error);

// The component descriptor of an object, through IProvideClassInfo. Raises when
// the object has none.
ComponentRef ComponentDescriptorOf(IUnknown *object);

}  // namespace Ostrel::Zam
