#pragma once

#include "platform/comic_file_lookup.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace pagora {

class LFileContext;
class Prompter;

// A file that goes into a package: stored in the archive (link list) or
// copied beside it (copy list).
struct TPackageFile {
    int Flag = 0;               // link list: above 0 stored compressed, 0 as it is
    std::filesystem::path Path; // the file on disk
    std::string Name;           // CP932: its name as the comic writes it, without folders
};

// A file the last build or copy left out, and why (UTF-8).
struct TPackageFailure {
    TPackageFile File;
    std::string Reason;
};

// Gathers the files a saved comic uses and builds its package: the archive
// with the script and the pictures, and the loose files beside it. The
// package wizard and the command line tool both drive it.
class TPackageBuilder {
public:
    // dataDirectory is the comic's header value DataDirectory (CP932).
    TPackageBuilder(Prompter& prompter, std::filesystem::path comicFileName,
                    std::string dataDirectory);

    std::filesystem::path ComicFileName;
    std::string DataDirectory;
    std::string ScriptStream; // the script as packaged, filled by CollectFiles
    std::vector<TPackageFile> LinkList;
    std::vector<TPackageFile> CopyList;
    bool MissingFiles = false;
    std::string MissingMessage; // CP932, the warning CollectFiles shows

    // Called before each file of the link list is stored, with its position
    // (0 to maximum = list size - 1).
    std::function<void(const TPackageFile& file, int position, int maximum)> OnProgress;

    // What the last BuildPackage could not store and the last CopyFiles could
    // not copy. Neither shows a message for these; the caller may.
    std::vector<TPackageFailure> NotStored;
    std::vector<TPackageFailure> NotCopied;

    // When set, an archive that would lack the script or a file of the link
    // list is not written at all: BuildPackage still tries every file, so
    // that NotStored names them all, then returns false and leaves an older
    // archive of that name as it was.
    bool StoreAllOrNothing = false;

    // The file a script name (CP932) stands for, found by ComicFileLookup:
    // in the data folder, else in the comic's folder. Empty when there is
    // none, or when the name or a link leads out of the comic's folder. Each
    // name is looked up on disk once per CollectFiles.
    std::filesystem::path FindComicFile(std::string_view name);
    // Add the file to a list when it is found; each file is listed once
    // (paths compared without regard to ASCII letter case, whatever its
    // flag). A file to store
    // is compressed when it is a ".mag" or ".bmp" picture. Return whether the
    // file was found.
    bool AddLinkFile(std::string_view name);
    bool AddCopyFile(std::string_view name);
    // Take the file at position out of its list; it may be added again.
    void RemoveLinkFile(std::size_t position);
    void RemoveCopyFile(std::size_t position);

    // Fills both lists and the script from the saved comic file (not from a
    // document open in the editor): pictures of Graphic and ClickAble lines
    // and the opening file are stored; music, sound, the document and the
    // mouse cursors are copied. MAG pictures are named ".bmp" in the
    // packaged script. Files that are missing are named in one warning.
    // Throws IoError when the comic cannot be read and ConversionError when
    // a line of it cannot be read.
    void CollectFiles();
    // Writes the archive: the script as "Comic.csf", then every file of the
    // link list, MAG pictures converted to BMP. A file that cannot be stored
    // is left out (MAG pictures that cannot be converted with a warning) and
    // the build goes on. Returns whether the archive was written.
    bool BuildPackage(const std::filesystem::path& archive);
    // Copies the copy list into the archive's folder, replacing files of the
    // same name.
    void CopyFiles(const std::filesystem::path& archive);

private:
    void noteMissing(std::string_view name);
    bool storeFile(LFileContext& context, const TPackageFile& file);
    bool storeMagPicture(LFileContext& context, const TPackageFile& file);
    bool addEntry(LFileContext& context, const TPackageFile& file, std::istream& source,
                  std::string_view entryName);
    void startRun();

    Prompter& prompter_;
    ComicFileLookup files_; // one per CollectFiles
    // The files of each list, as paths folded to lower-case ASCII.
    std::unordered_set<std::string> linked_;
    std::unordered_set<std::string> copied_;
};

} // namespace pagora
