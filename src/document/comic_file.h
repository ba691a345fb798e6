#pragma once

#include "document/edit_history.h"
#include "document/line_store.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pagora {

class Prompter;

// Where the block structure of the body breaks: the message the rebuild stops
// with (CP932) and the body line it stops at, counted from 0. The body holds
// neither the file comment lines nor the empty lines of the file.
struct StructureProblem {
    std::string message;
    int line = 0;
    bool operator==(const StructureProblem&) const = default;
};

// The open comic: the file body as a flat list of CP932 lines, exactly as in
// the file, with an index of page and header block ranges rebuilt from the
// lines. Every change goes through three line primitives (insert, replace,
// delete), which keep the index true and record into the edit history.
//
// Books and pages are named by their CP932 names; command line indexes count
// from 0 within a page. Operations on a book or page that does not exist do
// nothing, and indexes outside the page are ignored.
class TComicFileCtrl final : private LineEditor {
public:
    explicit TComicFileCtrl(Prompter& prompter);

    // Written before the body on every save.
    std::vector<std::string> FileHead;
    // Lines beginning with this prefix are dropped on load.
    std::string CommentPrefix = "///";

    // The body, one entry per line.
    int LineCount() const { return lines_.size(); }
    const std::string& Line(int number) const { return lines_[number]; }
    std::vector<std::string> Lines() const { return lines_.toVector(); }

    // Undo and redo of this comic's changes; new and open clear it.
    EditHistory& History() { return history_; }
    const EditHistory& History() const { return history_; }
    // Raised by every change of the lines (an edit, its undo or redo, a new or
    // opened file), so a view can tell whether what it shows is still current.
    std::uint64_t ChangeCount() const { return changeCount_; }

    // --- file ---
    void CreateNew();
    // Throws IoError when the file cannot be read, and refuses what is not a
    // regular file or is larger than 2 GiB before reading it; the document
    // is then unchanged.
    void LoadFromFile(const std::filesystem::path& path);
    void LoadFromBytes(std::string_view bytes);
    // Saves atomically. Throws IoError; a failed save leaves the old file whole.
    void SaveToFile(const std::filesystem::path& path) const;
    void SaveToStream(std::ostream& stream) const;
    std::string SaveToBytes() const;

    // The problem the last rebuild stopped at, none while the structure is sound.
    // Loading and every change of books, pages or header blocks that leaves
    // the structure broken show its message once; rebuilds for lookups and
    // after line operations stay silent.
    const std::optional<StructureProblem>& LastStructureProblem() const { return problem_; }

    // --- header blocks ---
    std::string ReadHeader(std::string_view block, std::string_view key,
                           std::string_view defaultValue) const;
    void WriteHeader(std::string_view block, std::string_view key, std::string_view value);
    void DeleteHeader(std::string_view block, std::string_view key);
    // The first entry of oldKey takes newKey in its place, its value kept;
    // false when the block holds no such entry.
    bool RenameHeaderKey(std::string_view block, std::string_view oldKey, std::string_view newKey);
    std::vector<std::string> GetHeaderKeys(std::string_view block) const;
    // Key and value of every entry, in order (the keys of GetHeaderKeys), in one pass.
    std::vector<std::pair<std::string, std::string>> GetHeaderEntries(std::string_view block) const;
    void AddHeadBlock(std::string_view name);

    // --- books and pages ---
    std::vector<std::string> GetBookList() const;
    std::vector<std::string> GetPageList(std::string_view book) const;
    bool BookExists(std::string_view name) const;
    bool PageExists(std::string_view book, std::string_view page) const;
    // Both refuse a duplicate name with an error box and return false.
    bool AddBook(std::string_view name);
    bool AddPage(std::string_view book, std::string_view page);
    void DeleteBook(std::string_view name);
    void DeletePage(std::string_view book, std::string_view page);
    void RenameBook(std::string_view oldName, std::string_view newName);
    void RenamePage(std::string_view book, std::string_view oldName, std::string_view newName);
    void MoveBook(std::string_view target, std::string_view source, bool before);
    void MovePage(std::string_view targetBook, std::string_view targetPage, bool before,
                  std::string_view sourcePage, std::string_view sourceBook);

    // --- command lines of a page ---
    std::string GetCommand(std::string_view book, std::string_view page, int index) const;
    // The same line without a copy, for readers that walk many lines; valid
    // until the comic changes.
    std::string_view PeekCommand(std::string_view book, std::string_view page, int index) const;
    std::vector<std::string_view> PeekCommands(std::string_view book, std::string_view page) const;
    void SetCommand(std::string_view book, std::string_view page, std::string_view line, int index);
    void InsertCommand(std::string_view book, std::string_view page, int index);
    void AppendCommand(std::string_view book, std::string_view page);
    void DeleteCommand(std::string_view book, std::string_view page, int index);
    int GetCommandCount(std::string_view book, std::string_view page) const;

private:
    enum class BlockType { Page, Header };

    // A block as views, for lookups that copy nothing.
    struct BlockRef {
        BlockType type;
        std::string_view book; // pages only
        std::string_view name;
        bool operator==(const BlockRef&) const = default;
    };

    struct BlockKey {
        explicit BlockKey(const BlockRef& ref)
            : type(ref.type)
            , book(ref.book)
            , name(ref.name) {}
        BlockRef ref() const { return {type, book, name}; }

        BlockType type;
        std::string book; // pages only
        std::string name;
    };

    // Lines first to last of the body; empty when last < first.
    struct Range {
        int first;
        int last;
        int count() const { return last - first + 1; }
    };

    struct IndexEntry {
        BlockKey key;
        Range range; // before the pending shift
    };

    // Lines inserted or deleted between two recorded markers move every
    // recorded marker from `from` on by delta. Further changes in the same
    // gap between markers add to delta, so editing one page touches no entry.
    struct PendingShift {
        int after; // one past the last recorded marker before the gap
        int from;  // the first recorded marker after it, before the shift
        int delta;
        bool covers(int position) const {
            return position >= after && position <= static_cast<long long>(from) + delta;
        }
    };

    struct CacheEntry {
        BlockKey key;
        Range range;
    };

    static BlockRef pageKey(std::string_view book, std::string_view page);
    static std::string hashKey(const BlockRef& key);
    static BlockRef headerKey(std::string_view block);

    // Whether a rebuild shows the problem it stops at.
    enum class Report { Silent, Show };

    void replaceBody(std::vector<std::string> lines);
    void RebuildIndex(Report report) const;
    void stopRebuild(const std::string& message, int line, Report report) const;
    void recordBlock(const BlockRef& key, Range range) const;
    void ensureIndex() const;
    std::optional<Range> findBlock(const BlockRef& key) const;
    std::optional<int> commandLine(std::string_view book, std::string_view page, int index) const;
    static Range shifted(Range range, long long position, int delta);
    Range rangeOf(std::size_t entry) const;
    void markIndexStale();
    void linesMoved(int position, int delta);
    void flushShift();
    PendingShift gapAround(int position, int delta) const;
    std::vector<std::string> headerBlocksTouched(int position, int removeCount,
                                                 std::span<const std::string> inserted);

    // Start and end marker lines of the first complete book of that name.
    std::optional<Range> findBookMarkers(std::string_view name) const;
    std::vector<std::string> takeLines(int first, int last);

    // The line primitives: nothing else changes lines_. Each records what it
    // did and keeps the index true: a change of plain lines shifts it, a
    // change of a marker line marks it for a rebuild at the next lookup. What
    // they replace or delete goes to the history when it records, else back
    // to the caller.
    void insertLines(int position, std::vector<std::string> lines);
    std::string replaceLine(int position, std::string line);
    std::vector<std::string> deleteLines(int position, int count);

    std::vector<std::string> replaySplice(int position, int removeCount,
                                          std::vector<std::string> lines) override;
    void replayFinished() override;

    Prompter& prompter_;
    LineStore lines_;
    mutable std::vector<IndexEntry> index_;
    mutable std::unordered_map<std::string, std::size_t>
        firstEntry_;                                 // hashKey -> first entry of index_
    mutable std::vector<std::size_t> headerEntries_; // entries of header blocks
    mutable std::optional<PendingShift> shift_;
    mutable bool indexDirty_ = true;
    mutable std::optional<CacheEntry> cache_;
    mutable std::optional<StructureProblem> problem_;
    EditHistory history_{*this};
    std::uint64_t changeCount_ = 0;
};

} // namespace pagora
