#include "player/play_session.h"

#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "player/play_meanings.h"

#include <utility>

namespace pagora {
namespace {

std::string pageKey(std::string_view book, std::string_view page) {
    std::string key(book);
    key += '\n'; // never part of a name: names are parts of one line
    key += page;
    return key;
}

std::string pageName(std::string_view book, std::string_view page) {
    return std::string(book) + "/" + std::string(page);
}

} // namespace

PlaySession::PlaySession(const TComicFileCtrl& comic, const Clock& clock, RandomSource& random)
    : comic_(comic)
    , variables_(comic, notes_, clock, random) {
}

void PlaySession::startAtStartPage() {
    start(comic_.ReadHeader("Comic", "StartBook", PAGORA_CP932("スタートブック")),
          comic_.ReadHeader("Comic", "StartPage", PAGORA_CP932("スタートページ")));
}

void PlaySession::start(std::string_view book, std::string_view page) {
    variables_.reset();
    notes_.clear();
    calls_.clear();
    for (int windowNo = 0; windowNo < kPlayWindowCount; ++windowNo) {
        PlayWindowState& window = windows_[static_cast<std::size_t>(windowNo)];
        window = {};
        window.look = readPlayWindow(comic_, windowNo);
        window.shown = windowNo == 0;
    }
    music_.clear();
    queue_.clear();
    waiting_.reset();
    ended_.reset();
    told_.clear();
    faulted_ = false;
    linesWithoutWait_ = 0;
    page_ = runningPage_ = nullptr;
    running_ = line_ = 0;
    startPlace_ = {std::string(book), std::string(page), 0};
    jump(book, page);
}

PlayPlace PlaySession::place() const {
    if (!page_)
        return {};
    return {page_->book, page_->name, line_};
}

const PlayWindowState& PlaySession::window(int windowNo) const {
    return windows_[static_cast<std::size_t>(playWindowIndex(windowNo))];
}

PlayWindowState& PlaySession::windowAt(int windowNo) {
    return windows_[static_cast<std::size_t>(playWindowIndex(windowNo))];
}

PlayEvent PlaySession::next() {
    if (waiting_)
        return *waiting_;
    while (queue_.empty()) {
        if (ended_)
            return *ended_;
        if (!page_) { // not started: there is nothing to play
            end(EndReason::PageEnd);
            break;
        }
        step();
    }
    PlayEvent event = std::move(queue_.front());
    queue_.pop_front();
    if (event.wait != PlayWait::None)
        linesWithoutWait_ = 0;
    if (event.wait == PlayWait::Reader)
        waiting_ = event;
    if (std::holds_alternative<PlayEnded>(event.detail))
        ended_ = event;
    return event;
}

void PlaySession::step() {
    if (linesWithoutWait_ >= kMaxLinesWithoutWait) {
        fault(PAGORA_CP932("待ちのないまま") + std::to_string(kMaxLinesWithoutWait) +
              PAGORA_CP932("行を実行しました（無限ループ）"));
        end(EndReason::Fault);
        return;
    }
    runningPage_ = page_;
    running_ = line_;
    if (line_ >= static_cast<int>(page_->lines.size())) {
        end(EndReason::PageEnd);
        return;
    }
    ++line_;
    ++linesWithoutWait_;
    runLine(page_->lines[static_cast<std::size_t>(running_)]);
    reportNotes();
}

void PlaySession::runLine(const PreparedLine& line) {
    for (const std::string& warning : line.warnings)
        unreadable(warning);
    if (!line.unreadable.empty()) {
        unreadable(line.unreadable);
        return;
    }
    switch (line.kind) {
    case CmdKind::Comment:
        return;
    case CmdKind::Unknown:
        unreadable(PAGORA_CP932("未知のコマンドです"));
        return;
    case CmdKind::MusicStop:
        music_.clear();
        post(MusicStopped{});
        return;
    default:
        std::visit([this](const auto& record) { run(record); }, line.record);
    }
}

const PlaySession::PreparedPage* PlaySession::findPage(std::string_view book,
                                                       std::string_view page) {
    const std::string key = pageKey(book, page);
    if (const std::optional<PreparedPage>* known = pages_.find(key))
        return known->has_value() ? &**known : nullptr;
    std::optional<PreparedPage>& entry = pages_.emplace(key);
    if (!comic_.PageExists(book, page))
        return nullptr;
    entry.emplace();
    entry->book = book;
    entry->name = page;
    for (std::string_view line : comic_.PeekCommands(book, page))
        entry->lines.push_back(prepareLine(line));
    return &*entry;
}

PlaySession::PreparedLine PlaySession::prepareLine(std::string_view text) {
    PreparedLine line;
    line.kind = TCmdCtrl::GetCommandKind(text);
    ScriptedPrompter told;
    TCmdCtrl reader(told);
    try {
        line.record = reader.ParseCommand(line.kind, text, TCmdCtrl::ReadFailure::Throw);
    } catch (const ConversionError& error) {
        line.unreadable = error.what();
    }
    line.warnings = told.messages();
    return line;
}

void PlaySession::jump(std::string_view book, std::string_view page) {
    const PreparedPage* target = findPage(book, page);
    if (!target) {
        fault(PAGORA_CP932("移動先のページ“") + pageName(book, page) +
              PAGORA_CP932("”は存在しません"));
        end(EndReason::Fault);
        return;
    }
    page_ = target;
    line_ = 0;
}

void PlaySession::call(std::string_view book, std::string_view page) {
    if (calls_.size() >= static_cast<std::size_t>(kMaxCallDepth)) {
        fault(PAGORA_CP932("サブルーチンコールが") + std::to_string(kMaxCallDepth) +
              PAGORA_CP932("段を超えました"));
        end(EndReason::Fault);
        return;
    }
    calls_.push_back(place());
    jump(book, page);
}

void PlaySession::returnFromCall() {
    if (calls_.empty()) {
        fault(PAGORA_CP932("サブルーチンコールされていないのに復帰しようとしました"));
        end(EndReason::Fault);
        return;
    }
    const PlayPlace back = std::move(calls_.back());
    calls_.pop_back();
    page_ = findPage(back.book, back.page);
    line_ = back.line;
}

void PlaySession::post(PlayDetail detail, PlayWait wait) {
    reportNotes(); // what the line told comes before what it does
    PlayPlace at = startPlace_;
    if (runningPage_)
        at = {runningPage_->book, runningPage_->name, running_};
    queue_.push_back({std::move(at), wait, std::move(detail)});
}

void PlaySession::fault(std::string message, FaultLevel level) {
    if (!told_.insert(message).second)
        return;
    if (level == FaultLevel::Fault)
        faulted_ = true;
    post(PlayFault{level, std::move(message)});
}

void PlaySession::unreadable(std::string_view why) {
    fault(PAGORA_CP932("“") + pageName(runningPage_->book, runningPage_->name) + ":" +
          std::to_string(running_) + PAGORA_CP932("”の行が読めません：") + std::string(why));
}

void PlaySession::end(EndReason reason) {
    if (ended_ || (!queue_.empty() && std::holds_alternative<PlayEnded>(queue_.back().detail)))
        return;
    post(PlayEnded{reason});
}

void PlaySession::reportNotes() {
    if (notes_.records().empty())
        return;
    const std::vector<std::string> told = notes_.messages();
    notes_.clear();
    for (const std::string& message : told)
        fault(message);
}

} // namespace pagora
