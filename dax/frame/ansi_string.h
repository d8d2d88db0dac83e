// The 8-bit text class: its buffer is a counted text of the support library, so it
// can be handed to a caller as it is. No buffer is kept for the empty text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Ostrel::Zam {

// The most characters a counted text holds: its block of at most 0x7FFFFFF0 bytes
// ends in a zero byte. A result known to be longer is refused before it is built.
inline constexpr size_t kLongestText = 0x7FFFFFEF;

class AnsiString {
  public:
    AnsiString() = default;
    explicit AnsiString(std::string_view text) { Assign(text); }
    AnsiString(const AnsiString &other) { Assign(other.View()); }
    AnsiString(AnsiString &&other) noexcept : buffer_(other.buffer_) { other.buffer_ = nullptr; }
    AnsiString &operator=(const AnsiString &other);
    AnsiString &operator=(AnsiString &&other) noexcept;
    ~AnsiString();

    // Takes over a counted text of the support library (null is the empty text).
    static AnsiString Adopt(char *counted_text);
    // Copies a zero-terminated argument text; null is the empty text.
    static AnsiString FromArgument(const char *text);

    void Assign(std::string_view text);
    AnsiString &operator+=(std::string_view text);

    std::string_view View() const;
    std::string Str() const { return std::string(View()); }
    // Never null: the empty text is "".
    const char *CStr() const { return buffer_ != nullptr ? buffer_ : ""; }
    size_t Length() const { return View().size(); }
    bool Empty() const { return buffer_ == nullptr; }

    // Address for a function that hands out a counted text; releases the held one.
    char **Out();
    // Hands the buffer over (null for the empty text); the string becomes empty.
    char *Release();

  private:
    char *buffer_ = nullptr;
};

}  // namespace Ostrel::Zam
