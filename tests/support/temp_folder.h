#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace pagora::test {

// A fresh folder under the system's temporary directory, removed with its
// contents when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes a file (creating its folders) and returns its path.
    std::filesystem::path write(const std::filesystem::path& relative,
                                std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);

// Sets the time a file or folder (a link itself, not what it names) was last
// changed to age ago.
void makeOlder(const std::filesystem::path& path, std::chrono::seconds age);

// Holds the lock a running program holds on its temporary file or folder.
class HeldLock {
public:
    explicit HeldLock(const std::filesystem::path& path);
    ~HeldLock();
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    int fd_;
};

} // namespace pagora::test
