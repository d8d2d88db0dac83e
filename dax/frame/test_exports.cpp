// Exports that exist only in testing builds: they let tests provoke every kind of
// failure that the exported-call frame must contain.
#include <cstdint>
#include <stdexcept>

#include "frame/diagnostics.h"
#include "frame/error_model.h"
#include "frame/export_frame.h"

#if defined(DAX_TEST_EXPORTS)

namespace {

using namespace Ostrel::Zam;

volatile int32_t g_zero = 0;
volatile uintptr_t g_unmapped_address = 8;

// Kept free of sanitizer checks: the point is to reach the real hardware fault.
__attribute__((noinline, no_sanitize("undefined", "address"))) int32_t Provoke(int32_t kind) {
    switch (kind) {
        case 1:  // access violation: read from an address that is never mapped
            return *reinterpret_cast<volatile int32_t *>(g_unmapped_address);
        case 2:  // integer division by zero
            return 7 / g_zero;
        case 3:
            throw std::runtime_error("Standard exception from the test export");
        case 4:
            throw 42;  // not a std::exception
        case 5:
            RaiseError(0xE2090003, "Test.DaxTestFault", nullptr);
        case 6:
            RaiseError(0x22090004, "Test::Fault::With::Colons", "Family code without raise bits");
        case 7:
            InternalError("dax/test_exports", 40, "Assertion failed: %.237s", "kind != 7");
        case 8:
            throw std::bad_alloc();
        default:
            return kind;
    }
}

}  // namespace

// Integer export: returns `kind` for kinds 0 and 9 and above; fails as described for 1..8.
DAX64_API int32_t DAX64_CALL DaxTestFault(int32_t kind) {
    return IntegerExport("dax/test_exports[61]", [&] { return Provoke(kind); });
}

// Text export: returns `text` for kind 0 (null for the empty text); fails as above.
DAX64_API char *DAX64_CALL DaxTestFaultText(const char *text, int32_t kind) {
    return TextExport("dax/test_exports[66]", [&] {
        AnsiString copy = TextArgument(text);
        Provoke(kind);
        return copy;
    });
}

#endif
