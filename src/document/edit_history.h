#pragma once

#include "document/edit_place.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace pagora {

// What undo and redo replay through: the document's line primitives. A splice
// removes removeCount lines at position and puts lines there instead.
class LineEditor {
public:
    virtual void replaySplice(int position, int removeCount,
                              const std::vector<std::string>& lines) = 0;
    // Called once after the splices of a step, to bring the index up to date.
    virtual void replayFinished() = 0;

protected:
    ~LineEditor() = default;
};

// What the editor shows after an undo or redo: the place (before the step for
// undo, after it for redo) and the header blocks whose lines the step changed,
// so that it can reload the variable table when a variable block is among them.
struct EditReplay {
    EditPlace place;
    std::vector<std::string> headerBlocks;
};

// The undo history of a comic, recorded at the line primitives. One EditGroup
// is one step. Changes made outside any group join the step on top (the last
// one done), so undoing that step undoes them too; with no step to join they
// become part of the starting state. Either way they drop the redo steps, and
// they lose the clean point when it is the current state: a save stamps its
// header entries this way and marks the clean point after.
class EditHistory {
public:
    struct Limits {
        std::size_t steps = 1000;
        std::size_t bytes = std::size_t{64} << 20; // of recorded line text
    };

    explicit EditHistory(LineEditor& editor);
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Oldest steps are dropped first when either bound is passed. A bound of
    // no steps records nothing.
    void setLimits(Limits limits);

    bool canUndo() const;
    bool canRedo() const;
    // The labels (CP932) of the step undo and redo would replay; empty when none.
    std::string undoLabel() const;
    std::string redoLabel() const;
    std::size_t undoCount() const { return done_; }
    std::size_t redoCount() const { return steps_.size() - done_; }
    // Nothing while a group is open or when there is no step.
    std::optional<EditReplay> undo();
    std::optional<EditReplay> redo();

    // The current state is the saved one.
    void markClean();
    // No state is the saved one (a comic recovered from an autosave copy).
    void forgetCleanPoint();
    bool isClean() const;
    // Drops every step; the current state becomes the clean point.
    void clear();

    std::size_t recordedBytes() const { return bytes_; }

    // For the line primitives: whether they hand their changes to record().
    bool records() const { return limits_.steps > 0 && !replaying_; }
    // A splice that replaced `removed` at position by `inserted`, touching the
    // named header blocks.
    void record(int position, std::vector<std::string> removed, std::vector<std::string> inserted,
                std::vector<std::string> headerBlocks);
    // A change that records() declined to take.
    void noteUnrecordedChange();

private:
    friend class EditGroup;

    struct Splice {
        int position;
        std::vector<std::string> removed;
        std::vector<std::string> inserted;
    };

    struct Step {
        std::string label;
        EditPlace before;
        EditPlace after;
        std::vector<Splice> splices;
        std::vector<std::string> headerBlocks;
        std::size_t bytes = 0;
    };

    void openGroup(std::string label, EditPlace before);
    void setPlaceAfter(EditPlace after);
    void closeGroup();

    void dropRedoSteps();
    void loseCleanPointIfCurrent();
    void addToStep(Step& step, Splice splice, std::vector<std::string> headerBlocks);
    void trimToLimits();
    void replay(const Step& step, bool forwards);

    LineEditor& editor_;
    Limits limits_;
    std::deque<Step> steps_;
    std::size_t done_ = 0; // steps_[0, done_) can be undone, the rest redone
    std::size_t bytes_ = 0;
    std::optional<std::size_t> cleanAt_ = 0; // the value of done_ at the saved state
    std::optional<Step> open_;               // the step of the outermost open group
    int groupDepth_ = 0;
    bool replaying_ = false;
};

// One user action as one undo step, however many changes it makes. Groups
// opened inside an open group join it; a group that changed nothing leaves no
// step. The place after defaults to the place before.
class EditGroup {
public:
    EditGroup(EditHistory& history, std::string label, EditPlace before);
    ~EditGroup();
    EditGroup(const EditGroup&) = delete;
    EditGroup& operator=(const EditGroup&) = delete;

    void setPlaceAfter(EditPlace after);

private:
    EditHistory& history_;
};

} // namespace pagora
