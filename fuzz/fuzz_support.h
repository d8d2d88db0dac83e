// What every fuzz target shares: failing loudly, taking over returned texts, and
// the invariants of the exported-call frame.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "dax64.h"
#include "imports/vek_imports.h"

namespace fuzz {

// Reports a broken invariant and stops: libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const std::string &what) {
    std::fprintf(stderr, "FUZZ INVARIANT BROKEN: %s\n", what.c_str());
    std::abort();
}

inline void Check(bool holds, const std::string &what) {
    if (!holds)
        Fail(what);
}

// The text's bytes by its count word, freeing it; nullopt for null.
inline std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text, static_cast<size_t>(VekTextLength(text)));
    VekTextFree(text);
    return value;
}

// An integer export called with the thread's error information cleared: a
// negative result must be the code the error information then holds, and a
// success must leave it clear.
template <class Call>
int32_t CheckedInteger(const std::string &what, Call &&call) {
    ZamSetErrorInfo(nullptr);
    const int32_t result = call();
    const int32_t code = ZamGetLastError();
    if (result < 0)
        Check(code == result, what + ": result " + std::to_string(result) +
                                  " but the thread's error is " + std::to_string(code));
    else
        Check(code == 0,
              what + ": success " + std::to_string(result) + " set error " + std::to_string(code));
    return result;
}

// A text export likewise: a text is a success and leaves the information clear;
// null is an empty result (information clear) or a failure (information set).
struct TextOutcome {
    std::optional<std::string> text;
    int32_t code = 0;  // 0 for a success
    bool Ok() const { return code == 0; }
    std::string Value() const { return text.value_or(""); }
};

template <class Call>
TextOutcome CheckedText(const std::string &what, Call &&call) {
    ZamSetErrorInfo(nullptr);
    TextOutcome outcome;
    outcome.text = Take(call());
    outcome.code = ZamGetLastError();
    if (outcome.text.has_value())
        Check(outcome.code == 0, what + ": a text and error " + std::to_string(outcome.code));
    if (outcome.code != 0)
        Check(outcome.code < 0, what + ": error information with a positive code");
    return outcome;
}

// Splits fuzz input into up to `count` texts at zero bytes (the last takes the rest).
inline std::string Part(std::string_view data, size_t index) {
    size_t start = 0;
    for (size_t i = 0; i < index; ++i) {
        const size_t stop = data.find('\0', start);
        if (stop == std::string_view::npos)
            return {};
        start = stop + 1;
    }
    const size_t stop = data.find('\0', start);
    return std::string(
        data.substr(start, stop == std::string_view::npos ? data.npos : stop - start));
}

}  // namespace fuzz
