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
    const Step& step = steps_[--done_];
    replay(step, false);
    return EditReplay{step.before, step.headerBlocks};
}

std::optional<EditReplay> EditHistory::redo() {
    if (!canRedo())
        return std::nullopt;
    const Step& step = steps_[done_++];
    replay(step, true);
    return EditReplay{step.after, step.headerBlocks};
}

// Undo puts back what each splice removed, last splice first.
void EditHistory::replay(const Step& step, bool forwards) {
    replaying_ = true;
    if (forwards) {
        for (const Splice& splice : step.splices)
            editor_.replaySplice(splice.position, static_cast<int>(splice.removed.size()),
                                 splice.inserted);
    } else {
        for (auto splice = step.splices.rbegin(); splice != step.splices.rend(); ++splice)
            editor_.replaySplice(splice->position, static_cast<int>(splice->inserted.size()),
                                 splice->removed);
    }
    editor_.replayFinished();
    replaying_ = false;
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

void EditHistory::record(int position, std::vector<std::string> removed,
                         std::vector<std::string> inserted, std::vector<std::string> headerBlocks) {
    Splice splice{position, std::move(removed), std::move(inserted)};
    if (open_) {
        if (open_->splices.empty())
            dropRedoSteps();
        addToStep(*open_, std::move(splice), std::move(headerBlocks));
        return;
    }
    dropRedoSteps();
    loseCleanPointIfCurrent();
    if (done_ == 0)
        return; // nothing to undo it with: it becomes part of the starting state
    addToStep(steps_[done_ - 1], std::move(splice), std::move(headerBlocks));
    trimToLimits();
}

void EditHistory::noteUnrecordedChange() {
    if (replaying_)
        return;
    clear();
    cleanAt_.reset();
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

void EditHistory::addToStep(Step& step, Splice splice, std::vector<std::string> headerBlocks) {
    const std::size_t bytes = textBytes(splice.removed) + textBytes(splice.inserted);
    step.bytes += bytes;
    bytes_ += bytes;
    step.splices.push_back(std::move(splice));
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
