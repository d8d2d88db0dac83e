// Wildcard matching: the pattern positions reachable after each character of the
// text are tracked together, one pass over the text.
#include <algorithm>

#include "failure.h"
#include "guarded_call.h"
#include "text_view.h"
#include "vek64_store.h"
#include "wildcard_pattern.h"

namespace vek::wildcard {

namespace {

// Adds the positions reachable without consuming a character: past any token that
// may be taken zero times.
void Close(const Program &program, std::vector<char> &active) {
    for (size_t i = 0; i < program.size(); ++i) {
        if (active[i] && program[i].repeats)
            active[i + 1] = 1;
    }
}

// The positions after consuming `c`; false when none is left.
bool Step(const Program &program, unsigned char c, const std::vector<char> &active,
          std::vector<char> &next) {
    std::fill(next.begin(), next.end(), 0);
    bool any = false;
    for (size_t i = 0; i < program.size(); ++i) {
        if (active[i] && program[i].accepts.test(c)) {
            next[program[i].repeats ? i : i + 1] = 1;
            any = true;
        }
    }
    Close(program, next);
    return any;
}

}  // namespace

bool Matches(const Program &program, std::string_view text) {
    std::vector<char> active(program.size() + 1, 0);
    std::vector<char> next(program.size() + 1, 0);
    active[0] = 1;
    Close(program, active);
    for (char c : text) {
        if (!Step(program, static_cast<unsigned char>(c), active, next))
            return false;
        active.swap(next);
    }
    return active[program.size()] != 0;
}

}  // namespace vek::wildcard

VEK_API int32_t VEK_CALL VekStrnWCompA(const char *text, int32_t text_length, const char *pattern,
                                       int32_t pattern_length, uint32_t options,
                                       const void *descriptor) {
    constexpr const char *kFunction = "VekStrnWCompA";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        using namespace vek::wildcard;
        Program program;
        const bool ignore_case = (options & VEK_IGNORE_CASE) != 0;
        if (const int32_t status =
                Compile(vek::ViewOf(pattern, pattern_length), Descriptor::From(descriptor),
                        ignore_case, program, kFunction))
            return status;
        return Matches(program, vek::ViewOf(text, text_length)) ? 0 : 1;
    });
}

// Placeholder bodies until the compiled-pattern exports are written.
VEK_API void *VEK_CALL VekWildcardCompileA(const char *, int32_t, uint32_t, const void *) {
    vek::Fail(VEK_E_INVALIDARG, "VekWildcardCompileA", "Not built yet");
    return nullptr;
}
VEK_API int32_t VEK_CALL VekWildcardMatchA(const void *, const char *, int32_t) {
    return vek::Fail(VEK_E_INVALIDARG, "VekWildcardMatchA", "Not built yet");
}
VEK_API void VEK_CALL VekWildcardFree(void *) {}
