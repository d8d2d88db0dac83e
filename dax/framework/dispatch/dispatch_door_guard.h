// The body of GuardedResult (dispatch_door.h).
#pragma once

#include "frame/error_model.h"
#include "frame/export_frame.h"

namespace Ostrel::Zam {

inline constexpr char kDispatchFramePosition[] = "dax/framework/dispatch_door[88]";

template <class Body>
HRESULT GuardedResult(Body &&body) {
    try {
        HRESULT result = S_OK;
        GuardedBody(kDispatchFramePosition, [&] { result = body(); });
        return result;
    } catch (const EZamError &error) {
        return ErrorToExcepInfo(error, nullptr);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace Ostrel::Zam
