// Texts as scripts and transcripts write them: C escapes for the bytes that
// would not survive on a line of their own.
#pragma once

#include <string>
#include <string_view>

namespace daxhost {

// The bytes as a quoted text: `"`, `\` and the bytes outside 0x20..0x7E are
// escaped (\" \\ \n \t \r, else \xHH with exactly two upper-case digits).
std::string QuoteText(std::string_view bytes);

// The bytes for the rest of a line (error descriptions): only the bytes outside
// 0x20..0x7E are escaped, so quotes and backslashes read as they are.
std::string EscapeControls(std::string_view bytes);

}  // namespace daxhost
