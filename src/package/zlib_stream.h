#pragma once

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <string>

namespace pagora {

class LFileReader;
class Prompter;

// Deflates source (from its current position to its end) into destination as
// one zlib stream at the default level, through buffers of 1024 bytes. A zlib
// failure shows its message as an error box; a source that fails to read
// shows nothing. Returns true on success.
bool ZCompress(std::istream& source, std::ostream& destination, Prompter& prompter);

inline constexpr std::uint64_t kNoSizeLimit = std::numeric_limits<std::uint64_t>::max();

enum class ZDecompressStatus { Done, Damaged, WriteFailed, TooLarge };

struct ZDecompressResult {
    ZDecompressStatus status;
    std::string damage; // Damaged: zlib's reason, as "incorrect header check"
};

// Inflates the reader's current entry into destination, reading it through
// LFile_FileLinkageRead, so never past the entry's end. A stream that is
// damaged or cut short shows "zlib decompress fail" through the reader's
// Prompter. Inflating stops, with TooLarge, before more than maxSize bytes
// would be written.
ZDecompressResult ZDecompress(std::ostream& destination, LFileReader& reader,
                              std::uint64_t maxSize = kNoSizeLimit);

} // namespace pagora
