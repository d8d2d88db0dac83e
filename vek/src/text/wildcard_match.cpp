// Wildcard matching: the token positions reachable after each character of the
// text are tracked together as bits, one pass over the text.
#include <algorithm>

#include "text/wildcard_pattern.h"

namespace vek::wildcard {

void Program::Reset(size_t positions, bool ignore_case) {
    ignore_case_ = ignore_case;
    positions_ = 0;
    // One bit more than there are tokens: the accepting position.
    words_ = positions / 64 + 1;
    bits_.assign(kRows * words_, 0);
}

void Program::Accept(size_t position, unsigned char low, unsigned char high) {
    uint64_t *column = bits_.data() + position / 64;
    const uint64_t bit = uint64_t{1} << (position % 64);
    auto accept = [&](unsigned from, unsigned to, int shift) {
        for (unsigned c = from; c <= to; ++c)
            column[(c + shift) * words_] |= bit;
    };
    accept(low, high, 0);
    if (!ignore_case_)
        return;
    // The other case of the letters in the range.
    constexpr int kCaseDistance = 'a' - 'A';
    accept(std::max<unsigned>(low, 'a'), std::min<unsigned>(high, 'z'), -kCaseDistance);
    accept(std::max<unsigned>(low, 'A'), std::min<unsigned>(high, 'Z'), kCaseDistance);
}

void Program::AcceptAny(size_t position) {
    Set(kAnyRow, position);
}

void Program::SetRepeats(size_t position) {
    Set(kRepeatsRow, position);
}

void Program::Finish(size_t positions) {
    positions_ = positions;
    const uint64_t *repeats = Row(kRepeatsRow);
    size_t repeating = 0;
    for (size_t w = 0; w < words_; ++w)
        repeating += static_cast<size_t>(__builtin_popcountll(repeats[w]));
    min_length_ = positions - repeating;
    fixed_length_ = repeating == 0;
    if (positions > 0) {
        const size_t last = positions - 1;
        const uint64_t bit = uint64_t{1} << (last % 64);
        ends_with_run_ = (repeats[last / 64] & bit) != 0 && (Row(kAnyRow)[last / 64] & bit) != 0;
    } else {
        ends_with_run_ = false;
    }
    // Matching reads one row per character: tokens that take any byte join every row.
    if (words_ == 1) {
        const uint64_t any = bits_[kAnyRow];
        for (size_t c = 0; c < 256; ++c)
            bits_[c] |= any;
        return;
    }
    const uint64_t *any = Row(kAnyRow);
    for (size_t c = 0; c < 256; ++c) {
        uint64_t *row = Row(c);
        for (size_t w = 0; w < words_; ++w)
            row[w] |= any[w];
    }
}

bool Program::Matches(std::string_view text) const {
    if (text.size() < min_length_ || (fixed_length_ && text.size() != positions_))
        return false;
    if (words_ > 1)
        return MatchesInWords(text);
    return ends_with_run_ ? MatchesInOneWord<true>(text) : MatchesInOneWord<false>(text);
}

// One character of text. `taken` holds the positions whose token accepts it: each
// moves on one position (a repeating token also stays where it is), and a repeating
// token reached that way may be skipped at once. Moving on from a repeating token is
// that same skip, so it needs no case of its own.
//
// Up to 63 tokens: the whole state in one word. `decided` is the position of a
// final run: once it is reachable, whatever follows matches.
template <bool kEndsWithRun>
bool Program::MatchesInOneWord(std::string_view text) const {
    const uint64_t *rows = bits_.data();
    const uint64_t repeats = rows[kRepeatsRow];
    const uint64_t decided = kEndsWithRun ? uint64_t{1} << (positions_ - 1) : 0;
    uint64_t state = 1 | ((1 & repeats) << 1);
    for (const char c : text) {
        if (kEndsWithRun && (state & decided) != 0)
            return true;
        const uint64_t taken = state & rows[static_cast<unsigned char>(c)];
        const uint64_t moved = taken << 1;
        state = moved | (taken & repeats) | ((moved & repeats) << 1);
        if (state == 0)
            return false;
    }
    return (state & (uint64_t{1} << positions_)) != 0;
}

// Longer patterns: the same step over a state of several words, carrying the bits
// shifted out of one word into the next.
bool Program::MatchesInWords(std::string_view text) const {
    const uint64_t *repeats = Row(kRepeatsRow);
    const size_t decided = ends_with_run_ ? positions_ - 1 : SIZE_MAX;
    std::vector<uint64_t> state(words_, 0);
    state[0] = 1 | ((1 & repeats[0]) << 1);
    auto has = [&state](size_t position) {
        return (state[position / 64] >> (position % 64) & 1) != 0;
    };
    for (const char c : text) {
        if (decided != SIZE_MAX && has(decided))
            return true;
        const uint64_t *row = Row(static_cast<unsigned char>(c));
        uint64_t moved_carry = 0;
        uint64_t skipped_carry = 0;
        uint64_t alive = 0;
        for (size_t w = 0; w < words_; ++w) {
            const uint64_t taken = state[w] & row[w];
            const uint64_t moved = (taken << 1) | moved_carry;
            const uint64_t skipping = moved & repeats[w];
            state[w] = moved | (taken & repeats[w]) | (skipping << 1) | skipped_carry;
            moved_carry = taken >> 63;
            skipped_carry = skipping >> 63;
            alive |= state[w];
        }
        if (alive == 0)
            return false;
    }
    return has(positions_);
}

}  // namespace vek::wildcard
