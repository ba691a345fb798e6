#pragma once

#include <string>
#include <string_view>

namespace pagora {

class Prompter;
class TComicFileCtrl;

// The command version this editor writes, and the file type every comic carries.
inline constexpr int kCommandVersion = 15;
inline constexpr std::string_view kFileType = "PGR95";
// The file name of a comic that was never saved.
inline constexpr std::string_view kUntitledName = "NewComic";

// The two comment lines the editor writes at the head of every file, and the
// prefix of the comment lines it drops on load.
void SetEditorFileHead(TComicFileCtrl& comic);

// Replaces the comic with the new-comic template; a known user name (CP932)
// becomes its Copyright entry.
void StartNewComic(TComicFileCtrl& comic, std::string_view userName);

// The file the desktop offers for making a new comic: the new-comic
// template with the template's head lines and the user name (CP932) as its
// Copyright entry, as saved (CP932, CR LF lines).
std::string ComicTemplateBytes(Prompter& prompter, std::string_view userName);

enum class OpenVerdict { Kept, Discarded };

// The checks after a file is opened: a foreign file type or a newer command
// version asks Abort or Ignore. Abort discards the file and starts a new comic
// (the caller then names it untitled); Ignore keeps it as read.
OpenVerdict CheckOpenedComic(TComicFileCtrl& comic, Prompter& prompter, std::string_view userName);

// Writes the command version and file type into the header, as every save does.
// Written outside any edit group, the entries join the step on top of the
// history, so undo and redo still give the exact lines; mark the history clean
// once the file is written.
void StampForSave(TComicFileCtrl& comic);

} // namespace pagora
