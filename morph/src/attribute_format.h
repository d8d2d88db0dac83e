// The formatted text of attribute values, both ways. The kind of the value decides
// the format:
// - no value (empty, null): the empty text;
// - 32-bit and 64-bit integers: decimal, an optional sign, no blanks;
// - Booleans: "True" / "False" (read in any case; "1" and "0" read too);
// - dates: ISO 8601 "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss" (read also with 'T');
// - texts (8-bit and wide): the characters themselves, wide text as Latin-1;
// - blobs: the canonical IString of the bytes (read: any valid IString).
// Reading is stricter than the support library's casts where a loose reading would
// break round trips: the empty text is no number, Boolean or date.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vek64_store.h"

namespace morph {

// Owns one support-library variant.
class OwnedVariant {
  public:
    OwnedVariant() { VekVarInit(&value_); }
    OwnedVariant(const OwnedVariant &) = delete;
    OwnedVariant &operator=(const OwnedVariant &) = delete;
    ~OwnedVariant() { VekVarClear(&value_); }
    VEKVARIANT *Get() { return &value_; }
    const VEKVARIANT &operator*() const { return value_; }

  private:
    VEKVARIANT value_;
};

// The text of `value` of the attribute `attribute`. 0 or a failure status
// (0xE2040003 for a kind without text form, such as an object; the thread's error
// information set with the source "Morph.FormatTGetA").
int32_t FormatAttributeValue(const VEKVARIANT &value, std::string_view attribute,
                             std::string &text);

// In `parsed` (empty on entry) the value that `text` stands for, of the kind of
// `current` (8-bit text when `current` holds no value). 0 or a failure status
// (0xE2040023 with the text and the kind named; source "Morph.FormatTSetA").
int32_t ParseAttributeValue(std::string_view text, const VEKVARIANT &current, VEKVARIANT &parsed);

}  // namespace morph
