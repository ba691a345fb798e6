#include "check/error_check.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <algorithm>
#include <variant>

namespace pagora {
namespace {

constexpr std::string_view kComicBlock = "Comic";

// ASCII letters in lower case; the second byte of a double-byte character is
// left alone, since it may look like a letter.
std::string foldCase(std::string_view name) {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (isCp932LeadByte(byte))
            ++i;
        else if (byte >= 'A' && byte <= 'Z')
            folded[i] = static_cast<char>(byte + 32);
    }
    return folded;
}

bool hasExtension(std::string_view fileName, std::string_view extension) {
    if (fileName.size() < extension.size())
        return false;
    return foldCase(fileName.substr(fileName.size() - extension.size())) == extension;
}

bool beginsWith(std::string_view text, char c) {
    return !text.empty() && text[0] == c;
}

// Sized at once: the name may be as long as its line.
std::string quotedName(std::string_view before, std::string_view name, std::string_view after) {
    std::string text;
    text.reserve(before.size() + name.size() + after.size() + 2);
    text.append(before).append("\"").append(name).append("\"").append(after);
    return text;
}

std::vector<std::string> concatenated(std::vector<std::string> first,
                                      const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace

std::string ErrorListText(const TErrorItem& item) {
    return std::string(ErrorLevelText(item)) + item.Message;
}

std::string_view ErrorLevelText(const TErrorItem& item) {
    return item.Level == kWarning ? "WARNING : " : "ERROR : ";
}

std::string CheckProgressText(std::string_view book, std::string_view page) {
    return PAGORA_CP932("エラーチェック中　：　") + std::string(book) + PAGORA_CP932("　／　") +
           std::string(page);
}

// --- VariableNameList ---

void VariableNameList::assign(const std::vector<std::string>& names) {
    names_ = names;
    removed_.assign(names.size(), false);
    positions_.clear();
    longest_ = 0;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        positions_.emplace(foldCase(names_[i])).push_back(i);
        longest_ = std::max(longest_, names_[i].size());
    }
}

bool VariableNameList::contains(std::string_view name) const {
    if (name.size() > longest_)
        return false;
    const std::vector<std::size_t>* found = positions_.find(foldCase(name));
    return found && std::any_of(found->begin(), found->end(),
                                [this](std::size_t i) { return !removed_[i]; });
}

void VariableNameList::remove(std::string_view name) {
    if (name.size() > longest_)
        return;
    const std::vector<std::size_t>* found = positions_.find(foldCase(name));
    if (!found)
        return;
    for (const std::size_t i : *found) {
        if (!removed_[i]) {
            removed_[i] = true;
            return;
        }
    }
}

std::vector<std::string> VariableNameList::names() const {
    std::vector<std::string> left;
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (!removed_[i])
            left.push_back(names_[i]);
    return left;
}

// --- TErrorCheck ---

TErrorCheck::TErrorCheck(TComicFileCtrl& comic, TCmdCtrl& syntax, TFlagCtrl& flags,
                         Prompter& prompter)
    : comic_(comic)
    , syntax_(syntax)
    , flags_(flags)
    , prompter_(prompter) {
}

void TErrorCheck::Initialize(const std::filesystem::path& comicFolder) {
    ComicFolder = comicFolder;
    files_ = ComicFileLookup(ComicFolder, comic_.ReadHeader(kComicBlock, "DataDirectory", ""));
    DataFolder = files_.dataFolder();
    ValueFlagList.assign(
        concatenated(TFlagCtrl::GetSpecialValueNames(), flags_.GetValueFlagNames()));
    StringFlagList.assign(
        concatenated(TFlagCtrl::GetSpecialStringNames(), flags_.GetStringFlagNames()));
    UnusedValueFlagList.assign(flags_.GetValueFlagNames());
    UnusedStringFlagList.assign(flags_.GetStringFlagNames());
    musicDevice_ = comic_.ReadHeader(kComicBlock, "MciMusic", "AutoSelect");
    soundDevice_ = comic_.ReadHeader(kComicBlock, "MciSound", "AutoSelect");
    pagesFound_.clear();
    ErrorCount = 0;
}

void TErrorCheck::CheckAll() {
    for (const std::string& book : comic_.GetBookList()) {
        for (const std::string& page : comic_.GetPageList(book)) {
            if (OnPageStart)
                OnPageStart(book, page);
            CheckPage(book, page);
        }
    }
    CheckHeader(true);
}

void TErrorCheck::CheckPage(const std::string& bookName, const std::string& pageName) {
    const std::vector<std::string_view> lines = comic_.PeekCommands(bookName, pageName);
    for (std::size_t index = 0; index < lines.size(); ++index)
        CheckLine(lines[index], bookName, pageName, static_cast<int>(index));
}

const TErrorItem& TErrorCheck::GetErrorList(int index) {
    if (index < 0 || index >= kMaxErrorItems) {
        prompter_.error("ErrorCheck::GetErrorList()\naccess error");
        return ErrorItems[0];
    }
    return ErrorItems[static_cast<std::size_t>(index)];
}

void TErrorCheck::AddError(std::string message, std::uint8_t level, const std::string& bookName,
                           const std::string& pageName, int lineIndex) {
    if (ListFull())
        return;
    ErrorItems[static_cast<std::size_t>(ErrorCount++)] = {std::move(message), level, bookName,
                                                          pageName, lineIndex};
}

// --- shared checks ---

void TErrorCheck::CheckFile(std::string_view fileName, const Place& place) {
    if (ListFull())
        return;
    if (fileName.empty())
        error(PAGORA_CP932("ファイル名が入力されていません"), place);
    else if (!IsFileExist(fileName))
        error(quotedName(PAGORA_CP932("参照しているファイル"), fileName,
                         PAGORA_CP932("が見つかりません")),
              place);
}

bool TErrorCheck::IsFileExist(std::string_view fileName) {
    return !files_.find(fileName).empty();
}

void TErrorCheck::CheckPageJump(std::string_view bookName, std::string_view pageName,
                                const Place& place) {
    if (!ListFull() && !pageExists(bookName, pageName))
        error(PAGORA_CP932("移動先のページが存在しません"), place);
}

// Many lines jump to the same few pages. Longer names are asked about each
// time, so that a huge name in a line is not kept.
bool TErrorCheck::pageExists(std::string_view bookName, std::string_view pageName) {
    constexpr std::size_t kLongestRememberedName = 1024;
    if (bookName.size() > kLongestRememberedName || pageName.size() > kLongestRememberedName)
        return comic_.PageExists(bookName, pageName);
    StringTable<bool>& book = pagesFound_.emplace(bookName);
    if (const bool* known = book.find(pageName))
        return *known;
    return book.emplace(pageName, comic_.PageExists(bookName, pageName));
}

void TErrorCheck::CheckValueFlag(std::string_view name, const Place& place) {
    if (!ListFull() && !ValueFlagList.contains(name))
        error(quotedName(PAGORA_CP932("参照している数値変数"), name,
                         PAGORA_CP932("は定義されていません")),
              place);
    UnusedValueFlagList.remove(name);
}

void TErrorCheck::CheckStringFlag(std::string_view name, const Place& place) {
    if (!ListFull() && !StringFlagList.contains(name))
        error(quotedName(PAGORA_CP932("参照している文字列変数"), name,
                         PAGORA_CP932("は定義されていません")),
              place);
    UnusedStringFlagList.remove(name);
}

void TErrorCheck::CheckMciDevice(std::string_view device, std::string_view fileName,
                                 const Place& place) {
    if ((device == "Sequencer" && !hasExtension(fileName, ".mid")) ||
        (device == "WaveAudio" && !hasExtension(fileName, ".wav")))
        error(PAGORA_CP932("設定したMCIデバイスでは使用不能なファイルが指定されています"), place);
}

// --- lines ---

namespace {

// The checks of each command kind, over the record as far as it could be read.
struct LineChecks {
    TErrorCheck& check;
    const TErrorCheck::Place& place;

    // Kinds without a check never get here.
    void operator()(std::monostate) const {}
    void operator()(const BasicCmdMsgDlg<std::string_view>&) const {}
    void operator()(const TCmdWaitTime&) const {}
    void operator()(const TCmdMouseClick&) const {}
    void operator()(const TCmdClickAbleClear&) const {}

    void operator()(const BasicCmdGraphic<std::string_view>& record) const {
        check.CheckFile(record.FileName, place);
        if (record.UseTransparent && !record.AutoTransparentColor)
            check.AddError(PAGORA_CP932("透明色の指定が手動設定に設定されています"), kWarning,
                           place.book, place.page, place.line);
    }
    void operator()(const BasicCmdMusic<std::string_view>& record) const {
        check.CheckFile(record.FileName, place);
        check.CheckMciDevice(check.MusicDevice(), record.FileName, place);
    }
    void operator()(const BasicCmdSound<std::string_view>& record) const {
        check.CheckFile(record.FileName, place);
        check.CheckMciDevice(check.SoundDevice(), record.FileName, place);
    }
    void operator()(const BasicCmdFlagCtrl<std::string_view>& record) const {
        check.CheckValueFlag(cp932StripEnds(record.FlagName), place);
    }
    // Choices jump within the book of the line; only the first 20 targets count.
    void operator()(const BasicCmdSelectDlg<std::string_view>& record) const {
        for (std::size_t i = 0; i < kSelectPairs - 1; ++i) {
            if (!beginsWith(record.Targets[i], '$'))
                break;
            check.CheckPageJump(place.book, cp932StripEnds(record.Targets[i]), place);
        }
    }
    void operator()(const BasicCmdPageJump<std::string_view>& record) const {
        check.CheckPageJump(record.BookName, record.PageName, place);
    }
    void operator()(const BasicCmdValueCtrl<std::string_view>& record) const {
        for (const std::string_view operand : record.Operands)
            if (beginsWith(operand, '%'))
                check.CheckValueFlag(cp932StripEnds(operand), place);
    }
    void operator()(const BasicCmdStringCtrl<std::string_view>& record) const {
        check.CheckStringFlag(cp932StripEnds(record.Target), place);
    }
    void operator()(const BasicCmdClickAble<std::string_view>& record) const {
        if (!record.ImageFile.empty())
            check.CheckFile(record.ImageFile, place);
        check.CheckPageJump(record.BookName, record.PageName, place);
    }
    void operator()(const BasicCmdStrInput<std::string_view>& record) const {
        check.CheckStringFlag(
            beginsWith(record.Target, '$') ? cp932StripEnds(record.Target) : record.Target, place);
    }
    void operator()(const TCmdWindowShow& record) const {
        if (!record.Show && record.Option.Win == 0)
            check.AddError(PAGORA_CP932("メインウインドウを消去しようとしています"), kWarning,
                           place.book, place.page, place.line);
    }
    void operator()(const BasicCmdSystem<std::string_view>& record) const {
        switch (record.SubCommand) {
        case 3: // ValDataSave
        case 4: // ValDataLoad
            check.CheckValueFlag(record.Params[0], place);
            break;
        case 5: // StrDataSave
        case 6: // StrDataLoad
            check.CheckStringFlag(record.Params[0], place);
            break;
        case 7: // Call
            check.CheckPageJump(record.Params[0], record.Params[1], place);
            break;
        default:
            break;
        }
    }
};

} // namespace

void TErrorCheck::CheckLine(std::string_view lineText, const std::string& bookName,
                            const std::string& pageName, int lineIndex) {
    const Place place{bookName, pageName, lineIndex};
    const CmdKind kind = TCmdCtrl::GetCommandKind(lineText);
    switch (kind) {
    case CmdKind::Unknown:
        error(PAGORA_CP932("未知のコマンドがあります"), place);
        return;
    // Kinds without a check are not read at all.
    case CmdKind::Comment:
    case CmdKind::MsgDlg:
    case CmdKind::MusicStop:
    case CmdKind::WaitTime:
    case CmdKind::MouseClick:
    case CmdKind::ClickAbleClear:
        return;
    default:
        std::visit(
            LineChecks{*this, place},
            syntax_.ParseCommandView(kind, lineText, TCmdCtrl::ReadFailure::KeepWhatWasRead));
    }
}

// --- header ---

void TErrorCheck::CheckHeader(bool reportUnused) {
    const std::string none;
    const Place place{none, none, 0};
    for (const char* key : {"MouseCursorNormal", "MouseCursorKeyWait", "MouseCursorTimeCount",
                            "MouseCursorClickAble"}) {
        const std::string cursor = comic_.ReadHeader(kComicBlock, key, "Default");
        if (cursor != "Default")
            CheckFile(cursor, place);
    }
    CheckPageJump(comic_.ReadHeader(kComicBlock, "StartBook", PAGORA_CP932("スタートブック")),
                  comic_.ReadHeader(kComicBlock, "StartPage", PAGORA_CP932("スタートページ")),
                  place);
    const std::string opening = comic_.ReadHeader(kComicBlock, "Opening", "Default");
    if (opening != "Default")
        CheckFile(opening, place);
    if (musicDevice_ == "AutoSelect" || soundDevice_ == "AutoSelect")
        warning(PAGORA_CP932("MCIデバイスがAutoSelectに設定されています"), place);
    if (!reportUnused)
        return;
    for (const std::string& name : UnusedValueFlagList.names())
        warning(PAGORA_CP932("数値変数「") + name +
                    PAGORA_CP932("」は全ブックのどこからも参照されていません"),
                place);
    for (const std::string& name : UnusedStringFlagList.names())
        warning(PAGORA_CP932("文字列変数「") + name +
                    PAGORA_CP932("」は全ブックのどこからも参照されていません"),
                place);
}

} // namespace pagora
