// Wildcard patterns compiled to a list of character classes, each taken once or
// repeated any number of times. Matching then simulates all pattern positions at
// once over the text, so no pattern can make it take more than text x pattern steps.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vek::wildcard {

// The pattern characters of a descriptor; zero switches a feature off.
struct Descriptor {
    unsigned char one = 0;         // any single character
    unsigned char run = 0;         // any run of characters, the empty one included
    unsigned char set_open = 0;    // a set of single characters...
    unsigned char set_close = 0;   // ...closed by this
    unsigned char range = 0;       // x-y inside sets
    unsigned char number = 0;      // one or more decimal digits
    unsigned char many_open = 0;   // a set matching one or more characters...
    unsigned char many_close = 0;  // ...closed by this

    // Reads a 36-byte descriptor; null gives the standard one.
    static Descriptor From(const void *bytes);
};

struct Token {
    std::bitset<256> accepts;
    bool repeats = false;  // taken zero or more times instead of exactly once
};

using Program = std::vector<Token>;

// Compiles `pattern`; 0, or a failure status (set for `function`) when a set is
// unclosed, empty or holds a reversed range.
int32_t Compile(std::string_view pattern, const Descriptor &descriptor, bool ignore_case,
                Program &program, const char *function);

// Whether the whole text matches the whole program.
bool Matches(const Program &program, std::string_view text);

}  // namespace vek::wildcard
