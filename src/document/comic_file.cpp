#include "document/comic_file.h"

#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/prompter.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <ostream>
#include <unordered_set>

namespace pagora {
namespace {

constexpr std::string_view kPageEnd = "<Page End>";
constexpr std::string_view kBookEnd = "<Book End>";
constexpr std::string_view kHeadEnd = "<Head End>";
constexpr std::string_view kEmptyLine = "// ";
constexpr std::uint64_t kLargestComicFile = std::uint64_t{2} << 30;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Characters 2 to 5 of a marker line: "Page", "Book", "Head" or anything else.
std::string_view markerWord(std::string_view line) {
    return line.size() < 5 ? std::string_view() : line.substr(1, 4);
}

// Lines the index rebuild looks at; every other line only moves the markers.
bool isMarker(std::string_view line) {
    return !line.empty() && line[0] == '<';
}

bool anyMarker(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return isMarker(line); });
}

bool isBookStart(std::string_view line) {
    return !line.empty() && line[0] == '<' && markerWord(line) == "Book" && line != kBookEnd;
}

// The name of a start marker: the text between its first two double quotes,
// everything after a lone quote, or from the sixth character without quotes.
std::string markerName(std::string_view line) {
    const std::size_t open = line.find('"');
    if (open == std::string_view::npos)
        return std::string(line.size() > 5 ? line.substr(5) : std::string_view());
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos)
        return std::string(line.substr(open + 1));
    return std::string(line.substr(open + 1, close - open - 1));
}

std::string startMarker(std::string_view word, std::string_view name) {
    std::string marker = "<";
    marker.append(word).append("=\"").append(name).append("\">");
    return marker;
}

std::vector<std::string> splitLines(std::string_view bytes, std::string_view dropPrefix) {
    std::vector<std::string> lines;
    lines.reserve(bytes.size() / 24);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && (dropPrefix.empty() || !startsWith(line, dropPrefix)))
            lines.emplace_back(line);
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace

TComicFileCtrl::TComicFileCtrl(Prompter& prompter)
    : prompter_(prompter) {
}

TComicFileCtrl::BlockRef TComicFileCtrl::pageKey(std::string_view book, std::string_view page) {
    return {BlockType::Page, book, page};
}

TComicFileCtrl::BlockRef TComicFileCtrl::headerKey(std::string_view block) {
    return {BlockType::Header, {}, block};
}

// Unambiguous even for names holding any byte.
std::string TComicFileCtrl::hashKey(const BlockRef& key) {
    std::string text(1, key.type == BlockType::Page ? 'P' : 'H');
    text.append(std::to_string(key.book.size())).append(":").append(key.book).append(key.name);
    return text;
}

// --- file ---

void TComicFileCtrl::CreateNew() {
    replaceBody({
        "<Head=\"Comic\">",
        "FileType=PGR95",
        "CmdVer=0",
        PAGORA_CP932("StartBook=スタートブック"),
        PAGORA_CP932("StartPage=スタートページ"),
        "MciMusic=Sequencer",
        "MciSound=WaveAudio",
        "SelectChange=1",
        "ShowKeyWaitChar=1",
        std::string(kHeadEnd),
        PAGORA_CP932("<Book=\"スタートブック\">"),
        PAGORA_CP932("<Page=\"スタートページ\">"),
        std::string(kEmptyLine),
        std::string(kPageEnd),
        std::string(kBookEnd),
    });
}

void TComicFileCtrl::LoadFromFile(const std::filesystem::path& path) {
    LoadFromBytes(readRegularFile(path, kLargestComicFile));
}

void TComicFileCtrl::LoadFromBytes(std::string_view bytes) {
    replaceBody(splitLines(bytes, CommentPrefix));
}

void TComicFileCtrl::replaceBody(std::vector<std::string> lines) {
    lines_.assign(std::move(lines));
    ++changeCount_;
    history_.clear();
    indexDirty_ = true;
    RebuildIndex(Report::Show);
}

void TComicFileCtrl::SaveToFile(const std::filesystem::path& path) const {
    writeFileAtomically(path, SaveToBytes());
}

void TComicFileCtrl::SaveToStream(std::ostream& stream) const {
    const std::string bytes = SaveToBytes();
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TComicFileCtrl::SaveToBytes() const {
    std::size_t size = 0;
    for (const std::string& line : FileHead)
        size += line.size() + 2;
    for (int number = 0; number < lines_.size(); ++number)
        size += lines_[number].size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : FileHead)
        bytes.append(line).append("\r\n");
    for (int number = 0; number < lines_.size(); ++number)
        bytes.append(lines_[number]).append("\r\n");
    return bytes;
}

// --- index ---

// Walks the lines, records every closed page and header block, and stops at
// the first structural error. An index that stopped is as true as any: the
// line primitives keep it so until a marker line changes.
void TComicFileCtrl::RebuildIndex(Report report) const {
    index_.clear();
    firstEntry_.clear();
    headerEntries_.clear();
    shift_.reset();
    cache_.reset();
    indexDirty_ = false;
    std::string header, book, page;
    int headerStart = 0, pageStart = 0;
    for (int number = 0; number < lines_.size(); ++number) {
        const std::string& line = lines_[number];
        if (line.empty() || line[0] != '<')
            continue;
        const std::string_view word = markerWord(line);
        if (word == "Page") {
            if (line != kPageEnd) {
                page = markerName(line);
                pageStart = number + 1;
            } else if (book.empty()) {
                stopRebuild(PAGORA_CP932(
                                "ファイルが破損しています\r\n[Book/Page block construction error]"),
                            number, report);
                return;
            } else if (pageStart == 0) {
                stopRebuild(
                    PAGORA_CP932("ファイルが破損しています\r\n[Page block miss start flag]"),
                    number, report);
                return;
            } else {
                recordBlock(pageKey(book, page), {pageStart, number - 1});
                pageStart = 0;
            }
        } else if (word == "Book") {
            book = line == kBookEnd ? std::string() : markerName(line);
        } else if (word == "Head") {
            if (line != kHeadEnd) {
                header = markerName(line);
                headerStart = number + 1;
            } else if (header.empty()) {
                stopRebuild(
                    PAGORA_CP932("ファイルが破損しています\r\n[Header block miss start flag]"),
                    number, report);
                return;
            } else {
                recordBlock(headerKey(header), {headerStart, number - 1});
                header.clear();
            }
        } else {
            stopRebuild(PAGORA_CP932("ファイル内に未知のブロックが存在します\r\n"
                                     "ファイル保護のため処理を停止します"),
                        number, report);
            return;
        }
    }
    problem_.reset();
}

void TComicFileCtrl::stopRebuild(const std::string& message, int line, Report report) const {
    problem_ = StructureProblem{message, line};
    if (report == Report::Show)
        prompter_.error(message);
}

void TComicFileCtrl::recordBlock(const BlockRef& key, Range range) const {
    firstEntry_.try_emplace(hashKey(key), index_.size());
    if (key.type == BlockType::Header)
        headerEntries_.push_back(index_.size());
    index_.push_back({BlockKey(key), range});
}

void TComicFileCtrl::ensureIndex() const {
    if (indexDirty_)
        RebuildIndex(Report::Silent);
}

// The cache is dropped whenever the index goes stale, and shifted with it.
std::optional<TComicFileCtrl::Range> TComicFileCtrl::findBlock(const BlockRef& key) const {
    if (cache_ && cache_->key.ref() == key)
        return cache_->range;
    ensureIndex();
    const auto found = firstEntry_.find(hashKey(key));
    if (found == firstEntry_.end())
        return std::nullopt;
    const Range range = rangeOf(found->second);
    cache_ = CacheEntry{BlockKey(key), range};
    return range;
}

// A range after lines were inserted (delta > 0) or deleted at position: its
// start and end markers move when they lie at or after it.
TComicFileCtrl::Range TComicFileCtrl::shifted(Range range, long long position, int delta) {
    if (range.first - 1 >= position)
        range.first += delta;
    if (range.last + 1 >= position)
        range.last += delta;
    return range;
}

TComicFileCtrl::Range TComicFileCtrl::rangeOf(std::size_t entry) const {
    const Range range = index_[entry].range;
    return shift_ ? shifted(range, shift_->from, shift_->delta) : range;
}

void TComicFileCtrl::markIndexStale() {
    indexDirty_ = true;
    cache_.reset();
}

// Plain lines inserted or deleted at position, no marker among them.
void TComicFileCtrl::linesMoved(int position, int delta) {
    if (cache_)
        cache_->range = shifted(cache_->range, position, delta);
    if (problem_ && problem_->line >= position)
        problem_->line += delta;
    if (indexDirty_)
        return;
    if (shift_ && shift_->covers(position)) {
        shift_->delta += delta;
        return;
    }
    flushShift();
    shift_ = gapAround(position, delta);
}

void TComicFileCtrl::flushShift() {
    if (!shift_)
        return;
    for (std::size_t entry = 0; entry < index_.size(); ++entry)
        index_[entry].range = rangeOf(entry);
    shift_.reset();
}

TComicFileCtrl::PendingShift TComicFileCtrl::gapAround(int position, int delta) const {
    PendingShift shift{0, std::numeric_limits<int>::max(), delta};
    for (const IndexEntry& entry : index_) {
        for (const int marker : {entry.range.first - 1, entry.range.last + 1}) {
            if (marker < position)
                shift.after = std::max(shift.after, marker + 1);
            else
                shift.from = std::min(shift.from, marker);
        }
    }
    return shift;
}

// The header blocks a splice at position changes: those whose lines or
// markers it removes or inserts into, and those whose start markers it inserts.
std::vector<std::string>
TComicFileCtrl::headerBlocksTouched(int position, int removeCount,
                                    std::span<const std::string> inserted) {
    ensureIndex();
    std::vector<std::string> names;
    for (const std::size_t entry : headerEntries_) {
        const Range range = rangeOf(entry);
        if (position <= range.last + 1 && position + removeCount > range.first - 1)
            names.push_back(index_[entry].key.name);
    }
    for (const std::string& line : inserted)
        if (isMarker(line) && markerWord(line) == "Head" && line != kHeadEnd)
            names.push_back(markerName(line));
    return names;
}

// --- line primitives ---

void TComicFileCtrl::insertLines(int position, std::vector<std::string> lines) {
    const int count = static_cast<int>(lines.size());
    const bool markers = anyMarker(lines);
    if (history_.records())
        history_.record(position, {}, count, headerBlocksTouched(position, 0, lines));
    else
        history_.noteUnrecordedChange();
    lines_.insert(position, std::move(lines));
    ++changeCount_;
    if (markers)
        markIndexStale();
    else
        linesMoved(position, count);
}

std::string TComicFileCtrl::replaceLine(int position, std::string line) {
    if (lines_[position] == line)
        return line;
    const bool markers = isMarker(lines_[position]) || isMarker(line);
    std::vector<std::string> headers;
    if (history_.records())
        headers = headerBlocksTouched(position, 1, {&line, 1});
    std::string removed = lines_.replace(position, std::move(line));
    ++changeCount_;
    if (markers)
        markIndexStale();
    if (!history_.records()) {
        history_.noteUnrecordedChange();
        return removed;
    }
    history_.recordReplace(position, std::move(removed), std::move(headers));
    return {};
}

std::vector<std::string> TComicFileCtrl::deleteLines(int position, int count) {
    bool markers = false;
    for (int number = position; number < position + count && !markers; ++number)
        markers = isMarker(lines_[number]);
    std::vector<std::string> headers;
    if (history_.records())
        headers = headerBlocksTouched(position, count, {});
    std::vector<std::string> removed = lines_.take(position, count);
    ++changeCount_;
    if (markers)
        markIndexStale();
    else
        linesMoved(position, -count);
    if (!history_.records()) {
        history_.noteUnrecordedChange();
        return removed;
    }
    history_.record(position, std::move(removed), 0, std::move(headers));
    return {};
}

std::vector<std::string> TComicFileCtrl::replaySplice(int position, int removeCount,
                                                      std::vector<std::string> lines) {
    if (removeCount == 1 && lines.size() == 1)
        return {replaceLine(position, std::move(lines.front()))};
    std::vector<std::string> removed;
    if (removeCount > 0)
        removed = deleteLines(position, removeCount);
    if (!lines.empty())
        insertLines(position, std::move(lines));
    return removed;
}

void TComicFileCtrl::replayFinished() {
    ensureIndex();
}

std::vector<std::string> TComicFileCtrl::takeLines(int first, int last) {
    std::vector<std::string> taken;
    for (int number = first; number <= last; ++number)
        taken.push_back(lines_[number]);
    deleteLines(first, last - first + 1);
    return taken;
}

// --- header blocks ---

std::string TComicFileCtrl::ReadHeader(std::string_view block, std::string_view key,
                                       std::string_view defaultValue) const {
    const std::optional<Range> range = findBlock(headerKey(block));
    if (range) {
        const std::string prefix = std::string(key) + "=";
        for (int number = range->first; number <= range->last; ++number) {
            const std::string& line = lines_[number];
            if (startsWith(line, prefix))
                return line.substr(prefix.size());
        }
    }
    return std::string(defaultValue);
}

void TComicFileCtrl::WriteHeader(std::string_view block, std::string_view key,
                                 std::string_view value) {
    std::optional<Range> range = findBlock(headerKey(block));
    if (!range) {
        AddHeadBlock(block);
        range = findBlock(headerKey(block));
        if (!range)
            return; // the rebuild stopped at a broken block before reaching the new one
    }
    const std::string prefix = std::string(key) + "=";
    std::string entry = prefix + std::string(value);
    for (int number = range->first; number <= range->last; ++number) {
        if (startsWith(lines_[number], prefix)) {
            replaceLine(number, std::move(entry));
            ensureIndex();
            return;
        }
    }
    insertLines(range->last + 1, {std::move(entry)});
    ensureIndex();
}

void TComicFileCtrl::DeleteHeader(std::string_view block, std::string_view key) {
    const std::optional<Range> range = findBlock(headerKey(block));
    if (!range)
        return;
    const std::string prefix = std::string(key) + "=";
    for (int number = range->first; number <= range->last; ++number) {
        if (startsWith(lines_[number], prefix)) {
            deleteLines(number, 1);
            ensureIndex();
            return;
        }
    }
}

bool TComicFileCtrl::RenameHeaderKey(std::string_view block, std::string_view oldKey,
                                     std::string_view newKey) {
    const std::optional<Range> range = findBlock(headerKey(block));
    if (!range)
        return false;
    const std::string prefix = std::string(oldKey) + "=";
    for (int number = range->first; number <= range->last; ++number) {
        if (startsWith(lines_[number], prefix)) {
            replaceLine(number, std::string(newKey) + lines_[number].substr(oldKey.size()));
            ensureIndex();
            return true;
        }
    }
    return false;
}

std::vector<std::string> TComicFileCtrl::GetHeaderKeys(std::string_view block) const {
    std::vector<std::string> keys;
    for (auto& entry : GetHeaderEntries(block))
        keys.push_back(std::move(entry.first));
    return keys;
}

std::vector<std::pair<std::string, std::string>>
TComicFileCtrl::GetHeaderEntries(std::string_view block) const {
    std::vector<std::pair<std::string, std::string>> entries;
    const std::optional<Range> range = findBlock(headerKey(block));
    if (!range)
        return entries;
    for (int number = range->first; number <= range->last; ++number) {
        const std::string& line = lines_[number];
        const std::size_t equals = line.find('=');
        if (!startsWith(line, "//") && equals != std::string::npos)
            entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return entries;
}

void TComicFileCtrl::AddHeadBlock(std::string_view name) {
    insertLines(lines_.size(),
                {startMarker("Head", name), std::string(kEmptyLine), std::string(kHeadEnd)});
    RebuildIndex(Report::Show);
}

// --- books and pages ---

std::vector<std::string> TComicFileCtrl::GetBookList() const {
    ensureIndex();
    std::vector<std::string> books;
    std::unordered_set<std::string> seen;
    for (const IndexEntry& entry : index_)
        if (entry.key.type == BlockType::Page && seen.insert(entry.key.book).second)
            books.push_back(entry.key.book);
    return books;
}

std::vector<std::string> TComicFileCtrl::GetPageList(std::string_view book) const {
    ensureIndex();
    std::vector<std::string> pages;
    for (const IndexEntry& entry : index_)
        if (entry.key.type == BlockType::Page && entry.key.book == book)
            pages.push_back(entry.key.name);
    return pages;
}

bool TComicFileCtrl::BookExists(std::string_view name) const {
    ensureIndex();
    return std::any_of(index_.begin(), index_.end(), [name](const IndexEntry& entry) {
        return entry.key.type == BlockType::Page && entry.key.book == name;
    });
}

bool TComicFileCtrl::PageExists(std::string_view book, std::string_view page) const {
    return findBlock(pageKey(book, page)).has_value();
}

bool TComicFileCtrl::AddBook(std::string_view name) {
    if (BookExists(name)) {
        prompter_.error(PAGORA_CP932("ブック名が重複しています"));
        return false;
    }
    insertLines(lines_.size(),
                {startMarker("Book", name), PAGORA_CP932("<Page=\"最初のページ\">"),
                 std::string(kEmptyLine), std::string(kPageEnd), std::string(kBookEnd)});
    RebuildIndex(Report::Show);
    return true;
}

bool TComicFileCtrl::AddPage(std::string_view book, std::string_view page) {
    if (PageExists(book, page)) {
        prompter_.error(PAGORA_CP932("ページ名が重複しています"));
        return false;
    }
    const std::optional<Range> markers = findBookMarkers(book);
    if (!markers)
        return false;
    insertLines(markers->last,
                {startMarker("Page", page), std::string(kEmptyLine), std::string(kPageEnd)});
    RebuildIndex(Report::Show);
    return true;
}

void TComicFileCtrl::DeleteBook(std::string_view name) {
    const std::optional<Range> markers = findBookMarkers(name);
    if (!markers)
        return;
    deleteLines(markers->first, markers->count());
    RebuildIndex(Report::Show);
}

void TComicFileCtrl::DeletePage(std::string_view book, std::string_view page) {
    const std::optional<Range> range = findBlock(pageKey(book, page));
    if (!range)
        return;
    deleteLines(range->first - 1, range->count() + 2);
    RebuildIndex(Report::Show);
}

void TComicFileCtrl::RenameBook(std::string_view oldName, std::string_view newName) {
    const std::string oldMarker = startMarker("Book", oldName);
    for (int number = 0; number < lines_.size(); ++number)
        if (lines_[number] == oldMarker)
            replaceLine(number, startMarker("Book", newName));
    RebuildIndex(Report::Show);
}

void TComicFileCtrl::RenamePage(std::string_view book, std::string_view oldName,
                                std::string_view newName) {
    const std::optional<Range> range = findBlock(pageKey(book, oldName));
    if (!range)
        return;
    if (lines_[range->first - 1] == startMarker("Page", oldName))
        replaceLine(range->first - 1, startMarker("Page", newName));
    RebuildIndex(Report::Show);
}

// The walk that a book move and deletion use: a book opens at its start
// marker and closes at the next "<Book End>", unless another book opens first.
std::optional<TComicFileCtrl::Range> TComicFileCtrl::findBookMarkers(std::string_view name) const {
    std::optional<int> openedAt;
    for (int number = 0; number < lines_.size(); ++number) {
        const std::string& line = lines_[number];
        if (isBookStart(line)) {
            openedAt = markerName(line) == name ? std::optional<int>(number) : std::nullopt;
        } else if (line == kBookEnd) {
            if (openedAt)
                return Range{*openedAt, number};
        }
    }
    return std::nullopt;
}

void TComicFileCtrl::MoveBook(std::string_view target, std::string_view source, bool before) {
    if (target == source || !findBookMarkers(source) || !findBookMarkers(target))
        return;
    const Range sourceMarkers = *findBookMarkers(source);
    std::vector<std::string> block = takeLines(sourceMarkers.first, sourceMarkers.last);
    const Range targetMarkers = *findBookMarkers(target);
    insertLines(before ? targetMarkers.first : targetMarkers.last + 1, std::move(block));
    RebuildIndex(Report::Show);
}

void TComicFileCtrl::MovePage(std::string_view targetBook, std::string_view targetPage, bool before,
                              std::string_view sourcePage, std::string_view sourceBook) {
    if (targetBook == sourceBook && targetPage == sourcePage)
        return;
    if (targetBook != sourceBook && PageExists(targetBook, sourcePage))
        return;
    const std::optional<Range> sourceRange = findBlock(pageKey(sourceBook, sourcePage));
    if (!sourceRange || !findBlock(pageKey(targetBook, targetPage)))
        return;
    std::vector<std::string> block = takeLines(sourceRange->first - 1, sourceRange->last + 1);
    const std::optional<Range> targetRange = findBlock(pageKey(targetBook, targetPage));
    if (!targetRange) {
        // The rebuild stopped before the target; put the page back where it was.
        insertLines(sourceRange->first - 1, std::move(block));
        RebuildIndex(Report::Show);
        return;
    }
    insertLines(before ? targetRange->first - 1 : targetRange->last + 2, std::move(block));
    RebuildIndex(Report::Show);
}

// --- command lines ---

std::optional<int> TComicFileCtrl::commandLine(std::string_view book, std::string_view page,
                                               int index) const {
    const std::optional<Range> range = findBlock(pageKey(book, page));
    if (!range || index < 0 || index >= range->count())
        return std::nullopt;
    return range->first + index;
}

std::string TComicFileCtrl::GetCommand(std::string_view book, std::string_view page,
                                       int index) const {
    return std::string(PeekCommand(book, page, index));
}

std::string_view TComicFileCtrl::PeekCommand(std::string_view book, std::string_view page,
                                             int index) const {
    const std::optional<int> line = commandLine(book, page, index);
    return line ? std::string_view(lines_[*line]) : std::string_view();
}

void TComicFileCtrl::SetCommand(std::string_view book, std::string_view page, std::string_view line,
                                int index) {
    if (const std::optional<int> number = commandLine(book, page, index)) {
        replaceLine(*number, std::string(line));
        ensureIndex();
    }
}

void TComicFileCtrl::InsertCommand(std::string_view book, std::string_view page, int index) {
    const std::optional<Range> range = findBlock(pageKey(book, page));
    if (!range || index < 0 || index > range->count())
        return;
    insertLines(range->first + index, {std::string(kEmptyLine)});
}

void TComicFileCtrl::AppendCommand(std::string_view book, std::string_view page) {
    const std::optional<Range> range = findBlock(pageKey(book, page));
    if (!range)
        return;
    insertLines(range->last + 1, {std::string(kEmptyLine)});
}

void TComicFileCtrl::DeleteCommand(std::string_view book, std::string_view page, int index) {
    if (const std::optional<int> number = commandLine(book, page, index)) {
        deleteLines(*number, 1);
        ensureIndex();
    }
}

std::vector<std::string_view> TComicFileCtrl::PeekCommands(std::string_view book,
                                                           std::string_view page) const {
    std::vector<std::string_view> commands;
    if (const std::optional<Range> range = findBlock(pageKey(book, page))) {
        commands.reserve(static_cast<std::size_t>(std::max(range->count(), 0)));
        for (int number = range->first; number <= range->last; ++number)
            commands.emplace_back(lines_[number]);
    }
    return commands;
}

int TComicFileCtrl::GetCommandCount(std::string_view book, std::string_view page) const {
    const std::optional<Range> range = findBlock(pageKey(book, page));
    return range ? range->count() : 0;
}

} // namespace pagora
