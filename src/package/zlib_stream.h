#pragma once

#include <iosfwd>

namespace pagora {

class LFileReader;
class Prompter;

// Deflates source (from its current position to its end) into destination as
// one zlib stream at the default level, through buffers of 1024 bytes. A zlib
// failure shows its message as an error box; a source that fails to read
// shows nothing. Returns true on success.
bool ZCompress(std::istream& source, std::ostream& destination, Prompter& prompter);

// Inflates the reader's current entry into destination, reading it through
// LFile_FileLinkageRead, so never past the entry's end. A stream that is
// damaged or cut short shows "zlib decompress fail" through the reader's
// Prompter. Returns true on success.
bool ZDecompress(std::ostream& destination, LFileReader& reader);

} // namespace pagora
