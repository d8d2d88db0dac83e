#include "text/wildcard_pattern.h"

#include <string>

#include "errors/failure.h"
#include "vek64.h"

namespace vek::wildcard {

namespace {

constexpr size_t kQuotedLimit = 100;

int32_t Malformed(std::string_view pattern, size_t offset, const char *problem,
                  const char *function) {
    const std::string quoted(pattern.substr(0, kQuotedLimit));
    return Fail(VEK_E_INVALIDARG, function, "Malformed pattern \"%s\"%s: %s at offset %llu",
                quoted.c_str(), pattern.size() > kQuotedLimit ? "..." : "", problem,
                static_cast<unsigned long long>(offset));
}

bool Is(unsigned char c, unsigned char feature) {
    return feature != 0 && c == feature;
}

// Stands in for the program while a first pass checks the pattern and counts its
// tokens, so that the program's tables are sized once.
struct Counting {
    void Accept(size_t, unsigned char, unsigned char) {}
    void AcceptAny(size_t) {}
    void SetRepeats(size_t) {}
};

// Reads a pattern token by token into `Sink` (a Program, or Counting).
template <typename Sink>
class Parser {
  public:
    Parser(std::string_view pattern, const Descriptor &descriptor, Sink &sink, const char *function)
        : pattern_(pattern), d_(descriptor), sink_(sink), function_(function) {}

    // 0 or a failure status for a malformed pattern.
    int32_t Run() {
        for (size_t i = 0; i < pattern_.size();) {
            size_t next = i + 1;
            if (const int32_t status = Token(i, next))
                return status;
            i = next;
        }
        return 0;
    }

    size_t Positions() const { return positions_; }

  private:
    unsigned char At(size_t i) const { return static_cast<unsigned char>(pattern_[i]); }

    size_t NewToken(bool repeats) {
        const size_t position = positions_++;
        if (repeats)
            sink_.SetRepeats(position);
        last_repeats_ = repeats;
        return position;
    }

    // One token starting at `i`; `next` receives the position after it.
    int32_t Token(size_t i, size_t &next) {
        const unsigned char c = At(i);
        if (Is(c, d_.one)) {
            sink_.AcceptAny(NewToken(false));
        } else if (Is(c, d_.run)) {
            AnyRun();
        } else if (Is(c, d_.number)) {
            // "One or more" is one character followed by any number of further ones.
            sink_.Accept(NewToken(false), '0', '9');
            sink_.Accept(NewToken(true), '0', '9');
        } else if (Is(c, d_.set_open)) {
            return Set(i, d_.set_close, NewToken(false), next);
        } else if (Is(c, d_.many_open)) {
            if (const int32_t status = Set(i, d_.many_close, NewToken(false), next))
                return status;
            return Set(i, d_.many_close, NewToken(true), next);
        } else {
            sink_.Accept(NewToken(false), c, c);
        }
        return 0;
    }

    // A run right after a repeating token takes that token's place (a run before or
    // after any repetition matches what both together match), so repeating tokens
    // are never adjacent.
    void AnyRun() {
        if (last_repeats_)
            sink_.AcceptAny(positions_ - 1);
        else
            sink_.AcceptAny(NewToken(true));
    }

    // Reads the members of a set that starts at `open` (the opening character) up to
    // `close` into token `position`; `end` receives the position after it. A range
    // mark stands for itself when nothing but the closing character follows it.
    int32_t Set(size_t open, unsigned char close, size_t position, size_t &end) {
        size_t i = open + 1;
        size_t members = 0;
        while (i < pattern_.size() && At(i) != close) {
            const unsigned char low = At(i);
            if (d_.range != 0 && i + 2 < pattern_.size() && At(i + 1) == d_.range &&
                At(i + 2) != close) {
                const unsigned char high = At(i + 2);
                if (high < low)
                    return Malformed(pattern_, i, "reversed range", function_);
                sink_.Accept(position, low, high);
                i += 3;
            } else {
                sink_.Accept(position, low, low);
                ++i;
            }
            ++members;
        }
        if (i >= pattern_.size())
            return Malformed(pattern_, open, "unclosed set", function_);
        if (members == 0)
            return Malformed(pattern_, open, "empty set", function_);
        end = i + 1;
        return 0;
    }

    std::string_view pattern_;
    const Descriptor &d_;
    Sink &sink_;
    const char *function_;
    size_t positions_ = 0;
    bool last_repeats_ = false;
};

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
    Counting counting;
    Parser<Counting> check(pattern, descriptor, counting, function);
    if (const int32_t status = check.Run())
        return status;
    program.Reset(check.Positions(), ignore_case);
    Parser<Program> build(pattern, descriptor, program, function);
    build.Run();  // the same pattern again: it cannot fail now
    program.Finish(build.Positions());
    return 0;
}

}  // namespace vek::wildcard
