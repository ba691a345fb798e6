#include "document/edit_history.h"

#include <algorithm>
#include <utility>

namespace pagora {
namespace {

std::size_t textBytes(const std::vector<std::string>& lines) {
    std::size_t bytes = 0;
    for (const std::string& line : lines)
        bytes += line.size();
    return bytes;
}

} // namespace

EditHistory::EditHistory(LineEditor& editor)
    : editor_(editor) {
}

void EditHistory::setLimits(Limits limits) {
    limits_ = limits;
    trimToLimits();
}

bool EditHistory::canUndo() const {
    return !open_ && done_ > 0;
}

bool EditHistory::canRedo() const {
    return !open_ && done_ < steps_.size();
}

std::string EditHistory::undoLabel() const {
    return canUndo() ? steps_[done_ - 1].label : std::string();
}

std::string EditHistory::redoLabel() const {
    return canRedo() ? steps_[done_].label : std::string();
}

std::optional<EditReplay> EditHistory::undo() {
    if (!canUndo())
        return std::nullopt;
    Step& step = steps_[--done_];
    replay(step, false);
    return EditReplay{step.before, step.headerBlocks};
}

std::optional<EditReplay> EditHistory::redo() {
    if (!canRedo())
        return std::nullopt;
    Step& step = steps_[done_++];
    replay(step, true);
    return EditReplay{step.after, step.headerBlocks};
}

// Undo swaps the splices back last first, redo first to last.
void EditHistory::replay(Step& step, bool forwards) {
    replaying_ = true;
    if (forwards)
        for (Splice& splice : step.splices)
            swap(editor_, splice);
    else
        for (auto splice = step.splices.rbegin(); splice != step.splices.rend(); ++splice)
            swap(editor_, *splice);
    editor_.replayFinished();
    replaying_ = false;
    bytes_ -= step.bytes;
    step.bytes = 0;
    for (const Splice& splice : step.splices)
        step.bytes += textBytes(splice.away);
    bytes_ += step.bytes;
}

void EditHistory::swap(LineEditor& editor, Splice& splice) {
    const int returning = static_cast<int>(splice.away.size());
    splice.away = editor.replaySplice(splice.position, splice.present, std::move(splice.away));
    splice.present = returning;
}

void EditHistory::markClean() {
    cleanAt_ = done_;
}

void EditHistory::forgetCleanPoint() {
    cleanAt_.reset();
}

bool EditHistory::isClean() const {
    const bool groupChanged = open_ && !open_->splices.empty();
    return cleanAt_ == done_ && !groupChanged;
}

void EditHistory::clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    cleanAt_ = 0;
    if (open_)
        open_ = Step{
            std::move(open_->label), std::move(open_->before), std::move(open_->after), {}, {}, 0};
}

bool EditHistory::records() const {
    return limits_.steps > 0 && !replaying_ && (open_ || done_ > 0);
}

// The step a change outside any group joins, or, with none open, the step on
// top; nothing when there is no step to join.
EditHistory::Step* EditHistory::stepToJoin() {
    if (open_) {
        if (open_->splices.empty())
            dropRedoSteps();
        return &*open_;
    }
    dropRedoSteps();
    loseCleanPointIfCurrent();
    return done_ > 0 ? &steps_[done_ - 1] : nullptr;
}

void EditHistory::record(int position, std::vector<std::string> removed, int insertedCount,
                         std::vector<std::string> headerBlocks) {
    Step& step = *stepToJoin();
    if (!absorbedByLastSplice(step, position, static_cast<int>(removed.size()), insertedCount))
        addToStep(step, Splice{position, insertedCount, std::move(removed)});
    addHeaderBlocks(step, std::move(headerBlocks));
    if (!open_)
        trimToLimits();
}

void EditHistory::recordReplace(int position, std::string removed,
                                std::vector<std::string> headerBlocks) {
    Step& step = *stepToJoin();
    if (!absorbedByLastSplice(step, position, 1, 1)) {
        std::vector<std::string> lines;
        lines.push_back(std::move(removed));
        addToStep(step, Splice{position, 1, std::move(lines)});
    }
    addHeaderBlocks(step, std::move(headerBlocks));
    if (!open_)
        trimToLimits();
}

// Without a bound of steps, or with no step to join while no group is open.
void EditHistory::noteUnrecordedChange() {
    if (replaying_)
        return;
    if (limits_.steps == 0) {
        clear();
        cleanAt_.reset();
        return;
    }
    stepToJoin();
}

void EditHistory::openGroup(std::string label, EditPlace before) {
    if (groupDepth_++ == 0) {
        EditPlace after = before;
        open_ = Step{std::move(label), std::move(before), std::move(after), {}, {}, 0};
    }
}

void EditHistory::setPlaceAfter(EditPlace after) {
    if (open_)
        open_->after = std::move(after);
}

void EditHistory::closeGroup() {
    if (--groupDepth_ > 0)
        return;
    Step step = std::move(*open_);
    open_.reset();
    if (step.splices.empty())
        return;
    steps_.push_back(std::move(step));
    ++done_;
    trimToLimits();
}

void EditHistory::dropRedoSteps() {
    if (cleanAt_ && *cleanAt_ > done_)
        cleanAt_.reset();
    while (steps_.size() > done_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
}

void EditHistory::loseCleanPointIfCurrent() {
    if (cleanAt_ == done_)
        cleanAt_.reset();
}

void EditHistory::addToStep(Step& step, Splice splice) {
    const std::size_t bytes = textBytes(splice.away);
    step.bytes += bytes;
    bytes_ += bytes;
    step.splices.push_back(std::move(splice));
}

// A change that lies within the lines the step's last splice put in changes
// only that splice's count: undo takes those lines out whatever they read.
// Typing a placeholder and filling it, or inserting and deleting again, so
// keeps no line.
bool EditHistory::absorbedByLastSplice(Step& step, int position, int removeCount,
                                       int insertedCount) {
    if (step.splices.empty())
        return false;
    Splice& last = step.splices.back();
    if (position < last.position || position + removeCount > last.position + last.present)
        return false;
    last.present += insertedCount - removeCount;
    if (last.present == 0 && last.away.empty())
        step.splices.pop_back();
    return true;
}

void EditHistory::addHeaderBlocks(Step& step, std::vector<std::string> headerBlocks) {
    for (std::string& name : headerBlocks)
        if (std::find(step.headerBlocks.begin(), step.headerBlocks.end(), name) ==
            step.headerBlocks.end())
            step.headerBlocks.push_back(std::move(name));
}

// Only steps that can be undone are dropped: a redo step without the steps
// before it would replay onto the wrong lines.
void EditHistory::trimToLimits() {
    const auto openBytes = [this] {
        return open_ ? open_->bytes : 0;
    };
    while (done_ > 0 && (steps_.size() > limits_.steps || bytes_ - openBytes() > limits_.bytes)) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        --done_;
        if (cleanAt_)
            cleanAt_ = *cleanAt_ == 0 ? std::nullopt : std::optional<std::size_t>(*cleanAt_ - 1);
    }
}

EditGroup::EditGroup(EditHistory& history, std::string label, EditPlace before)
    : history_(history) {
    history_.openGroup(std::move(label), std::move(before));
}

EditGroup::~EditGroup() {
    history_.closeGroup();
}

void EditGroup::setPlaceAfter(EditPlace after) {
    history_.setPlaceAfter(std::move(after));
}

} // namespace pagora
