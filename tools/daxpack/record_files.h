// The record files that daxpack reads and writes: one record text per line, or a
// JSON array of objects whose members become the record's `name=value` items.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace daxpack {

// Lines of a text (a final line break ends the last line; "\r\n" counts as one).
std::vector<std::string> RecordsFromLines(std::string_view text);
// One record to a line; false with `error` set when a record holds a line break.
bool LinesFromRecords(const std::vector<std::string> &records, std::string &text,
                      std::string &error);

// A JSON array of objects as record texts: texts stay as they are, numbers are
// written as in the JSON text, true / false as "True" / "False", null as the empty
// text. Texts are Latin-1 (code points up to U+00FF). False with `error` set.
bool RecordsFromJson(std::string_view text, std::vector<std::string> &records, std::string &error);
// Record texts as a JSON array of objects with text members.
bool JsonFromRecords(const std::vector<std::string> &records, std::string &text,
                     std::string &error);

// Whole files. False with `error` set.
bool ReadWholeFile(const std::string &path, std::string &contents, std::string &error);
bool WriteWholeFile(const std::string &path, std::string_view contents, std::string &error);

}  // namespace daxpack
