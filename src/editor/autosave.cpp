#include "editor/autosave.h"

#include "gui/qt_text.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <QCryptographicHash>
#include <QLockFile>
#include <QUuid>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <string_view>

namespace pagora {
namespace fs = std::filesystem;
namespace {

// A copy starts with this, the length of its comic's path, the path, and
// then the comic's bytes.
constexpr std::string_view kCopyMagic = "PagoraAutosave ";
constexpr std::string_view kCopySuffix = ".autosave";
// Enough for the magic, the length and the longest path.
constexpr std::size_t kLongestHeader = 8192;

std::string copyHeader(const fs::path& comicFile) {
    const std::string path = comicFile.string();
    return std::string(kCopyMagic) + std::to_string(path.size()) + "\n" + path + "\n";
}

struct CopyHeader {
    fs::path comicFile;
    std::size_t comicStart = 0;
};

std::optional<CopyHeader> parseCopyHeader(std::string_view bytes) {
    if (!bytes.starts_with(kCopyMagic))
        return std::nullopt;
    const std::size_t lengthEnd = bytes.find('\n', kCopyMagic.size());
    if (lengthEnd == std::string_view::npos)
        return std::nullopt;
    std::size_t length = 0;
    const char* lengthStart = bytes.data() + kCopyMagic.size();
    const auto [end, failure] = std::from_chars(lengthStart, bytes.data() + lengthEnd, length);
    if (failure != std::errc() || end != bytes.data() + lengthEnd)
        return std::nullopt;
    const std::size_t pathStart = lengthEnd + 1;
    if (bytes.size() <= pathStart + length || bytes[pathStart + length] != '\n')
        return std::nullopt;
    return CopyHeader{fs::path(std::string(bytes.substr(pathStart, length))),
                      pathStart + length + 1};
}

std::string readHead(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::string head(kLongestHeader, '\0');
    stream.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(stream.gcount()));
    return head;
}

fs::path lockFileOf(const fs::path& copyFile) {
    return copyFile.string() + ".lock";
}

// The lock of a copy, taken for this editor; none while the editor that
// holds it still runs. A lock left by an editor that died is taken over.
std::shared_ptr<QLockFile> lockCopy(const fs::path& copyFile) {
    auto lock = std::make_shared<QLockFile>(pathText(lockFileOf(copyFile)));
    // Only a dead owner makes a lock stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

std::optional<LeftCopy> takeLeftCopy(const fs::path& copyFile) {
    std::shared_ptr<QLockFile> lock = lockCopy(copyFile);
    if (!lock)
        return std::nullopt;
    const std::optional<CopyHeader> header = parseCopyHeader(readHead(copyFile));
    std::error_code error;
    const fs::file_time_type writtenAt = fs::last_write_time(copyFile, error);
    if (!header || error)
        return std::nullopt;
    return LeftCopy{copyFile, header->comicFile, writtenAt, std::move(lock)};
}

// The comic was saved after the copy was written.
bool isOutdated(const LeftCopy& copy) {
    if (copy.comicFile.empty())
        return false;
    std::error_code error;
    const fs::file_time_type savedAt = fs::last_write_time(copy.comicFile, error);
    return !error && savedAt >= copy.writtenAt;
}

std::vector<fs::path> copiesIn(const fs::path& folder) {
    std::vector<fs::path> copies;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        if (entry->path().extension() == kCopySuffix)
            copies.push_back(entry->path());
    return copies;
}

} // namespace

AutosaveKeeper::AutosaveKeeper(fs::path folder, TakeSnapshot takeSnapshot,
                               ReportFailure reportFailure)
    : folder_(std::move(folder))
    , takeSnapshot_(std::move(takeSnapshot))
    , reportFailure_(std::move(reportFailure))
    , untitledName_(QStringLiteral("untitled-") +
                    QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    timer_.setInterval(kInterval);
    connect(&timer_, &QTimer::timeout, this, &AutosaveKeeper::writeNow);
    if (enabled())
        timer_.start();
}

AutosaveKeeper::~AutosaveKeeper() {
    timer_.stop();
    waitForWrite();
}

void AutosaveKeeper::setInterval(std::chrono::milliseconds interval) {
    timer_.setInterval(interval);
}

void AutosaveKeeper::stop() {
    timer_.stop();
}

void AutosaveKeeper::writeNow() {
    if (!enabled() || writing_)
        return;
    std::optional<AutosaveSnapshot> snapshot = takeSnapshot_();
    if (!snapshot || !takeOwnCopyFor(snapshot->comicFile))
        return;
    startWriter(copyHeader(snapshot->comicFile), std::move(snapshot->bytes));
}

void AutosaveKeeper::startWriter(std::string header, std::string bytes) {
    waitForWrite();
    writing_ = true;
    writer_ = std::thread(
        [this, target = own_.copyFile, header = std::move(header), bytes = std::move(bytes)] {
            QString failure;
            try {
                std::string file;
                file.reserve(header.size() + bytes.size());
                file.append(header).append(bytes);
                writeFileAtomically(target, file);
            } catch (const std::exception& error) {
                failure = errorText(error);
            }
            writing_ = false;
            QMetaObject::invokeMethod(
                this, [this, failure] { writeFinished(failure); }, Qt::QueuedConnection);
        });
}

void AutosaveKeeper::waitForWrite() {
    if (writer_.joinable())
        writer_.join();
}

void AutosaveKeeper::writeFinished(const QString& failure) {
    if (!failure.isEmpty())
        reportOnce(failure);
}

void AutosaveKeeper::reportOnce(const QString& reason) {
    if (failureReported_)
        return;
    failureReported_ = true;
    if (reportFailure_)
        reportFailure_(reason);
}

bool AutosaveKeeper::takeOwnCopyFor(const fs::path& comicFile) {
    if (own_.lock && own_.comicFile == comicFile)
        return true;
    discard();
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) {
        reportOnce(pathText(folder_) + QStringLiteral(": ") +
                   QString::fromStdString(error.message()));
        return false;
    }
    // A copy of the same comic that another editor holds, or that one left
    // behind, is never written over: this editor then names its own apart.
    const fs::path named = folder_ / copyNameFor(comicFile);
    const fs::path apart = folder_ / (named.stem().string() + "-" + untitledName_.toStdString() +
                                      std::string(kCopySuffix));
    for (const fs::path& candidate : {named, apart}) {
        if (fs::exists(candidate, error))
            continue;
        if (std::shared_ptr<QLockFile> lock = lockCopy(candidate)) {
            own_ = LeftCopy{candidate, comicFile, {}, std::move(lock)};
            return true;
        }
    }
    reportOnce(pathText(named) + QStringLiteral(": locked"));
    return false;
}

fs::path AutosaveKeeper::copyNameFor(const fs::path& comicFile) const {
    if (comicFile.empty())
        return untitledName_.toStdString() + std::string(kCopySuffix);
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(comicFile.string()),
                                                     QCryptographicHash::Sha256);
    return hash.toHex().left(20).toStdString() + std::string(kCopySuffix);
}

void AutosaveKeeper::discard() {
    waitForWrite();
    if (own_.copyFile.empty())
        return;
    remove(std::move(own_));
    own_ = {};
}

std::vector<LeftCopy> AutosaveKeeper::takeLeftCopies() {
    std::vector<LeftCopy> copies;
    if (!enabled())
        return copies;
    for (const fs::path& file : copiesIn(folder_)) {
        if (file == own_.copyFile)
            continue;
        std::optional<LeftCopy> copy = takeLeftCopy(file);
        if (!copy)
            continue;
        if (isOutdated(*copy))
            remove(std::move(*copy));
        else
            copies.push_back(std::move(*copy));
    }
    std::sort(copies.begin(), copies.end(),
              [](const LeftCopy& a, const LeftCopy& b) { return a.writtenAt > b.writtenAt; });
    return copies;
}

void AutosaveKeeper::adopt(LeftCopy copy) {
    discard();
    own_ = std::move(copy);
}

void AutosaveKeeper::remove(LeftCopy copy) {
    std::error_code ignored;
    fs::remove(copy.copyFile, ignored);
    // Dropping the lock removes the lock file.
    copy.lock.reset();
}

std::string AutosaveKeeper::readComic(const LeftCopy& copy) {
    const std::string file = readWholeFile(copy.copyFile);
    const std::optional<CopyHeader> header = parseCopyHeader(file);
    if (!header)
        throw IoError(copy.copyFile, FileAction::Read, EINVAL); // not a copy of a comic
    return file.substr(header->comicStart);
}

} // namespace pagora
