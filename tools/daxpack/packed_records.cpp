#include "packed_records.h"

#include <cstdio>
#include <memory>

#include "vek64.h"

namespace daxpack {

namespace {

constexpr size_t kHeaderLength = 6;

// Frees a counted array of the support library.
struct CountedFree {
    void operator()(void *array) const {
        void *owned = array;
        VekArrayClear_(&owned);
    }
};
using Counted = std::unique_ptr<void, CountedFree>;

bool ParseHeader(std::string_view header, size_t &length) {
    length = 0;
    for (const char c : header) {
        if (c < '0' || c > '9')
            return false;
        length = length * 10 + static_cast<size_t>(c - '0');
    }
    return true;
}

}  // namespace

std::string LastVekError() {
    char *description = ZamGetLastErrorDescriptionA();
    std::string text = description != nullptr ? description : "unknown failure";
    VekTextFree(description);
    return text;
}

bool PackRecords(const std::vector<std::string> &records, std::string &packed, std::string &error) {
    std::string run;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].size() > kMaxRecordLength) {
            error = "record " + std::to_string(i + 1) + " is longer than " +
                    std::to_string(kMaxRecordLength) + " characters";
            return false;
        }
        char header[kHeaderLength + 1];
        std::snprintf(header, sizeof header, "%06zu", records[i].size());
        run.append(header, kHeaderLength);
        run.append(records[i]);
    }
    if (run.size() > INT32_MAX) {
        error = "the records are too long to pack";
        return false;
    }
    void *output = nullptr;
    const int32_t size =
        VekCompressData(run.data(), static_cast<int32_t>(run.size()), &output, VEK_PACK_ZLIB, 9);
    const Counted owned(output);
    if (size < 0) {
        error = LastVekError();
        return false;
    }
    packed.assign(static_cast<const char *>(output), static_cast<size_t>(size));
    return true;
}

bool UnpackRecords(std::string_view packed, std::vector<std::string> &records, std::string &error) {
    if (packed.size() > INT32_MAX) {
        error = "the packed data is too long";
        return false;
    }
    void *output = nullptr;
    const int32_t size = VekDecompressData(packed.data(), static_cast<int32_t>(packed.size()),
                                           &output, VEK_PACK_ZLIB | VEK_PACK_AS_TEXT, -1);
    const Counted owned(output);
    if (size < 0) {
        error = LastVekError();
        return false;
    }
    const std::string_view run(static_cast<const char *>(output), static_cast<size_t>(size));
    size_t position = 0;
    while (position < run.size()) {
        size_t length = 0;
        if (run.size() - position < kHeaderLength ||
            !ParseHeader(run.substr(position, kHeaderLength), length) ||
            run.size() - position - kHeaderLength < length) {
            error = "record " + std::to_string(records.size() + 1) + " at offset " +
                    std::to_string(position) + " has no sound header";
            return false;
        }
        records.emplace_back(run.substr(position + kHeaderLength, length));
        position += kHeaderLength + length;
    }
    return true;
}

}  // namespace daxpack
