// Placeholder bodies until the queries are written.
#include "tstore/t_queries.h"

#include "frame/error_model.h"
#include "tstore/t_errors.h"

namespace Ostrel::Zam::tstore {

int32_t Node_Or_Attribute_Exists(std::string_view) {
    RaiseError(kParameterInvalid, "T.T_Exists", "Not built yet");
}

}  // namespace Ostrel::Zam::tstore
