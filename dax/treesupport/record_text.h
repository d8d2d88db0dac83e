// Packed record texts: records that follow each other directly, each a header of six
// decimal digits giving the length L of its text, then L characters of text (a
// property list with ";" between items). There is no trailer.
//
// A header is read only while at least one character follows it, so a text of six
// characters or fewer holds no record, and a header ending exactly at the end of
// the text is ignored. A header that is not six decimal digits, or a length that
// runs past the end of the text, is refused with VEK_E_BADDATA naming the record's
// 1-based position: no record is ever read from outside the text.
#pragma once

#include <functional>
#include <string_view>

namespace Ostrel::Zam {

// Calls `each` with every record's text, in order. Raises on a malformed record
// (from `source`); records before it have been handed to `each` already.
void ForEachRecord(std::string_view text, const char *source,
                   const std::function<void(std::string_view)> &each);

}  // namespace Ostrel::Zam
