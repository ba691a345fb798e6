#include "gui/dialog_context.h"

#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/prompter.h"

namespace pagora {

bool refuseUntitled(const FileSession& file, Prompter& prompter) {
    if (!file.isUntitled())
        return false;
    prompter.warning(
        PAGORA_CP932("この機能を使うためには\nファイルを一度セーブする必要があります"));
    return true;
}

std::optional<std::filesystem::path> dataFolderForFiles(const DialogContext& context) {
    if (refuseUntitled(context.file, context.prompter()))
        return std::nullopt;
    return dataFolder(context.file.fileName,
                      context.comic.ReadHeader("Comic", "DataDirectory", ""));
}

} // namespace pagora
