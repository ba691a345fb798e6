#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QLockFile;

namespace pagora {

// The modified comic as the keeper writes it: its full path (empty while it
// is untitled) and its bytes.
struct AutosaveSnapshot {
    std::filesystem::path comicFile;
    std::string bytes;
};

// A copy in the autosave folder with the lock that makes it this editor's.
struct LeftCopy {
    std::filesystem::path copyFile;
    // The comic's full path; empty for an untitled comic.
    std::filesystem::path comicFile;
    std::filesystem::file_time_type writtenAt;
    std::shared_ptr<QLockFile> lock;
};

// Keeps a copy of the modified comic in a folder of its own, so that a crash
// or a kill loses no edit: one copy per comic (named from a hash of its path,
// an untitled comic's per editor), each locked while its editor runs. The
// snapshot is taken on the user-interface thread; the file is written on a
// worker thread.
class AutosaveKeeper : public QObject {
public:
    using TakeSnapshot = std::function<std::optional<AutosaveSnapshot>()>;
    using ReportFailure = std::function<void(const QString&)>;

    static constexpr std::chrono::milliseconds kInterval{60000};

    // An empty folder turns the keeper off. reportFailure is told, once, why
    // a copy could not be written.
    AutosaveKeeper(std::filesystem::path folder, TakeSnapshot takeSnapshot,
                   ReportFailure reportFailure);
    // Finishes the write under way.
    ~AutosaveKeeper() override;

    bool enabled() const { return !folder_.empty(); }
    void setInterval(std::chrono::milliseconds interval);
    void stop();
    // Writes a copy now when there is a snapshot to write.
    void writeNow();
    void waitForWrite();
    // Removes this editor's copy.
    void discard();
    // This editor's copy; empty when it has none.
    const std::filesystem::path& ownCopy() const { return own_.copyFile; }

    // Copies left by editors that no longer run and newer than their comics,
    // newest first, each locked for this editor; older ones are removed.
    std::vector<LeftCopy> takeLeftCopies();
    // Makes a left copy this editor's own.
    void adopt(LeftCopy copy);
    static void remove(LeftCopy copy);
    // The comic's bytes in a copy. Throws IoError.
    static std::string readComic(const LeftCopy& copy);

private:
    void startWriter(std::string header, std::string bytes);
    void writeFinished(const QString& failure);
    void reportOnce(const QString& reason);
    // Makes the copy of comicFile this editor's own; false when it cannot.
    bool takeOwnCopyFor(const std::filesystem::path& comicFile);
    std::filesystem::path copyNameFor(const std::filesystem::path& comicFile) const;

    std::filesystem::path folder_;
    TakeSnapshot takeSnapshot_;
    ReportFailure reportFailure_;
    QString untitledName_;
    QTimer timer_;
    LeftCopy own_;
    std::thread writer_;
    std::atomic<bool> writing_{false};
    bool failureReported_ = false;
};

} // namespace pagora
