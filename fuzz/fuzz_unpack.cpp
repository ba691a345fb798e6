// Writes the input as an archive file and runs pagora-cli's unpack on it into
// a fresh folder, with the size limit set low so that inputs reach it.
// Whatever the bytes hold, unpack must end with one of its statuses and leave
// in its folder only plain files, none larger than the limit, none of them a
// temporary of its own.
#include "cli/cli.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMaxSize = 1 << 20;

void check(bool condition) {
    if (!condition)
        std::abort();
}

// A folder of this process's own under the temporary directory, removed at exit.
class FuzzFolder {
public:
    FuzzFolder()
        : path_(fs::temp_directory_path() / ("pagora-fuzz-unpack-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~FuzzFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void checkUnpacked(const fs::path& out) {
    if (!fs::exists(out))
        return;
    for (const auto& entry : fs::directory_iterator(out)) {
        check(entry.is_regular_file() && !entry.is_symlink());
        check(entry.path().filename().string().rfind(".pagora-unpack-", 0) != 0);
        check(entry.file_size() <= kMaxSize);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder;
    const fs::path archive = folder.path() / "input.cpf";
    const fs::path out = folder.path() / "out";
    {
        std::ofstream file(archive, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::ostringstream printed, errors;
    const int status = pagora::runCli(
        {"unpack", archive.string(), out.string(), "--max-size", std::to_string(kMaxSize)}, printed,
        errors);
    check(status == pagora::kExitDone || status == pagora::kExitProblems ||
          status == pagora::kExitFailure);
    checkUnpacked(out);
    fs::remove_all(out);
    return 0;
}
