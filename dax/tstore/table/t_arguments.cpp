#include "tstore/table/t_arguments.h"

#include "frame/error_model.h"
#include "tstore/table/t_errors.h"

namespace Ostrel::Zam::tstore {

void Raise_Invalid_Argument(const char *source, const char *name, int32_t value) {
    RaiseErrorFormat(kParameterInvalid, source, "Invalid argument: %s%Xh", name,
                     static_cast<unsigned>(value));
}

}  // namespace Ostrel::Zam::tstore
