#pragma once

#include "document/edit_place.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace pagora {

// What undo and redo replay through: the document's line primitives. A splice
// removes removeCount lines at position, puts lines there instead, and hands
// back the lines it removed. Undo and redo move lines between the document
// and the history, so neither copies a line.
class LineEditor {
public:
    virtual std::vector<std::string> replaySplice(int position, int removeCount,
                                                  std::vector<std::string> lines) = 0;
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
    bool records() const;
    // A splice that replaced `removed` at position by insertedCount lines,
    // touching the named header blocks. The inserted lines stay in the document
    // until an undo takes them.
    void record(int position, std::vector<std::string> removed, int insertedCount,
                std::vector<std::string> headerBlocks);
    // The same for one line replaced.
    void recordReplace(int position, std::string removed, std::vector<std::string> headerBlocks);
    // A change that records() declined to take.
    void noteUnrecordedChange();

private:
    friend class EditGroup;

    // Undo and redo each swap `away` with the `present` lines at position.
    struct Splice {
        int position;
        int present;                   // lines of the splice now in the document
        std::vector<std::string> away; // lines of the splice not in the document
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
    Step* stepToJoin();
    void addToStep(Step& step, Splice splice);
    static bool absorbedByLastSplice(Step& step, int position, int removeCount, int insertedCount);
    static void addHeaderBlocks(Step& step, std::vector<std::string> headerBlocks);
    void trimToLimits();
    void replay(Step& step, bool forwards);
    static void swap(LineEditor& editor, Splice& splice);

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
