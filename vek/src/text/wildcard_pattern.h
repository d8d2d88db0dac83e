// Wildcard patterns compiled to a list of character classes (tokens), each taken
// once or repeated any number of times. Matching tracks every token position at once
// as one bit of a state word per position (shift-and), so one character of text
// costs a few word operations per 64 positions, and no pattern can make a match take
// more than text x pattern steps.
#pragma once

#include <cstddef>
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

// A compiled pattern. Position i of the state stands for "token i comes next"; the
// position after the last token is the accepting one. The tables hold, for every
// byte value, the positions whose token accepts it.
//
// No two repeating tokens are ever adjacent (a run next to another repeating token
// absorbs it), so the positions that a repeating token may skip are reached in one
// step: that keeps every character of text at a fixed number of word operations.
class Program {
  public:
    // Empties the program and makes room for `positions` tokens.
    void Reset(size_t positions, bool ignore_case);
    // Token `position` accepts the bytes low..high (and, ignoring case, the other
    // case of the letters among them).
    void Accept(size_t position, unsigned char low, unsigned char high);
    void AcceptAny(size_t position);
    void SetRepeats(size_t position);
    // Makes the tokens 0..positions-1 the program; called once after the last token.
    void Finish(size_t positions);

    // Whether the whole text matches the whole program. Const, and keeps no state
    // between calls: one program may be matched from several threads at once.
    bool Matches(std::string_view text) const;

  private:
    uint64_t *Row(size_t row) { return bits_.data() + row * words_; }
    const uint64_t *Row(size_t row) const { return bits_.data() + row * words_; }
    void Set(size_t row, size_t position) {
        Row(row)[position / 64] |= uint64_t{1} << (position % 64);
    }
    template <bool kEndsWithRun>
    bool MatchesInOneWord(std::string_view text) const;
    bool MatchesInWords(std::string_view text) const;

    static constexpr size_t kAnyRow = 256;      // positions that accept every byte
    static constexpr size_t kRepeatsRow = 257;  // positions whose token repeats
    static constexpr size_t kRows = 258;

    bool ignore_case_ = false;
    size_t positions_ = 0;
    size_t words_ = 1;
    size_t min_length_ = 0;       // tokens taken exactly once
    bool fixed_length_ = true;    // no token repeats
    bool ends_with_run_ = false;  // the last token takes any run: reaching it decides
    std::vector<uint64_t> bits_;  // kRows rows of words_ words
};

// Compiles `pattern`; 0, or a failure status (set for `function`) when a set is
// unclosed, empty or holds a reversed range.
int32_t Compile(std::string_view pattern, const Descriptor &descriptor, bool ignore_case,
                Program &program, const char *function);

// Whether the whole text matches the whole program.
inline bool Matches(const Program &program, std::string_view text) {
    return program.Matches(text);
}

}  // namespace vek::wildcard
