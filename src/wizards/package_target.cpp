#include "wizards/package_target.h"

#include "package/package_builder.h"
#include "platform/encoding.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace pagora {
namespace {

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ignored;
    return fs::equivalent(a, b, ignored);
}

// The file a copy of the copy list is written to, beside the archive.
fs::path copyTarget(const fs::path& archive, const TPackageFile& file) {
    return archive.parent_path() / toUtf8(file.Name);
}

// One of the comic's own files that writing target would replace; empty
// when there is none. Writing a file over itself (a copy whose source is
// its target) replaces nothing.
fs::path replacedComicFile(const fs::path& target, const fs::path& source,
                           const TPackageBuilder& builder) {
    if (sameFile(target, source))
        return {};
    for (const std::vector<TPackageFile>* list : {&builder.LinkList, &builder.CopyList})
        for (const TPackageFile& file : *list)
            if (sameFile(target, file.Path))
                return file.Path;
    return {};
}

std::string replacedFileProblem(const fs::path& file) {
    return "パッケージを作ると、コミックで使っているファイルが上書きされてしまいます。\n" +
           file.string() + "\n別のフォルダを指定して下さい。";
}

} // namespace

fs::path packagePath(const fs::path& typed, const fs::path& comicFile) {
    if (typed.empty() || typed.is_absolute())
        return typed;
    return (comicFolder(comicFile) / typed).lexically_normal();
}

std::optional<std::string> packageTargetProblem(const fs::path& archive,
                                                const TPackageBuilder& builder) {
    if (archive.empty() || !archive.has_filename())
        return "パッケージファイル名を入力して下さい。";
    if (sameFile(archive, builder.ComicFileName))
        return "パッケージファイルにコミックファイル自身が指定されています。\n"
               "このまま作成すると、コミックファイル（スクリプト）が失われてしまいます。";
    std::error_code ignored;
    if (fs::is_directory(archive, ignored))
        return "パッケージファイル名にフォルダが指定されています。\n" + archive.string();
    const fs::path folder = archive.parent_path();
    if (!fs::is_directory(folder, ignored))
        return "パッケージファイルを作るフォルダが見つかりません。\n" + folder.string();
    if (sameFile(folder, comicFolder(builder.ComicFileName)) ||
        sameFile(folder, dataFolder(builder.ComicFileName, builder.DataDirectory)))
        return std::string("コミックファイルやデータのフォルダとは別のフォルダを指定して下さい。");
    if (const fs::path replaced = replacedComicFile(archive, {}, builder); !replaced.empty())
        return replacedFileProblem(replaced);
    for (const TPackageFile& file : builder.CopyList)
        if (const fs::path replaced =
                replacedComicFile(copyTarget(archive, file), file.Path, builder);
            !replaced.empty())
            return replacedFileProblem(replaced);
    return std::nullopt;
}

std::string vanishedPackageFiles(const TPackageBuilder& builder) {
    std::string names;
    for (const std::vector<TPackageFile>* list : {&builder.LinkList, &builder.CopyList})
        for (const TPackageFile& file : *list) {
            std::error_code ignored;
            if (fs::is_regular_file(file.Path, ignored))
                continue;
            names += (names.empty() ? "" : ", ") + toUtf8(file.Name);
        }
    return names;
}

} // namespace pagora
