#include "input_mask.h"

namespace morph {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// One place of a mask: which characters it takes and whether it may match nothing.
struct Place {
    bool (*fits)(char c, char literal);
    bool optional;
    char literal;
};

bool FitsDigit(char c, char) {
    return IsDigit(c);
}
bool FitsLetter(char c, char) {
    return IsLetter(c);
}
bool FitsAlphanumeric(char c, char) {
    return IsDigit(c) || IsLetter(c);
}
bool FitsAny(char, char) {
    return true;
}
bool FitsLiteral(char c, char literal) {
    return c == literal;
}

Place PlaceOf(char code) {
    switch (code) {
        case '0':
            return {FitsDigit, false, 0};
        case '9':
            return {FitsDigit, true, 0};
        case 'L':
            return {FitsLetter, false, 0};
        case '?':
            return {FitsLetter, true, 0};
        case 'A':
            return {FitsAlphanumeric, false, 0};
        case 'a':
            return {FitsAlphanumeric, true, 0};
        case '&':
            return {FitsAny, false, 0};
        case 'C':
            return {FitsAny, true, 0};
        default:
            return {FitsLiteral, false, code};
    }
}

bool WellFormed(std::string_view mask) {
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '\\' && ++i == mask.size())
            return false;
    }
    return true;
}

}  // namespace

MaskOutcome MatchInputMask(std::string_view value, std::string_view mask) {
    if (!WellFormed(mask))
        return MaskOutcome::kMalformed;
    size_t at = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        const Place place =
            mask[i] == '\\' ? Place{FitsLiteral, false, mask[++i]} : PlaceOf(mask[i]);
        const bool fits = at < value.size() && place.fits(value[at], place.literal);
        if (fits)
            ++at;
        else if (!place.optional)
            return MaskOutcome::kMismatch;
    }
    return at == value.size() ? MaskOutcome::kMatch : MaskOutcome::kMismatch;
}

}  // namespace morph
