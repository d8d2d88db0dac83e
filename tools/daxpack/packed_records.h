// Packed records: what DaxUnpackTree reads. Unpacked, the data is a run of records,
// each a 6-digit decimal length L (zero-padded) followed by L characters of record
// text, a property list written as `name=value` items separated by ";" (the property
// text syntax of the support library). The run is packed as a zlib stream.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace daxpack {

// The longest record text a 6-digit header can announce.
inline constexpr size_t kMaxRecordLength = 999999;

// Packs record texts; false with `error` set when a record is too long or packing
// fails.
bool PackRecords(const std::vector<std::string> &records, std::string &packed, std::string &error);

// Unpacks packed data into record texts; false with `error` set for data that is not
// sound (also a header that is no number or announces more than follows).
bool UnpackRecords(std::string_view packed, std::vector<std::string> &records, std::string &error);

// The support library's description of its last failure.
std::string LastVekError();

}  // namespace daxpack
