#include "package/package_builder.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "images/mag_decoder.h"
#include "package/file_names.h"
#include "package/lfile_writer.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <istream>
#include <optional>
#include <streambuf>

namespace fs = std::filesystem;

namespace pagora {
namespace {

constexpr std::string_view kScriptEntryName = "Comic.csf";
constexpr std::string_view kDefault = "Default";

// The key under which a file is listed once: paths compare without regard to
// ASCII case, and "./c.wav" or "sub/../c.wav" is "c.wav".
std::string listKey(const fs::path& path) {
    std::string key = path.lexically_normal().native();
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return key;
}

// Reads bytes held elsewhere, without a copy of them.
class BytesInput : public std::streambuf {
public:
    explicit BytesInput(std::string_view bytes) {
        char* start = const_cast<char*>(bytes.data()); // never written through
        setg(start, start, start + bytes.size());
    }
};

// A failure message of the build (CP932) with, when the system refused a file,
// a second line naming the file and the system's reason.
std::string withCause(std::string_view message, const LFileContext& context) {
    std::string text(message);
    if (const std::optional<IoError>& cause = context.lastError())
        text += "\n" + toCp932Replacing(cause->path().string() + ": " +
                                        ioErrorReason(cause->errorNumber()));
    return text;
}

} // namespace

TPackageBuilder::TPackageBuilder(Prompter& prompter, fs::path comicFileName,
                                 std::string dataDirectory)
    : ComicFileName(std::move(comicFileName))
    , DataDirectory(std::move(dataDirectory))
    , prompter_(prompter)
    , files_(comicFolder(ComicFileName), DataDirectory) {
}

fs::path TPackageBuilder::FindComicFile(std::string_view name) {
    return files_.find(name);
}

bool TPackageBuilder::AddLinkFile(std::string_view name) {
    fs::path path = FindComicFile(name);
    if (path.empty())
        return false;
    const int flag = HasExtension(name, ".mag") || HasExtension(name, ".bmp") ? 1 : 0;
    if (linked_.insert(listKey(path)).second)
        LinkList.push_back({flag, std::move(path), std::string(ScriptFileNamePart(name))});
    return true;
}

bool TPackageBuilder::AddCopyFile(std::string_view name) {
    fs::path path = FindComicFile(name);
    if (path.empty())
        return false;
    if (copied_.insert(listKey(path)).second)
        CopyList.push_back({0, std::move(path), std::string(ScriptFileNamePart(name))});
    return true;
}

void TPackageBuilder::RemoveLinkFile(std::size_t position) {
    linked_.erase(listKey(LinkList.at(position).Path));
    LinkList.erase(LinkList.begin() + static_cast<std::ptrdiff_t>(position));
}

void TPackageBuilder::RemoveCopyFile(std::size_t position) {
    copied_.erase(listKey(CopyList.at(position).Path));
    CopyList.erase(CopyList.begin() + static_cast<std::ptrdiff_t>(position));
}

void TPackageBuilder::startRun() {
    files_ = ComicFileLookup(comicFolder(ComicFileName), DataDirectory);
    LinkList.clear();
    CopyList.clear();
    linked_.clear();
    copied_.clear();
}

void TPackageBuilder::noteMissing(std::string_view name) {
    MissingFiles = true;
    // Grown once for the name and its ", ", so that a huge name is not held twice over.
    const std::size_t needed = MissingMessage.size() + name.size() + 2;
    if (needed > MissingMessage.capacity())
        MissingMessage.reserve(std::max(needed, 2 * MissingMessage.capacity()));
    MissingMessage.append(name).append(", ");
}

void TPackageBuilder::CollectFiles() {
    TComicFileCtrl comic(prompter_);
    comic.LoadFromFile(ComicFileName);
    startRun();
    MissingMessage =
        PAGORA_CP932("コミックファイルからアクセスされているファイルが見つかりません\n");
    MissingFiles = false;

    TCmdCtrl syntax(prompter_);
    for (const std::string& book : comic.GetBookList()) {
        for (const std::string& page : comic.GetPageList(book)) {
            const int count = comic.GetCommandCount(book, page);
            for (int index = 0; index < count; ++index) {
                // Valid until SetCommand, which comes after the last use.
                const std::string_view line = comic.PeekCommand(book, page, index);
                switch (TCmdCtrl::GetCommandKind(line)) {
                case CmdKind::Graphic: {
                    TCmdGraphic graphic = syntax.ParseGraphic(line);
                    if (!AddLinkFile(graphic.FileName))
                        noteMissing(graphic.FileName);
                    if (HasExtension(graphic.FileName, ".mag")) {
                        graphic.FileName = ChangeExtension(graphic.FileName, ".bmp");
                        comic.SetCommand(book, page, syntax.BuildGraphic(graphic), index);
                    }
                    break;
                }
                case CmdKind::Music: {
                    const TCmdMusic music = syntax.ParseMusic(line);
                    if (!AddCopyFile(music.FileName))
                        noteMissing(music.FileName);
                    break;
                }
                case CmdKind::Sound: {
                    const TCmdSound sound = syntax.ParseSound(line);
                    if (!AddCopyFile(sound.FileName))
                        noteMissing(sound.FileName);
                    break;
                }
                case CmdKind::ClickAble: {
                    TCmdClickAble area = syntax.ParseClickAble(line);
                    if (area.ImageFile.empty())
                        break;
                    if (!AddLinkFile(area.ImageFile))
                        noteMissing(area.ImageFile);
                    if (HasExtension(area.ImageFile, ".mag")) {
                        area.ImageFile = ChangeExtension(area.ImageFile, ".bmp");
                        comic.SetCommand(book, page, syntax.BuildClickAble(area), index);
                    }
                    break;
                }
                default:
                    break;
                }
            }
        }
    }
    // Files named in the header are not listed in the warning.
    const std::string opening = comic.ReadHeader("Comic", "Opening", kDefault);
    if (opening != kDefault) {
        if (!AddLinkFile(opening))
            MissingFiles = true;
        // The opening picture is stored as BMP too, so the packaged script must name it so.
        if (HasExtension(opening, ".mag"))
            comic.WriteHeader("Comic", "Opening", ChangeExtension(opening, ".bmp"));
    }
    const std::string document = comic.ReadHeader("Comic", "Document", "");
    if (!document.empty() && !AddCopyFile(document))
        MissingFiles = true;
    for (const std::string_view key : {"MouseCursorNormal", "MouseCursorKeyWait",
                                       "MouseCursorTimeCount", "MouseCursorClickAble"}) {
        const std::string cursor = comic.ReadHeader("Comic", key, kDefault);
        if (cursor != kDefault && !AddCopyFile(cursor))
            MissingFiles = true;
    }
    // Warned before the script is made, so that a long message and the
    // script are not held at once.
    if (MissingFiles)
        prompter_.warning(MissingMessage);
    ScriptStream = comic.SaveToBytes();
}

bool TPackageBuilder::storeFile(LFileContext& context, const TPackageFile& file) {
    if (HasExtension(file.Name, ".mag"))
        return storeMagPicture(context, file);
    errno = 0;
    std::ifstream source(file.Path, std::ios::binary);
    if (!source) {
        NotStored.push_back(
            {file, std::string("the file cannot be read: ") +
                       IoError(file.Path, FileAction::Open, errno != 0 ? errno : EIO).what()});
        return false;
    }
    return addEntry(context, file, source, file.Name);
}

bool TPackageBuilder::storeMagPicture(LFileContext& context, const TPackageFile& file) {
    std::optional<std::vector<std::uint8_t>> bmp;
    std::string reason = "the MAG picture cannot be converted";
    try {
        const std::string mag = readWholeFile(file.Path);
        bmp = TM2BC::ConvertToBmp({reinterpret_cast<const std::uint8_t*>(mag.data()), mag.size()});
    } catch (const IoError& error) {
        reason += std::string(": ") + error.what();
    }
    if (!bmp) {
        prompter_.warning(PAGORA_CP932("Failed by MMAG_MagtoBmp"));
        NotStored.push_back({file, reason});
        return false;
    }
    BytesInput bytes({reinterpret_cast<const char*>(bmp->data()), bmp->size()});
    std::istream source(&bytes);
    return addEntry(context, file, source, ChangeExtension(file.Name, ".bmp"));
}

bool TPackageBuilder::addEntry(LFileContext& context, const TPackageFile& file,
                               std::istream& source, std::string_view entryName) {
    const bool stored = file.Flag > 0 ? LFile_FileLinkageAddCompress(context, source, entryName)
                                      : LFile_FileLinkageAdd(context, source, entryName);
    if (!stored) {
        std::string reason = "the file cannot be read or stored";
        if (const std::optional<IoError>& cause = context.lastError())
            reason += std::string(": ") + cause->what();
        NotStored.push_back({file, reason});
    }
    return stored;
}

bool TPackageBuilder::BuildPackage(const fs::path& archive) {
    NotStored.clear();
    LFileContext context(prompter_);
    LFile_FileLinkageInit(context);
    context.LinkageFileName = archive;
    LFile_SetFileType(context.Header.Magic, kPackageMagic);
    LFile_FileLinkageClean(context);

    BytesInput scriptBytes(ScriptStream);
    std::istream script(&scriptBytes);
    const bool scriptStored = LFile_FileLinkageAdd(context, script, kScriptEntryName);
    if (!scriptStored)
        prompter_.error(withCause(
            PAGORA_CP932("Error : LFile_FileLinkageAdd() File : ComicScriptFile"), context));

    const int maximum = static_cast<int>(LinkList.size()) - 1;
    for (std::size_t i = 0; i < LinkList.size(); ++i) {
        if (OnProgress)
            OnProgress(LinkList[i], static_cast<int>(i), maximum);
        storeFile(context, LinkList[i]);
    }
    if (StoreAllOrNothing && (!scriptStored || !NotStored.empty()))
        return false;
    if (!LFile_FileLinkageEnd(context)) {
        prompter_.error(withCause(PAGORA_CP932("Error : LFile_FileLinkageEnd()"), context));
        return false;
    }
    return true;
}

void TPackageBuilder::CopyFiles(const fs::path& archive) {
    NotCopied.clear();
    const fs::path folder = archive.parent_path();
    for (const TPackageFile& file : CopyList) {
        // Read whole before writing, so a file copied onto itself stays whole.
        try {
            writeFileAtomically(folder / toUtf8(file.Name), readWholeFile(file.Path));
        } catch (const IoError& error) {
            NotCopied.push_back({file, error.what()});
        }
    }
}

} // namespace pagora
