#include "package/lfile_writer.h"

#include "package/zlib_stream.h"
#include "platform/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <istream>
#include <limits>
#include <memory>
#include <ostream>
#include <streambuf>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

constexpr std::string_view kFolderPrefix = "pagora-package-";
constexpr std::string_view kHeaderTempName = "LHTemp.tmp";
constexpr std::string_view kDataTempName = "LDTemp.tmp";
constexpr std::size_t kCopyBlock = 2048;
constexpr std::size_t kFileBuffer = 1 << 16;
constexpr std::size_t kKernelCopy = std::size_t{1} << 30;
constexpr std::uint64_t kLargestOffset = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kUnknownLength = std::numeric_limits<std::uint64_t>::max();

// A C file that is closed when it goes; close() reports whether everything
// written reached the file.
class CFile {
public:
    CFile(const fs::path& path, const char* mode)
        : CFile(path.empty() ? nullptr : std::fopen(path.c_str(), mode)) {}
    // The blocks of 2048 bytes pass through a larger buffer, so that a build
    // of many megabytes costs few system calls.
    explicit CFile(std::FILE* file)
        : file_(file) {
        if (file_ && std::setvbuf(file_, buffer_.get(), _IOFBF, kFileBuffer) != 0)
            buffer_.reset();
    }
    ~CFile() {
        if (file_)
            std::fclose(file_);
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    explicit operator bool() const { return file_ != nullptr; }
    std::FILE* get() const { return file_; }
    bool close() {
        std::FILE* file = file_;
        file_ = nullptr;
        return file && std::fclose(file) == 0;
    }

private:
    std::unique_ptr<char[]> buffer_ = std::make_unique<char[]>(kFileBuffer);
    std::FILE* file_;
};

std::uint64_t endOf(std::FILE* file) {
    if (::fseeko(file, 0, SEEK_END) != 0)
        return kUnknownLength;
    const off_t length = ::ftello(file);
    return length < 0 ? kUnknownLength : static_cast<std::uint64_t>(length);
}

// Cuts a temporary back to what it held before a failed add.
void truncateTo(const fs::path& path, std::uint64_t length) {
    std::error_code ignored;
    fs::resize_file(path, length, ignored);
}

// An output stream buffer that writes straight into a C file, so that deflate
// output goes to the data temporary without a copy in memory.
class FileOutput : public std::streambuf {
public:
    explicit FileOutput(std::FILE* file)
        : file_(file) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        return static_cast<std::streamsize>(
            std::fwrite(bytes, 1, static_cast<std::size_t>(count), file_));
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        return std::fputc(c, file_) == EOF ? traits_type::eof() : c;
    }

private:
    std::FILE* file_;
};

// Copies the stream to file in blocks until a read comes back short. False
// when the stream fails to read or the file to write.
bool copyStream(std::istream& source, std::FILE* file) {
    char block[kCopyBlock];
    for (;;) {
        source.read(block, kCopyBlock);
        const auto got = static_cast<std::size_t>(source.gcount());
        if (source.bad())
            return false;
        if (got > 0 && std::fwrite(block, 1, got, file) != got)
            return false;
        if (got < kCopyBlock)
            return true;
    }
}

bool copyRecords(std::FILE* from, std::FILE* to, std::uint32_t expected) {
    std::uint8_t record[kLFileEntrySize];
    std::uint64_t copied = 0;
    while (std::fread(record, kLFileEntrySize, 1, from) == 1) {
        if (std::fwrite(record, kLFileEntrySize, 1, to) != 1)
            return false;
        ++copied;
    }
    return !std::ferror(from) && copied == expected;
}

bool copyBlocks(std::FILE* from, std::FILE* to) {
    char block[kCopyBlock];
    for (;;) {
        const std::size_t got = std::fread(block, 1, kCopyBlock, from);
        if (got > 0 && std::fwrite(block, 1, got, to) != got)
            return false;
        if (got < kCopyBlock)
            return !std::ferror(from);
    }
}

// Whether copy_file_range failed only because the kernel cannot copy between
// these two files, so that copying through memory may still work.
bool cannotCopyInKernel(int errorNumber) {
    return errorNumber == EXDEV || errorNumber == EINVAL || errorNumber == ENOSYS ||
           errorNumber == EOPNOTSUPP || errorNumber == EBADF;
}

// Copies the whole of from (unread) to the end of what was written to to.
// The kernel copies the bytes where it can, without passing them through
// this process; otherwise they go in blocks.
bool copyAll(std::FILE* from, std::FILE* to) {
    if (std::fflush(to) != 0)
        return false;
    bool copiedAny = false;
    for (;;) {
        const ssize_t copied =
            ::copy_file_range(::fileno(from), nullptr, ::fileno(to), nullptr, kKernelCopy, 0);
        if (copied == 0)
            return true;
        if (copied > 0) {
            copiedAny = true;
        } else if (errno != EINTR) {
            return !copiedAny && cannotCopyInKernel(errno) && copyBlocks(from, to);
        }
    }
}

} // namespace

LFileContext::~LFileContext() {
    removeFolder();
}

void LFileContext::removeFolder() {
    if (folder_.empty())
        return;
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    folder_.clear();
    folderLock_.reset();
}

void LFileContext::Init() {
    removeFolder();
    LinkageFileName = "Linkage.dat";
    HeaderTempName.clear();
    DataTempName.clear();
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (!error) {
        removeStaleTemporaryFolders(base, kFolderPrefix, {kHeaderTempName, kDataTempName});
        std::string pattern = (base / (std::string(kFolderPrefix) + "XXXXXX")).string();
        if (::mkdtemp(pattern.data())) {
            folder_ = pattern;
            folderLock_.emplace(folder_);
            HeaderTempName = folder_ / kHeaderTempName;
            DataTempName = folder_ / kDataTempName;
        }
    }
    Header = LFileHeader{};
    LFile_SetFileType(Header.Magic, kLFileInitialMagic);
    SetFieldText(Header.Comment, kLFileDefaultComment);
}

void LFileContext::Clean() {
    std::error_code ignored;
    if (!DataTempName.empty())
        fs::remove(DataTempName, ignored);
    if (!HeaderTempName.empty())
        fs::remove(HeaderTempName, ignored);
}

// Without its temporaries (no private folder) there is no file to name.
bool LFileContext::fail(const fs::path& path, FileAction action, int errorNumber) {
    if (!path.empty())
        lastError_.emplace(path, action, errorNumber != 0 ? errorNumber : EIO);
    return false;
}

bool LFileContext::append(std::string_view name, std::uint32_t flags, const DataWriter& writeData) {
    lastError_.reset();
    LFileEntry entry;
    if (Header.Count == std::numeric_limits<std::uint32_t>::max() ||
        !SetFieldText(entry.Name, name))
        return false;
    entry.Flags = flags;

    CFile data(DataTempName, "ab");
    if (!data)
        return fail(DataTempName, FileAction::Open, errno);
    const std::uint64_t offset = endOf(data.get());
    if (offset > kLargestOffset)
        return fail(DataTempName, FileAction::Write, EFBIG);
    errno = 0;
    if (!writeData(data.get())) {
        // A source that failed to read, or a failed compression, is no fault of the temporary.
        const bool refused = std::ferror(data.get()) != 0;
        const int cause = errno;
        data.close();
        truncateTo(DataTempName, offset);
        return refused ? fail(DataTempName, FileAction::Write, cause) : false;
    }
    const std::uint64_t end = std::fflush(data.get()) == 0 ? endOf(data.get()) : kUnknownLength;
    const int cause = end == kUnknownLength ? errno : EFBIG;
    if (end > kLargestOffset || !data.close()) {
        const int closeCause = end > kLargestOffset ? cause : errno;
        data.close();
        truncateTo(DataTempName, offset);
        return fail(DataTempName, FileAction::Write, closeCause);
    }
    entry.Offset = static_cast<std::uint32_t>(offset);
    entry.Size = static_cast<std::uint32_t>(end - offset);

    CFile directory(HeaderTempName, "ab");
    const std::uint64_t directoryLength = directory ? endOf(directory.get()) : kUnknownLength;
    std::uint8_t record[kLFileEntrySize];
    EncodeEntry(entry, record);
    const bool written = directoryLength != kUnknownLength &&
                         std::fwrite(record, kLFileEntrySize, 1, directory.get()) == 1;
    const int writeCause = errno;
    if (!written || !directory.close()) {
        const int directoryCause = written ? errno : writeCause;
        directory.close();
        if (directoryLength != kUnknownLength)
            truncateTo(HeaderTempName, directoryLength);
        truncateTo(DataTempName, offset);
        return fail(HeaderTempName, FileAction::Write, directoryCause);
    }
    ++Header.Count;
    return true;
}

bool LFileContext::Add(std::istream& stream, std::string_view name) {
    return append(name, 0, [&stream](std::FILE* data) { return copyStream(stream, data); });
}

// Deflates straight into the data temporary: the compressed bytes are never
// held in memory.
bool LFileContext::AddCompress(std::istream& stream, std::string_view name) {
    return append(name, kLFileCompressed, [this, &stream](std::FILE* data) {
        FileOutput output(data);
        std::ostream compressed(&output);
        return ZCompress(stream, compressed, prompter_);
    });
}

bool LFileContext::AddFile(const fs::path& source, std::string_view name) {
    std::ifstream file(source, std::ios::binary);
    if (!file)
        return false;
    return Add(file, name);
}

// The header, the directory and the data, one after the other.
bool LFileContext::writeParts(std::FILE* archive) {
    std::uint8_t header[kLFileHeaderSize];
    EncodeHeader(Header, header);
    errno = 0;
    if (std::fwrite(header, kLFileHeaderSize, 1, archive) != 1)
        return fail(LinkageFileName, FileAction::Write, errno);
    CFile directory(HeaderTempName, "rb");
    if (!directory)
        return fail(HeaderTempName, FileAction::Open, errno);
    if (!copyRecords(directory.get(), archive, Header.Count))
        return fail(LinkageFileName, FileAction::Write, errno);
    CFile data(DataTempName, "rb");
    if (!data)
        return fail(DataTempName, FileAction::Open, errno);
    if (!copyAll(data.get(), archive))
        return fail(LinkageFileName, FileAction::Write, errno);
    if (std::fflush(archive) != 0)
        return fail(LinkageFileName, FileAction::Write, errno);
    return true;
}

bool LFileContext::End() {
    lastError_.reset();
    if (LinkageFileName.empty())
        return false;
    try {
        ReplacementFile replacement(LinkageFileName);
        const int descriptor = ::dup(replacement.descriptor());
        CFile archive(descriptor < 0 ? nullptr : ::fdopen(descriptor, "wb"));
        if (!archive) {
            fail(LinkageFileName, FileAction::Write, errno);
            if (descriptor >= 0)
                ::close(descriptor);
            return false;
        }
        bool ok = writeParts(archive.get());
        if (!archive.close() && ok)
            ok = fail(LinkageFileName, FileAction::Write, errno);
        if (!ok)
            return false;
        replacement.commit();
    } catch (const IoError& error) {
        lastError_.emplace(error);
        return false;
    }
    Clean();
    return true;
}

} // namespace pagora
