// Placeholder bodies until node building is written.
#include "tstore/t_node_building.h"

#include "frame/error_model.h"
#include "tstore/t_errors.h"

namespace Ostrel::Zam::tstore {

int32_t Add_Node_At_Path(std::string_view, int32_t, int32_t, int32_t) {
    RaiseError(kParameterInvalid, "T.T_AddNode", "Not built yet");
}

}  // namespace Ostrel::Zam::tstore
