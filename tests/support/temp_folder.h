#pragma once

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

} // namespace pagora::test
