#include "script/script_line.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace daxhost {

namespace {

constexpr std::string_view kKeepError = "keep-error";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c);
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a call line from left to right. The first error found stops the reading;
// every later step then fails quietly, so that the message names the first fault.
class LineReader {
  public:
    explicit LineReader(std::string_view line) : line_(line) {}

    bool Failed() const { return !error_.empty(); }
    const std::string &Error() const { return error_; }

    CallLine ReadCall() {
        CallLine call;
        SkipBlanks();
        call.keep_error = ReadKeepError();
        call.target = ReadTarget();
        call.export_name = ReadName("an export name");
        Expect('(');
        call.arguments = ReadArguments();
        SkipBlanks();
        if (!Failed() && !AtEnd())
            Fail("unexpected text after ')'");
        return call;
    }

  private:
    bool AtEnd() const { return pos_ >= line_.size(); }
    char Peek() const { return AtEnd() ? '\0' : line_[pos_]; }

    void SkipBlanks() {
        while (!AtEnd() && IsBlank(line_[pos_]))
            ++pos_;
    }

    void Fail(std::string_view what) {
        if (!Failed())
            error_ = "column " + std::to_string(pos_ + 1) + ": " + std::string(what);
    }

    void Expect(char c) {
        SkipBlanks();
        if (Peek() == c)
            ++pos_;
        else
            Fail(std::string("expected '") + c + "'");
    }

    bool ReadKeepError() {
        const std::string_view rest = line_.substr(pos_);
        if (!rest.starts_with(kKeepError) || rest.size() == kKeepError.size() ||
            !IsBlank(rest[kKeepError.size()]))
            return false;
        pos_ += kKeepError.size();
        SkipBlanks();
        return true;
    }

    std::string ReadName(std::string_view what) {
        if (Failed())
            return {};
        if (!IsNameStart(Peek())) {
            Fail("expected " + std::string(what));
            return {};
        }
        const size_t start = pos_;
        while (IsNameChar(Peek()))
            ++pos_;
        return std::string(line_.substr(start, pos_ - start));
    }

    // `[$]name =` before the export name, when present.
    std::string ReadTarget() {
        const size_t start = pos_;
        const bool dollar = Peek() == '$';
        pos_ += dollar ? 1 : 0;
        std::string name = ReadName("a variable name");
        SkipBlanks();
        if (!Failed() && Peek() == '=') {
            ++pos_;
            SkipBlanks();
            return name;
        }
        if (dollar) {
            Fail("expected '=' after the variable name");
            return {};
        }
        error_.clear();
        pos_ = start;
        return {};
    }

    std::vector<Argument> ReadArguments() {
        std::vector<Argument> arguments;
        SkipBlanks();
        if (Peek() == ')') {
            ++pos_;
            return arguments;
        }
        while (!Failed()) {
            SkipBlanks();
            arguments.push_back(ReadArgument());
            SkipBlanks();
            if (Peek() == ')') {
                ++pos_;
                break;
            }
            if (Peek() != ',')
                Fail("expected ',' or ')'");
            ++pos_;
        }
        return arguments;
    }

    Argument ReadArgument() {
        const char c = Peek();
        if (c == '"')
            return {ArgumentForm::kText, ReadQuoted(), 0};
        if (c == '$') {
            ++pos_;
            return {ArgumentForm::kVariable, ReadName("a variable name"), 0};
        }
        if (c == '-' || IsDigit(c))
            return {ArgumentForm::kInteger, {}, ReadInteger()};
        return ReadWord();
    }

    Argument ReadWord() {
        const size_t start = pos_;
        const std::string word = ReadName("an argument");
        if (word == "null")
            return {ArgumentForm::kNull, {}, 0};
        if (word == "out")
            return {ArgumentForm::kOut, {}, 0};
        if (!Failed()) {
            pos_ = start;
            Fail("unknown word '" + word +
                 "' (an argument is a text, an integer, null, out or $name)");
        }
        return {};
    }

    std::string ReadQuoted() {
        ++pos_;  // the opening quote
        std::string bytes;
        while (!Failed()) {
            if (AtEnd()) {
                Fail("the text has no closing quote");
            } else if (Peek() == '"') {
                ++pos_;
                break;
            } else if (Peek() == '\\') {
                bytes += ReadEscape();
            } else {
                bytes += line_[pos_++];
            }
        }
        return bytes;
    }

    // An escape; a faulty one is reported at its backslash.
    char ReadEscape() {
        const size_t backslash = pos_++;
        const char c = Peek();
        if (AtEnd()) {
            Fail("the text has no closing quote");
            return '\0';
        }
        const char byte = c == 'x' ? ReadHexEscape() : SimpleEscape(c);
        if (Failed())
            return '\0';
        if (byte == '\0') {
            pos_ = backslash;
            Fail(c == 'x' ? "a text cannot hold a zero byte"
                          : std::string("unknown escape '\\") + c + "'");
        }
        return byte;
    }

    // The byte of a one-letter escape, or 0 for an unknown one.
    char SimpleEscape(char c) {
        ++pos_;
        switch (c) {
            case 'n':
                return '\n';
            case 't':
                return '\t';
            case 'r':
                return '\r';
            case '\\':
            case '"':
            case '\'':
                return c;
            default:
                return '\0';
        }
    }

    char ReadHexEscape() {
        const size_t backslash = pos_ - 1;
        ++pos_;  // the 'x'
        const int high = HexValue(Peek());
        const int low = pos_ + 1 < line_.size() ? HexValue(line_[pos_ + 1]) : -1;
        if (high < 0 || low < 0) {
            pos_ = backslash;
            Fail("\\x needs two hexadecimal digits");
            return '\0';
        }
        pos_ += 2;
        return static_cast<char>(high * 16 + low);
    }

    int32_t ReadInteger() {
        const size_t start = pos_;
        const bool hex =
            line_.substr(pos_).starts_with("0x") || line_.substr(pos_).starts_with("0X");
        pos_ += hex ? 2 : 0;
        int64_t value = 0;
        const char *first = line_.data() + pos_;
        const char *last = line_.data() + line_.size();
        const auto [end, status] = std::from_chars(first, last, value, hex ? 16 : 10);
        pos_ += static_cast<size_t>(end - first);
        if (status != std::errc() || IsNameChar(Peek()) || (hex && value < 0) ||
            value < INT32_MIN || value > int64_t{UINT32_MAX}) {
            pos_ = start;
            Fail("not an integer of 32 bits");
            return 0;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }

    std::string_view line_;
    size_t pos_ = 0;
    std::string error_;
};

bool IsPassThrough(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

}  // namespace

ParsedLine ParseScriptLine(std::string_view line) {
    ParsedLine parsed;
    if (IsPassThrough(line))
        return parsed;
    LineReader reader(line);
    parsed.call = reader.ReadCall();
    parsed.kind = reader.Failed() ? LineKind::kMalformed : LineKind::kCall;
    parsed.error = reader.Error();
    return parsed;
}

}  // namespace daxhost
