// The wildcard exports: matching with a pattern compiled for the one call, and
// compiled patterns that a caller keeps to match against many texts.
#include <memory>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/text_view.h"
#include "text/wildcard_pattern.h"
#include "vek64_store.h"

namespace {

using vek::wildcard::Program;

// What VekWildcardCompileA hands out. The tag comes first so that a pointer to
// anything else (or a block already released) is refused instead of read as one.
struct CompiledPattern {
    static constexpr uint64_t kTag = 0x6e72657474615057ull;  // "WPattern"

    uint64_t tag = kTag;
    Program program;
};

int32_t CompileInto(Program &program, const char *pattern, int32_t pattern_length, uint32_t options,
                    const void *descriptor, const char *function) {
    using namespace vek::wildcard;
    return Compile(vek::ViewOf(pattern, pattern_length), Descriptor::From(descriptor),
                   (options & VEK_IGNORE_CASE) != 0, program, function);
}

// 0 with `pattern` set, or a failure status for a null or foreign pointer.
int32_t Check(const void *compiled, const char *function, const CompiledPattern *&pattern) {
    pattern = static_cast<const CompiledPattern *>(compiled);
    if (pattern == nullptr)
        return vek::Fail(VEK_E_POINTER, function, "No compiled pattern given");
    if (pattern->tag != CompiledPattern::kTag)
        return vek::Fail(VEK_E_INVALIDARG, function, "Not a compiled wildcard pattern");
    return 0;
}

}  // namespace

VEK_API int32_t VEK_CALL VekStrnWCompA(const char *text, int32_t text_length, const char *pattern,
                                       int32_t pattern_length, uint32_t options,
                                       const void *descriptor) {
    constexpr const char *kFunction = "VekStrnWCompA";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        Program program;
        if (const int32_t status =
                CompileInto(program, pattern, pattern_length, options, descriptor, kFunction))
            return status;
        return program.Matches(vek::ViewOf(text, text_length)) ? 0 : 1;
    });
}

VEK_API void *VEK_CALL VekWildcardCompileA(const char *pattern, int32_t pattern_length,
                                           uint32_t options, const void *descriptor) {
    constexpr const char *kFunction = "VekWildcardCompileA";
    return vek::GuardPointer(kFunction, [&]() -> void * {
        auto compiled = std::make_unique<CompiledPattern>();
        if (CompileInto(compiled->program, pattern, pattern_length, options, descriptor,
                        kFunction) != 0)
            return nullptr;
        return compiled.release();
    });
}

VEK_API int32_t VEK_CALL VekWildcardMatchA(const void *compiled, const char *text,
                                           int32_t text_length) {
    constexpr const char *kFunction = "VekWildcardMatchA";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        const CompiledPattern *pattern = nullptr;
        if (const int32_t status = Check(compiled, kFunction, pattern))
            return status;
        return pattern->program.Matches(vek::ViewOf(text, text_length)) ? 0 : 1;
    });
}

VEK_API void VEK_CALL VekWildcardFree(void *compiled) {
    constexpr const char *kFunction = "VekWildcardFree";
    vek::GuardStatus(kFunction, [&]() -> int32_t {
        const CompiledPattern *pattern = nullptr;
        if (compiled == nullptr)
            return 0;
        if (const int32_t status = Check(compiled, kFunction, pattern))
            return status;
        std::unique_ptr<CompiledPattern> owned(static_cast<CompiledPattern *>(compiled));
        owned->tag = 0;
        return 0;
    });
}
