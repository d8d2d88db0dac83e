// Packing and unpacking byte data with zlib. Unpacking is bounded: memory grows only
// as unpacked bytes arrive and never past the caller's limit, so a few bytes of
// input cannot make the library take more than that limit.
#include <zlib.h>

#include <algorithm>
#include <string>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/counted_array.h"

namespace {

constexpr const char kDecompress[] = "VekDecompressData";
constexpr const char kCompress[] = "VekCompressData";
constexpr uint32_t kKnownFlags = VEK_PACK_ZLIB | VEK_PACK_AS_TEXT;
constexpr int kZlibOrGzipWindow = 15 + 32;  // zlib's "detect the header" window bits
constexpr size_t kFirstRoom = 64 * 1024;

// A zlib inflate stream that is always ended.
class InflateStream {
  public:
    InflateStream() = default;
    InflateStream(const InflateStream &) = delete;
    InflateStream &operator=(const InflateStream &) = delete;
    ~InflateStream() {
        if (started_)
            inflateEnd(&stream_);
    }
    int Start() {
        const int result = inflateInit2(&stream_, kZlibOrGzipWindow);
        started_ = result == Z_OK;
        return result;
    }
    z_stream &Get() { return stream_; }

  private:
    z_stream stream_{};
    bool started_ = false;
};

int32_t CheckArguments(const void *data, int32_t size, void **output, uint32_t flags,
                       const char *function) {
    if (output == nullptr)
        return vek::Fail(VEK_E_POINTER, function, "No result address given");
    if (size < 0)
        return vek::Fail(VEK_E_INVALIDARG, function, "Invalid data size: %d", size);
    if (data == nullptr && size > 0)
        return vek::Fail(VEK_E_POINTER, function, "No data given for %d bytes", size);
    if ((flags & VEK_PACK_ZLIB) == 0 || (flags & ~kKnownFlags) != 0)
        return vek::Fail(VEK_E_INVALIDARG, function, "Invalid packing flags: %Xh", flags);
    return 0;
}

// Hands `bytes` over as a counted array in *output (null when empty); returns the
// byte count or a status.
int32_t HandOver(const std::string &bytes, void **output, const char *function) {
    void *array = nullptr;
    if (!bytes.empty()) {
        array = vek::NewCountedArray(bytes.data(), static_cast<int32_t>(bytes.size()), 1, function);
        if (array == nullptr)
            return ZamGetLastError();
    }
    *output = array;
    return static_cast<int32_t>(bytes.size());
}

int32_t StreamFailure(int result, const z_stream &stream, uint32_t limit) {
    switch (result) {
        case Z_MEM_ERROR:
            return vek::Fail(VEK_E_OUTOFMEMORY, kDecompress, "Out of memory while unpacking");
        case Z_BUF_ERROR:
            return vek::Fail(VEK_E_BADDATA, kDecompress,
                             "The packed data ends before its stream does (truncated after "
                             "%lu bytes)",
                             static_cast<unsigned long>(stream.total_in));
        case Z_NEED_DICT:
            return vek::Fail(VEK_E_BADDATA, kDecompress,
                             "The packed data needs a preset dictionary");
        case Z_STREAM_END:
            return vek::Fail(VEK_E_BADDATA, kDecompress,
                             "The packed data goes on for %u bytes after the end of its stream",
                             stream.avail_in);
        case Z_OK:
            return vek::Fail(VEK_E_BADDATA, kDecompress,
                             "The packed data unpacks to more than %u bytes", limit);
        default:
            return vek::Fail(VEK_E_BADDATA, kDecompress, "The packed data is not sound: %s",
                             stream.msg != nullptr ? stream.msg : "unknown zlib failure");
    }
}

// Unpacks into `out`, holding it to `limit` bytes. 0 or a status.
int32_t Inflate(const unsigned char *data, uint32_t size, uint32_t limit, std::string &out) {
    InflateStream inflater;
    if (const int result = inflater.Start(); result != Z_OK)
        return StreamFailure(result, inflater.Get(), limit);
    z_stream &stream = inflater.Get();
    stream.next_in = const_cast<unsigned char *>(data);
    stream.avail_in = size;
    // One byte of room past the limit tells a stream that reaches it from one that
    // would go past it.
    const size_t ceiling = static_cast<size_t>(limit) + 1;
    for (;;) {
        if (stream.total_out == out.size()) {
            if (out.size() == ceiling)
                return StreamFailure(Z_OK, stream, limit);
            out.resize(std::min(ceiling, std::max(kFirstRoom, out.size() * 2)));
        }
        stream.next_out = reinterpret_cast<unsigned char *>(out.data()) + stream.total_out;
        stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            if (stream.total_out > limit)
                return StreamFailure(Z_OK, stream, limit);
            if (stream.avail_in != 0)
                return StreamFailure(result, stream, limit);
            out.resize(stream.total_out);
            return 0;
        }
        if (result == Z_BUF_ERROR && stream.avail_in != 0 && stream.avail_out == 0)
            continue;  // only room was lacking
        if (result != Z_OK || (stream.avail_in == 0 && stream.avail_out != 0))
            return StreamFailure(result == Z_OK ? Z_BUF_ERROR : result, stream, limit);
    }
}

}  // namespace

VEK_API int32_t VEK_CALL VekDecompressData(const void *data, int32_t size, void **output,
                                           uint32_t flags, int32_t limit) {
    return vek::GuardStatus(kDecompress, [&]() -> int32_t {
        if (const int32_t status = CheckArguments(data, size, output, flags, kDecompress))
            return status;
        if (size == 0)
            return vek::Fail(VEK_E_BADDATA, kDecompress, "No packed data given");
        const uint32_t bound =
            limit < 0 ? VEK_UNPACK_LIMIT : std::min(static_cast<uint32_t>(limit), VEK_UNPACK_LIMIT);
        std::string bytes;
        if (const int32_t status = Inflate(static_cast<const unsigned char *>(data),
                                           static_cast<uint32_t>(size), bound, bytes))
            return status;
        return HandOver(bytes, output, kDecompress);
    });
}

VEK_API int32_t VEK_CALL VekCompressData(const void *data, int32_t size, void **output,
                                         uint32_t flags, int32_t level) {
    return vek::GuardStatus(kCompress, [&]() -> int32_t {
        if (const int32_t status = CheckArguments(data, size, output, flags, kCompress))
            return status;
        if (level > 9)
            return vek::Fail(VEK_E_INVALIDARG, kCompress, "Invalid packing level: %d", level);
        const auto input_size = static_cast<uLong>(size);
        uLongf packed_size = compressBound(input_size);
        if (packed_size > INT32_MAX)
            return vek::Fail(VEK_E_OVERFLOW, kCompress, "%d bytes are too many to pack", size);
        std::string packed(packed_size, '\0');
        static const unsigned char kNothing = 0;
        const auto *source = size > 0 ? static_cast<const Bytef *>(data) : &kNothing;
        const int result = compress2(reinterpret_cast<Bytef *>(packed.data()), &packed_size, source,
                                     input_size, level < 0 ? Z_DEFAULT_COMPRESSION : level);
        if (result != Z_OK)
            return vek::Fail(result == Z_MEM_ERROR ? VEK_E_OUTOFMEMORY : VEK_E_UNEXPECTED,
                             kCompress, "Packing failed (zlib %d)", result);
        packed.resize(packed_size);
        return HandOver(packed, output, kCompress);
    });
}
