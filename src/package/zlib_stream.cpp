#include "package/zlib_stream.h"

#include "package/lfile_reader.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <istream>
#include <ostream>
#include <string>
#include <zlib.h>

namespace pagora {
namespace {

constexpr std::size_t kZBuffer = 1024;

// Ends the deflate or inflate state however the loop is left.
class DeflateState {
public:
    DeflateState() = default;
    ~DeflateState() {
        if (open_)
            deflateEnd(&stream);
    }
    DeflateState(const DeflateState&) = delete;
    DeflateState& operator=(const DeflateState&) = delete;

    bool init() {
        open_ = deflateInit_(&stream, Z_DEFAULT_COMPRESSION, ZLIB_VERSION,
                             static_cast<int>(sizeof(z_stream))) == Z_OK;
        return open_;
    }
    int end() {
        open_ = false;
        return deflateEnd(&stream);
    }

    z_stream stream{};

private:
    bool open_ = false;
};

class InflateState {
public:
    InflateState() = default;
    ~InflateState() {
        if (open_)
            inflateEnd(&stream);
    }
    InflateState(const InflateState&) = delete;
    InflateState& operator=(const InflateState&) = delete;

    bool init() {
        open_ = inflateInit_(&stream, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) == Z_OK;
        return open_;
    }
    int end() {
        open_ = false;
        return inflateEnd(&stream);
    }

    z_stream stream{};

private:
    bool open_ = false;
};

Bytef* bytes(char* buffer) {
    return reinterpret_cast<Bytef*>(buffer);
}

bool writeOut(std::ostream& destination, const char* buffer, std::size_t count) {
    destination.write(buffer, static_cast<std::streamsize>(count));
    return static_cast<bool>(destination);
}

// Writes the output buffer out when zlib has filled it, and hands it back empty.
bool drainWhenFull(z_stream& z, std::ostream& destination, char* out) {
    if (z.avail_out != 0)
        return true;
    if (!writeOut(destination, out, kZBuffer))
        return false;
    z.next_out = bytes(out);
    z.avail_out = kZBuffer;
    return true;
}

// Writes what is left in the output buffer and ends the deflate state.
bool finishDeflate(DeflateState& state, std::ostream& destination, const char* out,
                   Prompter& prompter) {
    if (!writeOut(destination, out, kZBuffer - state.stream.avail_out))
        return false;
    if (state.end() != Z_OK) {
        prompter.error(PAGORA_CP932("zlib defateEnd fail"));
        return false;
    }
    return true;
}

// Why inflate stopped with result: zlib's own text when it has one.
std::string inflateReason(int result, const z_stream& z) {
    if (z.msg)
        return z.msg;
    switch (result) {
    case Z_BUF_ERROR:
        return "the entry ends before its compressed stream does";
    case Z_NEED_DICT:
        return "the stream needs a preset dictionary";
    case Z_MEM_ERROR:
        return "out of memory";
    default:
        return "zlib error " + std::to_string(result);
    }
}

} // namespace

bool ZCompress(std::istream& source, std::ostream& destination, Prompter& prompter) {
    DeflateState state;
    if (!state.init()) {
        prompter.error(PAGORA_CP932("zlib initialize fail"));
        return false;
    }
    z_stream& z = state.stream;
    char in[kZBuffer];
    char out[kZBuffer];
    int flush = Z_NO_FLUSH;
    z.next_out = bytes(out);
    z.avail_out = kZBuffer;
    for (;;) {
        if (z.avail_in == 0) {
            source.read(in, kZBuffer);
            if (source.bad())
                return false;
            const auto got = static_cast<std::size_t>(source.gcount());
            if (got < kZBuffer)
                flush = Z_FINISH;
            z.next_in = bytes(in);
            z.avail_in = static_cast<uInt>(got);
        }
        const int result = deflate(&z, flush);
        if (result == Z_STREAM_END)
            break;
        if (result != Z_OK) {
            prompter.error(PAGORA_CP932("zlib compress fail"));
            return false;
        }
        if (!drainWhenFull(z, destination, out))
            return false;
    }
    return finishDeflate(state, destination, out, prompter);
}

ZDecompressResult ZDecompress(std::ostream& destination, LFileReader& reader,
                              std::uint64_t maxSize) {
    Prompter& prompter = reader.prompter();
    InflateState state;
    if (!state.init()) {
        prompter.error(PAGORA_CP932("zlib initialize fail"));
        return {ZDecompressStatus::Damaged, inflateReason(Z_MEM_ERROR, state.stream)};
    }
    z_stream& z = state.stream;
    char in[kZBuffer];
    char out[kZBuffer];
    z.next_out = bytes(out);
    z.avail_out = kZBuffer;
    for (;;) {
        if (z.avail_in == 0) {
            z.next_in = bytes(in);
            z.avail_in = static_cast<uInt>(LFile_FileLinkageRead(in, 1, kZBuffer, reader));
        }
        const int result = inflate(&z, Z_NO_FLUSH);
        // total_out counts what is written out plus what waits in the buffer.
        if (z.total_out > maxSize)
            return {ZDecompressStatus::TooLarge, {}};
        if (result == Z_STREAM_END)
            break;
        if (result != Z_OK) {
            prompter.error(PAGORA_CP932("zlib decompress fail"));
            return {ZDecompressStatus::Damaged, inflateReason(result, z)};
        }
        if (!drainWhenFull(z, destination, out))
            return {ZDecompressStatus::WriteFailed, {}};
    }
    if (!writeOut(destination, out, kZBuffer - z.avail_out))
        return {ZDecompressStatus::WriteFailed, {}};
    if (const int result = state.end(); result != Z_OK) {
        prompter.error(PAGORA_CP932("zlib inflate_end error"));
        return {ZDecompressStatus::Damaged, inflateReason(result, z)};
    }
    return {ZDecompressStatus::Done, {}};
}

} // namespace pagora
