// The support library stays loaded until the process ends once it is loaded.
//
// It hands out objects whose code lives in it and that hosts hold as long as they
// like: error-information objects (a thread's, chained as inner errors, kept by
// callers and by script hosts), the nodes of trees that hosts own, counted texts and
// property lists. An unload while any of them lives would leave the host holding
// pointers into unmapped code, and its next Release or free would crash. The
// libraries built on it (dax64, morph64) unload as usual.
#include "platform/module_hooks.h"

namespace {

bool PinThisLibrary() {
    static const char here = 0;
    return platform::PinModuleOf(&here);
}

[[maybe_unused]] const bool g_pinned = PinThisLibrary();

}  // namespace
