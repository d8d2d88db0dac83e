#include "wildcard_pattern.h"

#include <string>

#include "ascii_case.h"
#include "failure.h"
#include "vek64.h"

namespace vek::wildcard {

namespace {

constexpr size_t kQuotedLimit = 100;

std::bitset<256> Single(unsigned char c) {
    std::bitset<256> set;
    set.set(c);
    return set;
}

std::bitset<256> Digits() {
    std::bitset<256> set;
    for (unsigned char c = '0'; c <= '9'; ++c)
        set.set(c);
    return set;
}

// Adds the other case of every ASCII letter in the set.
void FoldCase(std::bitset<256> &set) {
    for (unsigned char c = 'a'; c <= 'z'; ++c) {
        const unsigned char upper = AsciiUpper(c);
        if (set.test(c) || set.test(upper)) {
            set.set(c);
            set.set(upper);
        }
    }
}

int32_t Malformed(std::string_view pattern, size_t offset, const char *problem,
                  const char *function) {
    const std::string quoted(pattern.substr(0, kQuotedLimit));
    return Fail(VEK_E_INVALIDARG, function, "Malformed pattern \"%s\"%s: %s at offset %llu",
                quoted.c_str(), pattern.size() > kQuotedLimit ? "..." : "", problem,
                static_cast<unsigned long long>(offset));
}

struct SetSyntax {
    unsigned char close;
    unsigned char range;
};

// Reads the members of a set that starts at `open` (the opening character) up to its
// closing character; `end` receives the position after it. A range mark stands for
// itself when nothing but the closing character follows it.
int32_t ParseSet(std::string_view pattern, size_t open, const SetSyntax &syntax,
                 std::bitset<256> &set, size_t &end, const char *function) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(pattern[i]); };
    size_t i = open + 1;
    while (i < pattern.size() && at(i) != syntax.close) {
        const unsigned char low = at(i);
        if (syntax.range != 0 && i + 2 < pattern.size() && at(i + 1) == syntax.range &&
            at(i + 2) != syntax.close) {
            const unsigned char high = at(i + 2);
            if (high < low)
                return Malformed(pattern, i, "reversed range", function);
            for (unsigned c = low; c <= high; ++c)
                set.set(c);
            i += 3;
        } else {
            set.set(low);
            ++i;
        }
    }
    if (i >= pattern.size())
        return Malformed(pattern, open, "unclosed set", function);
    if (set.none())
        return Malformed(pattern, open, "empty set", function);
    end = i + 1;
    return 0;
}

bool Is(unsigned char c, unsigned char feature) {
    return feature != 0 && c == feature;
}

}  // namespace

Descriptor Descriptor::From(const void *bytes) {
    static constexpr unsigned char kStandard[36] = {0,   0,   0,   0,   0,   '?', '*', 0,
                                                    '{', '~', '-', '}', '#', 0,   '<', '>'};
    const auto *b = bytes != nullptr ? static_cast<const unsigned char *>(bytes) : kStandard;
    Descriptor d;
    d.one = b[5];
    d.run = b[6];
    if (b[8] != 0 && b[11] != 0) {
        d.set_open = b[8];
        d.set_close = b[11];
    }
    d.range = b[10];
    d.number = b[12];
    if (b[14] != 0 && b[15] != 0) {
        d.many_open = b[14];
        d.many_close = b[15];
    }
    return d;
}

int32_t Compile(std::string_view pattern, const Descriptor &descriptor, bool ignore_case,
                Program &program, const char *function) {
    std::bitset<256> any;
    any.set();
    program.clear();
    program.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size();) {
        const auto c = static_cast<unsigned char>(pattern[i]);
        Token token;
        size_t next = i + 1;
        if (Is(c, descriptor.one)) {
            token.accepts = any;
        } else if (Is(c, descriptor.run)) {
            token.accepts = any;
            token.repeats = true;
        } else if (Is(c, descriptor.number)) {
            token.accepts = Digits();
        } else if (Is(c, descriptor.set_open) || Is(c, descriptor.many_open)) {
            const bool many = Is(c, descriptor.many_open) && !Is(c, descriptor.set_open);
            const SetSyntax syntax{many ? descriptor.many_close : descriptor.set_close,
                                   descriptor.range};
            if (int32_t status = ParseSet(pattern, i, syntax, token.accepts, next, function))
                return status;
        } else {
            token.accepts = Single(c);
        }
        if (ignore_case)
            FoldCase(token.accepts);
        program.push_back(token);
        // "One or more" is one character followed by any number of further ones.
        if (Is(c, descriptor.number) ||
            (Is(c, descriptor.many_open) && !Is(c, descriptor.set_open))) {
            token.repeats = true;
            program.push_back(token);
        }
        i = next;
    }
    return 0;
}

}  // namespace vek::wildcard
