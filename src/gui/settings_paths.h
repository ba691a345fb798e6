#pragma once

#include <QString>
#include <filesystem>
#include <optional>

namespace pagora {

class Prompter;

// The folders and files of the user's settings as the windows edit them
// (the environment dialog and the setup wizard alike).

// The plug-in folder as it is kept: with a separator at its end, except that
// an empty folder stays empty, which means there is no plug-in folder.
QString plugInFolderText(const QString& typed);

// The folder chooser "ディレクトリの指定" for the plug-in folder, starting at
// the typed folder when it exists, else at the program's folder. The chosen
// folder without a separator at its end; nothing when cancelled.
std::optional<QString> choosePlugInFolder(Prompter& prompter, const QString& typed,
                                          const std::filesystem::path& programFolder);

// The file chooser for the player program, starting in the program's folder
// with the one filter given ("Description (PagoraPl.exe)").
std::optional<QString> choosePlayerFile(Prompter& prompter, const char* filter,
                                        const std::filesystem::path& programFolder);

} // namespace pagora
