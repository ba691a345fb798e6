#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace pagora {

class TPackageBuilder;

// The package file named in the wizard: a relative name counts from the
// comic's folder.
std::filesystem::path packagePath(const std::filesystem::path& typed,
                                  const std::filesystem::path& comicFile);

// Why a package cannot be written at archive (a full path) for the comic of
// builder, in words for the user (UTF-8); nothing when it can. Refused: no
// name, the comic file itself (the script would be lost), a folder, a folder
// that does not exist, the comic's own folder or its data folder, and a
// place where the archive or a file copied beside it would replace another
// of the comic's files.
std::optional<std::string> packageTargetProblem(const std::filesystem::path& archive,
                                                const TPackageBuilder& builder);

// The files of the builder's lists that are no longer there to be packaged
// (UTF-8 names, as the comic writes them, separated by ", "); empty when
// every one is.
std::string vanishedPackageFiles(const TPackageBuilder& builder);

} // namespace pagora
