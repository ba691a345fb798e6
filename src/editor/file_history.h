#pragma once

#include <QString>
#include <array>
#include <string>

namespace pagora {

// The three most recent files, most recent first (UTF-8 paths; empty = no entry).
using FileHistory = std::array<std::string, 3>;

// Puts path first. An older entry with the same file name (folder ignored,
// letter case ignored) is dropped and the entries after it stay where they
// are; otherwise the oldest entry falls off the end.
void addFileHistory(FileHistory& history, const std::string& path);

// The menu caption of entry index (0 to 2): "&1 " and the file name without
// its folder.
QString historyCaption(int index, const std::string& path);

} // namespace pagora
