// Table-driven checks of the IString exports: each row is a call, the result it
// must give and the thread's error information it must leave (none: the sentinel
// set before the call, which a success must not touch).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dax64.h"
#include "imports/vek_imports.h"

namespace istr_test {

inline const std::string kNull = "<null>";

// A text handed out by an export, freed here; the word before it must count it.
inline std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text);
    if (VekTextLength(text) != static_cast<int32_t>(value.size()))
        value += "<bad count word>";
    VekTextFree(text);
    return value;
}
inline std::string Show(char *text) {
    return Take(text).value_or(kNull);
}
inline std::string Show(int32_t value) {
    return std::to_string(value);
}

struct ThreadError {
    int32_t code = 0;
    std::optional<std::string> source, description;
    bool operator==(const ThreadError &) const = default;
};
inline std::ostream &operator<<(std::ostream &out, const ThreadError &e) {
    return out << std::hex << static_cast<uint32_t>(e.code) << std::dec << " "
               << e.source.value_or("-") << ": " << e.description.value_or("-");
}
inline ThreadError LastError() {
    return {ZamGetLastError(), Take(ZamGetLastErrorSourceA()), Take(ZamGetLastErrorDescriptionA())};
}

constexpr int32_t Code(uint32_t bits) {
    return static_cast<int32_t>(bits);
}
inline ThreadError Failure(uint32_t code, const char *source, std::string description) {
    return {Code(code), source, std::move(description)};
}

struct Case {
    const char *call;
    std::function<std::string()> run;
    std::string result;
    std::optional<ThreadError> error;
};
#define ISTR_ROW(call, result, error) \
    istr_test::Case(                  \
        #call, [] { return Show(call); }, result, error)
inline const std::optional<ThreadError> kNoError;

inline void RunCases(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        SCOPED_TRACE(c.call);
        ZamSetErrorInfoA(0x22097777, "Test.Sentinel", "sentinel", nullptr, nullptr, 0, nullptr);
        const ThreadError sentinel = LastError();
        EXPECT_EQ(c.run(), c.result);
        EXPECT_EQ(LastError(), c.error.value_or(sentinel));
    }
}

}  // namespace istr_test
