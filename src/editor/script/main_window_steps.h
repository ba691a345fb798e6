#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pagora {

class TfrmMain;

// The steps of a script that act on the main window itself.

// Opens a comic as the editor does, the checks on opening included; errors
// are shown as the editor shows them.
void openComicStep(TfrmMain& window, const std::filesystem::path& path);
// Opens a page (names in CP932); throws LookupMiss when the comic has no such page.
void openPageStep(TfrmMain& window, const std::string& book, const std::string& page);
// Drops a node of the tree on another, as a finished drag does: the dragged
// node is made current and the drop goes to the window. A node is named
// "BOOK", "BOOK/PAGE", or "" for the root (CP932); throws LookupMiss when the
// tree has no such node.
void dropTreeNodeStep(TfrmMain& window, const std::string& from, const std::string& onto);
// Focuses and selects a line of the command list; throws LookupMiss when
// the page has no such line.
void focusLineStep(TfrmMain& window, int line);
// The open page's command lines (UTF-8).
std::vector<std::string> openPageLines(TfrmMain& window);

} // namespace pagora
