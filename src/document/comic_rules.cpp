#include "document/comic_rules.h"

#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/numbers.h"
#include "platform/prompter.h"

#include <string>

namespace pagora {
namespace {

constexpr std::string_view kComicBlock = "Comic";

// Shows the Abort/Ignore question; Abort replaces the comic with a new one.
bool keepAfterAsking(TComicFileCtrl& comic, Prompter& prompter, const std::string& question,
                     std::string_view userName) {
    if (prompter.message(MessageKind::Error, question, Buttons::AbortIgnore) != Answer::Abort)
        return true;
    StartNewComic(comic, userName);
    return false;
}

} // namespace

void SetEditorFileHead(TComicFileCtrl& comic) {
    comic.FileHead = {"/// Interactive Pagora for Win95",
                      "/// Comic Script File (Command Version " + std::to_string(kCommandVersion) +
                          ")"};
    comic.CommentPrefix = "///";
}

void StartNewComic(TComicFileCtrl& comic, std::string_view userName) {
    comic.CreateNew();
    if (!userName.empty())
        comic.WriteHeader(kComicBlock, "Copyright", userName);
    comic.History().markClean(); // the user name is part of the new comic, not a change
}

std::string ComicTemplateBytes(Prompter& prompter, std::string_view userName) {
    TComicFileCtrl comic(prompter);
    comic.CreateNew();
    comic.CommentPrefix = "///";
    comic.FileHead = {"/// Interactive Pagora for Win95", "/// Comic Script File (Template)"};
    comic.WriteHeader(kComicBlock, "Copyright", userName);
    return comic.SaveToBytes();
}

OpenVerdict CheckOpenedComic(TComicFileCtrl& comic, Prompter& prompter, std::string_view userName) {
    if (comic.ReadHeader(kComicBlock, "FileType", kFileType) != kFileType &&
        !keepAfterAsking(comic, prompter,
                         PAGORA_CP932("ファイルタイプが違います。\n"
                                      "このファイルは正常に編集できないかもしれません"),
                         userName))
        return OpenVerdict::Discarded;
    const int version = lenientInt(comic.ReadHeader(kComicBlock, "CmdVer", "15"));
    if (version > kCommandVersion &&
        !keepAfterAsking(comic, prompter,
                         PAGORA_CP932("このファイルには現バージョンで編集できない\n"
                                      "コマンドが含まれている可能性があります\n"
                                      "無理に編集するとファイルを壊してしまうかも知れません"),
                         userName))
        return OpenVerdict::Discarded;
    return OpenVerdict::Kept;
}

void StampForSave(TComicFileCtrl& comic) {
    comic.WriteHeader(kComicBlock, "CmdVer", std::to_string(kCommandVersion));
    comic.WriteHeader(kComicBlock, "FileType", kFileType);
}

} // namespace pagora
