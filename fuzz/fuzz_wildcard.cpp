// Wildcard patterns against a small reference matcher written here. Patterns are
// built from the input in the standard descriptor's syntax: literals, '?' (one
// character), '*' (any run), '#' (one or more digits), "{...}" (one character of a
// set of characters and ranges x-y) and "<...>" (one or more characters of such a
// set); texts come from a small alphabet so that matches are frequent. The
// one-call matching and the compiled pattern must both answer as the reference,
// with and without ignoring case. Raw input is also matched as pattern and text
// (any answer, but no crash and a failure that equals the thread's error).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "vek64_store.h"

namespace {

constexpr std::string_view kAlphabet = "aAbBzZ09_.x-";
constexpr uint32_t kIgnoreCase = 1;

struct Token {
    enum Kind { kLiteral, kOne, kRun, kNumber, kSet, kMany } kind;
    std::vector<std::pair<char, char>> ranges;  // literal: one range x-x
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Accepts(const Token &token, char c, bool ignore_case) {
    switch (token.kind) {
        case Token::kOne:
        case Token::kRun:
            return true;
        case Token::kNumber:
            return c >= '0' && c <= '9';
        default:
            for (const auto &[low, high] : token.ranges) {
                if (c >= low && c <= high)
                    return true;
                if (ignore_case && ((Lower(c) >= low && Lower(c) <= high) ||
                                    (Upper(c) >= low && Upper(c) <= high)))
                    return true;
            }
            return false;
    }
}

// Whether the text matches the tokens as a whole: a table over (token, position),
// filled from the end.
bool Reference(const std::vector<Token> &tokens, std::string_view text, bool ignore_case) {
    const size_t n = text.size();
    std::vector<std::vector<char>> match(tokens.size() + 1, std::vector<char>(n + 1, 0));
    match[tokens.size()][n] = 1;
    for (size_t t = tokens.size(); t-- > 0;) {
        const Token &token = tokens[t];
        const bool repeats =
            token.kind == Token::kRun || token.kind == Token::kNumber || token.kind == Token::kMany;
        for (size_t j = n + 1; j-- > 0;) {
            bool m = false;
            if (token.kind == Token::kRun)
                m = match[t + 1][j] || (j < n && match[t][j + 1]);
            else if (j < n && Accepts(token, text[j], ignore_case))
                m = match[t + 1][j + 1] || (repeats && match[t][j + 1]);
            match[t][j] = m;
        }
    }
    return match[0][0] != 0;
}

class Reader {
  public:
    Reader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    char Letter() { return kAlphabet[Next() % kAlphabet.size()]; }

  private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

// A set's text and ranges: one to three members, each a letter or a range x-y
// (x <= y), and now and then a '-' just before the closing character.
void ReadSet(Reader &in, Token &token, std::string &pattern, char open, char close) {
    pattern += open;
    const int members = 1 + in.Next() % 3;
    for (int i = 0; i < members; ++i) {
        char low = in.Letter(), high = in.Letter();
        if (low == '-')
            low = 'x';
        if (high == '-')
            high = 'x';
        if (high < low)
            std::swap(low, high);
        if (in.Next() % 2) {
            pattern += low;
            pattern += '-';
            pattern += high;
            token.ranges.emplace_back(low, high);
        } else {
            pattern += low;
            token.ranges.emplace_back(low, low);
        }
    }
    // A range mark just before the closing character stands for itself.
    if (in.Next() % 4 == 0) {
        pattern += '-';
        token.ranges.emplace_back('-', '-');
    }
    pattern += close;
}

void CheckAgainstReference(Reader &in, uint32_t options) {
    std::string pattern;
    std::vector<Token> tokens;
    const size_t count = in.Next() % 12;
    for (size_t i = 0; i < count; ++i) {
        Token token{Token::kLiteral, {}};
        switch (in.Next() % 9) {
            case 5:
                token.kind = Token::kOne;
                pattern += '?';
                break;
            case 6:
                token.kind = Token::kRun;
                pattern += '*';
                break;
            case 7:
                token.kind = Token::kNumber;
                pattern += '#';
                break;
            case 8:
                token.kind = in.Next() % 2 ? Token::kSet : Token::kMany;
                if (token.kind == Token::kSet)
                    ReadSet(in, token, pattern, '{', '}');
                else
                    ReadSet(in, token, pattern, '<', '>');
                break;
            default: {
                const char c = in.Letter();
                pattern += c;
                token.ranges.emplace_back(c, c);
            }
        }
        tokens.push_back(token);
    }
    void *compiled =
        VekWildcardCompileA(pattern.data(), static_cast<int32_t>(pattern.size()), options, nullptr);
    fuzz::Check(compiled != nullptr, "pattern refused: " + pattern);
    while (in.More()) {
        std::string text;
        const size_t length = in.Next() % 24;
        for (size_t i = 0; i < length; ++i)
            text += in.Letter();
        const int32_t expected = Reference(tokens, text, options & kIgnoreCase) ? 0 : 1;
        const int32_t once =
            VekStrnWCompA(text.data(), static_cast<int32_t>(text.size()), pattern.data(),
                          static_cast<int32_t>(pattern.size()), options, nullptr);
        const int32_t many =
            VekWildcardMatchA(compiled, text.data(), static_cast<int32_t>(text.size()));
        fuzz::Check(once == expected && many == expected,
                    "pattern " + pattern + " text " + text + ": " + std::to_string(once) + "/" +
                        std::to_string(many) + " instead of " + std::to_string(expected));
    }
    VekWildcardFree(compiled);
}

void CheckRaw(std::string_view data) {
    const size_t cut = data.find('\0');
    const std::string pattern(data.substr(0, cut));
    const std::string text(cut == std::string_view::npos ? std::string_view()
                                                         : data.substr(cut + 1));
    for (uint32_t options : {0u, kIgnoreCase}) {
        const int32_t result = fuzz::CheckedInteger("VekStrnWCompA", [&] {
            return VekStrnWCompA(text.data(), static_cast<int32_t>(text.size()), pattern.data(),
                                 static_cast<int32_t>(pattern.size()), options, nullptr);
        });
        fuzz::Check(result <= 1, "VekStrnWCompA answered " + std::to_string(result));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1 || size > 2048)
        return 0;
    Reader in(data + 1, size - 1);
    CheckAgainstReference(in, data[0] & 1 ? kIgnoreCase : 0);
    CheckRaw(std::string_view(reinterpret_cast<const char *>(data + 1), size - 1));
    return 0;
}
