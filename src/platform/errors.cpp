#include "platform/errors.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace pagora {
namespace {

const char* englishAction(FileAction action) {
    switch (action) {
    case FileAction::Open:
        return "cannot open";
    case FileAction::Read:
        return "cannot read";
    case FileAction::Write:
        return "cannot write";
    case FileAction::Save:
        return "cannot save";
    case FileAction::Copy:
        return "cannot copy into ";
    }
    return "cannot use";
}

const char* systemText(int errorNumber) {
    return errorNumber == kNotARegularFile ? "not a regular file" : std::strerror(errorNumber);
}

std::string englishText(const std::filesystem::path& path, FileAction action, int errorNumber,
                        const std::filesystem::path& folder) {
    std::string text = path.string() + ": " + englishAction(action);
    if (action == FileAction::Copy)
        text += folder.string();
    return text + ": " + systemText(errorNumber);
}

struct Reason {
    int errorNumber;
    const char* text;
};

constexpr Reason kReasons[] = {
    {ENOENT, "ファイルまたはフォルダが見つかりません。"},
    {EACCES, "アクセスが許可されていません。"},
    {EPERM, "アクセスが許可されていません。"},
    {EROFS, "読み取り専用の場所なので書き込めません。"},
    {ENOSPC, "ディスクの空き容量が足りません。"},
    {EDQUOT, "ディスクの使用量の上限を超えています。"},
    {EISDIR, "ファイルではなくフォルダです。"},
    {ENOTDIR, "パスの途中にフォルダではないものがあります。"},
    {EEXIST, "同じ名前のファイルがすでにあります。"},
    {EIO, "ディスクの読み書きに失敗しました。"},
    {EMFILE, "開いているファイルが多すぎます。"},
    {ENFILE, "開いているファイルが多すぎます。"},
    {ENAMETOOLONG, "ファイル名が長すぎます。"},
    {EXDEV, "別のドライブへは移せません。"},
    {EBUSY, "ファイルが使用中です。"},
    {ETXTBSY, "ファイルが使用中です。"},
    {ELOOP, "シンボリックリンクが多すぎるか、循環しています。"},
    {EFBIG, "ファイルが大きすぎます。"},
    {kNotARegularFile, "通常のファイルではありません。"},
};

} // namespace

IoError::IoError(std::filesystem::path path, FileAction action, int errorNumber,
                 std::filesystem::path folder)
    : std::runtime_error(englishText(path, action, errorNumber, folder))
    , path_(std::move(path))
    , action_(action)
    , errorNumber_(errorNumber)
    , folder_(std::move(folder)) {
}

std::string ioErrorReason(int errorNumber) {
    for (const Reason& reason : kReasons)
        if (reason.errorNumber == errorNumber)
            return reason.text;
    return std::string("予期しないエラーが起きました（") + systemText(errorNumber) + "）。";
}

std::string ioErrorText(const IoError& error) {
    const std::string file = "ファイル「" + error.path().string() + "」";
    std::string text;
    switch (error.action()) {
    case FileAction::Open:
        text = file + "を開けません。";
        break;
    case FileAction::Read:
        text = file + "を読み込めません。";
        break;
    case FileAction::Write:
        text = file + "に書き込めません。";
        break;
    case FileAction::Save:
        text = file + "を保存できません。";
        break;
    case FileAction::Copy:
        text = file + "をフォルダ「" + error.folder().string() + "」にコピーできません。";
        break;
    }
    return text + "\n" + ioErrorReason(error.errorNumber());
}

ConversionError notAnInteger(const std::string& token) {
    return ConversionError("'" + token + "' is not a valid integer value");
}

} // namespace pagora
