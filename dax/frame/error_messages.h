// Error-message tables: each family of codes with texts has one process-wide table
// object, constructed when the module loads (it registers itself with the support
// library) and destroyed when it unloads (it unregisters itself). An error raised
// without a description takes the text of its family's table.
#pragma once

#include "imports/vek_imports.h"
#include "platform/api.h"

namespace Ostrel::Zam {

// A table of consecutive codes starting at the first code of a family.
using CustomErrorMsgs = vek::DenseErrorMessages;

}  // namespace Ostrel::Zam
