// Undo and redo of the comic's changes, recorded at the line primitives and
// grouped per user action.
#include "document/comic_file.h"
#include "document/comic_rules.h"
#include "document/edit_history.h"
#include "platform/scripted_prompter.h"
#include "random_edits.h"
#include "support/comic_text.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

using test::comicBytes;

std::string oneBookComic() {
    return comicBytes({"<Head=\"Comic\">", "Title=t", "<Head End>", "<Book=\"b\">", "<Page=\"p\">",
                       "a", "b", "c", "<Page End>", "<Book End>", "<Head=\"ValueFlag\">", "n=0",
                       "<Head End>"});
}

class EditHistoryTest : public testing::Test {
protected:
    EditHistoryTest() { comic.LoadFromBytes(oneBookComic()); }

    EditHistory& history() { return comic.History(); }

    // One group: sets line `index` of b/p to text.
    void setLine(int index, const std::string& text, const std::string& label = "set") {
        EditGroup group(history(), label, {"b", "p", index});
        comic.SetCommand("b", "p", text, index);
    }

    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
};

TEST_F(EditHistoryTest, OneGroupIsOneStepWithItsLabelAndPlaces) {
    const std::string loaded = comic.SaveToBytes();
    {
        EditGroup group(history(), "paste", {"b", "p", 1});
        for (int line = 0; line < 50; ++line) {
            comic.InsertCommand("b", "p", 1);
            comic.SetCommand("b", "p", "WaitTime " + std::to_string(line) + ",", 1);
        }
        comic.AddBook("c");
        group.setPlaceAfter({"b", "p", 50});
    }
    const std::string after = comic.SaveToBytes();
    EXPECT_EQ(history().undoCount(), 1u);
    EXPECT_EQ(history().undoLabel(), "paste");
    EXPECT_FALSE(history().canRedo());

    const std::optional<EditReplay> undone = history().undo();
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->place, (EditPlace{"b", "p", 1}));
    EXPECT_EQ(comic.SaveToBytes(), loaded);
    EXPECT_EQ(comic.GetBookList(), std::vector<std::string>{"b"});
    EXPECT_FALSE(history().canUndo());
    EXPECT_EQ(history().redoLabel(), "paste");

    const std::optional<EditReplay> redone = history().redo();
    ASSERT_TRUE(redone);
    EXPECT_EQ(redone->place, (EditPlace{"b", "p", 50}));
    EXPECT_EQ(comic.SaveToBytes(), after);
    EXPECT_EQ(comic.GetCommandCount("b", "p"), 53);
    EXPECT_FALSE(history().redo());
}

TEST_F(EditHistoryTest, NestedGroupsJoinTheOutermost) {
    {
        EditGroup outer(history(), "outer", {"b", "p", 0});
        setLine(0, "x", "inner");
        setLine(1, "y", "inner");
        EXPECT_FALSE(history().canUndo()) << "no undo while a group is open";
        EXPECT_FALSE(history().undo());
    }
    EXPECT_EQ(history().undoCount(), 1u);
    EXPECT_EQ(history().undoLabel(), "outer");
    history().undo();
    EXPECT_EQ(comic.SaveToBytes(), oneBookComic());
}

TEST_F(EditHistoryTest, AGroupThatChangesNothingLeavesNoStep) {
    { EditGroup group(history(), "nothing", {}); }
    setLine(0, "a"); // the line already reads so
    {
        EditGroup group(history(), "duplicate", {});
        comic.AddBook("b"); // refused: the name is taken
    }
    {
        EditGroup group(history(), "inserted and deleted again", {});
        comic.InsertCommand("b", "p", 1);
        comic.SetCommand("b", "p", "x", 1);
        comic.DeleteCommand("b", "p", 1);
    }
    EXPECT_EQ(history().undoCount(), 0u);
    EXPECT_TRUE(history().isClean());
}

// Lines a step put in are taken out by its undo whatever they read, so a
// paste keeps none of its lines, only what it replaced.
TEST_F(EditHistoryTest, AStepKeepsOnlyTheLinesItTookAway) {
    {
        EditGroup group(history(), "paste", {});
        comic.SetCommand("b", "p", "first", 0);
        for (int line = 1; line <= 20; ++line) {
            comic.InsertCommand("b", "p", line);
            comic.SetCommand("b", "p", std::string(100, 'p'), line);
        }
    }
    EXPECT_EQ(history().recordedBytes(), 1u) << "the line \"a\" that was set over";
    history().undo();
    EXPECT_EQ(comic.SaveToBytes(), oneBookComic());
    EXPECT_EQ(history().recordedBytes(), 5u + 20 * 100) << "the undone lines, kept for redo";
}

TEST_F(EditHistoryTest, ANewChangeAfterUndoDropsTheRedoSteps) {
    setLine(0, "x");
    setLine(1, "y");
    history().undo();
    ASSERT_TRUE(history().canRedo());
    setLine(2, "z");
    EXPECT_FALSE(history().canRedo());
    EXPECT_EQ(history().undoCount(), 2u);
    history().undo();
    history().undo();
    EXPECT_EQ(comic.SaveToBytes(), oneBookComic());
}

TEST_F(EditHistoryTest, TheCleanPointFollowsUndoAndRedo) {
    EXPECT_TRUE(history().isClean()) << "as loaded";
    setLine(0, "x");
    EXPECT_FALSE(history().isClean());
    history().markClean();
    setLine(1, "y");
    EXPECT_FALSE(history().isClean());
    history().undo();
    EXPECT_TRUE(history().isClean());
    history().undo();
    EXPECT_FALSE(history().isClean());
    history().redo();
    EXPECT_TRUE(history().isClean());
    history().undo();
    setLine(2, "z"); // the saved state was a redo step, now dropped
    history().undo();
    EXPECT_FALSE(history().isClean());
}

TEST_F(EditHistoryTest, WithoutACleanPointNoStateIsClean) {
    history().forgetCleanPoint();
    EXPECT_FALSE(history().isClean());
    setLine(0, "x");
    history().undo();
    EXPECT_FALSE(history().isClean());
    history().markClean();
    EXPECT_TRUE(history().isClean());
}

TEST_F(EditHistoryTest, NewAndOpenClearTheHistory) {
    setLine(0, "x");
    comic.LoadFromBytes(oneBookComic());
    EXPECT_FALSE(history().canUndo());
    EXPECT_TRUE(history().isClean());
    setLine(0, "x");
    StartNewComic(comic, "user");
    EXPECT_FALSE(history().canUndo());
    EXPECT_TRUE(history().isClean()) << "the user name is part of the new comic";
}

// The save stamps its entries outside any group; undo and redo still give
// the exact bytes, and the saved state is clean.
TEST_F(EditHistoryTest, TheStampOfASaveJoinsTheStepOnTop) {
    setLine(0, "x");
    const std::string beforeSave = comic.SaveToBytes();
    StampForSave(comic);
    history().markClean();
    const std::string saved = comic.SaveToBytes();
    ASSERT_NE(saved, beforeSave);
    EXPECT_EQ(history().undoCount(), 1u);
    history().undo();
    EXPECT_EQ(comic.SaveToBytes(), oneBookComic());
    EXPECT_FALSE(history().isClean());
    history().redo();
    EXPECT_EQ(comic.SaveToBytes(), saved);
    EXPECT_TRUE(history().isClean());
}

TEST_F(EditHistoryTest, AChangeOutsideAGroupWithNoStepToJoinStaysAndLosesTheCleanPoint) {
    comic.WriteHeader("Comic", "Title", "u");
    EXPECT_FALSE(history().isClean());
    setLine(0, "x");
    history().undo();
    EXPECT_FALSE(history().undo());
    EXPECT_EQ(comic.ReadHeader("Comic", "Title", ""), "u");
}

TEST_F(EditHistoryTest, UndoNamesTheHeaderBlocksItChanged) {
    {
        EditGroup group(history(), "variables", {});
        comic.WriteHeader("ValueFlag", "m", "1");
        comic.WriteHeader("Menu", "Item", "x");
    }
    setLine(0, "x");
    EXPECT_EQ(history().undo()->headerBlocks, std::vector<std::string>{});
    EXPECT_EQ(history().undo()->headerBlocks, (std::vector<std::string>{"ValueFlag", "Menu"}));
    EXPECT_EQ(history().redo()->headerBlocks, (std::vector<std::string>{"ValueFlag", "Menu"}));
}

TEST_F(EditHistoryTest, KeepsAtMostAThousandStepsDroppingTheOldest) {
    for (int step = 0; step < 1005; ++step)
        setLine(0, "x" + std::to_string(step));
    EXPECT_EQ(history().undoCount(), 1000u);
    for (int undo = 0; undo < 10000; ++undo)
        history().undo();
    EXPECT_EQ(comic.GetCommand("b", "p", 0), "x4") << "the state after the oldest step dropped";
    for (int redo = 0; redo < 10000; ++redo)
        history().redo();
    EXPECT_EQ(comic.GetCommand("b", "p", 0), "x1004");
    EXPECT_EQ(comic.GetCommandCount("b", "p"), 3);
}

// The history holds the lines a step took away: the old text of a set line.
TEST_F(EditHistoryTest, KeepsAtMostItsBoundOfRecordedBytes) {
    history().setLimits({1000, 2000});
    const std::string long1(1000, 'x'), long2(1000, 'y');
    setLine(0, long1); // holds "a"
    setLine(0, long2); // holds long1
    EXPECT_EQ(history().recordedBytes(), 1001u);
    setLine(0, "a"); // holds long2: over the bound, so the first step goes
    EXPECT_EQ(history().recordedBytes(), 2000u);
    EXPECT_EQ(history().undoCount(), 2u);
    history().undo();
    history().undo();
    EXPECT_EQ(comic.GetCommand("b", "p", 0), long1);
    EXPECT_EQ(history().recordedBytes(), 1001u) << "undo keeps the lines it took out instead";
    setLine(1, std::string(5000, 'z'));
    setLine(1, "b"); // a step beyond the bound on its own
    EXPECT_EQ(history().undoCount(), 0u);
    EXPECT_EQ(history().recordedBytes(), 0u);
    EXPECT_EQ(comic.GetCommand("b", "p", 1), "b");
    EXPECT_FALSE(history().isClean());
}

TEST_F(EditHistoryTest, ABoundOfNoStepsRecordsNothingAndForgetsTheCleanPoint) {
    history().setLimits({0, 0});
    setLine(0, "x");
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(history().isClean());
}

TEST(EditHistoryBroken, UndoOnAComicOpenedBrokenRestoresItSilently) {
    ScriptedPrompter prompter;
    TComicFileCtrl comic(prompter);
    const std::string broken =
        comicBytes({"<Head=\"Comic\">", "Title=t", "<Head End>", "<Book=\"a\">", "<Page=\"p\">",
                    "x", "<Page End>", "<Book End>", "<Page End>", "<Book=\"b\">", "<Page=\"q\">",
                    "y", "<Page End>", "<Book End>"});
    comic.LoadFromBytes(broken);
    const std::optional<StructureProblem> problem = comic.LastStructureProblem();
    {
        EditGroup group(comic.History(), "edit", {});
        comic.InsertCommand("a", "p", 0);
        comic.SetCommand("a", "p", "<Page End>", 0);
        comic.AppendCommand("a", "p");
        comic.WriteHeader("Comic", "CmdVer", "15");
    }
    const std::size_t messages = prompter.messages().size();
    comic.History().undo();
    EXPECT_EQ(comic.SaveToBytes(), broken);
    EXPECT_EQ(comic.LastStructureProblem(), problem);
    EXPECT_EQ(comic.GetCommand("a", "p", 0), "x");
    EXPECT_EQ(prompter.messages().size(), messages);
}

// Random actions, each its own step: undoing them all gives the comic as
// loaded, byte for byte, and redoing them all the final one.
class EditHistoryProperty : public testing::TestWithParam<bool> {};

TEST_P(EditHistoryProperty, UndoAllAndRedoAllGiveTheExactBytes) {
    std::mt19937 random(GetParam() ? 31 : 32);
    for (int round = 0; round < 60; ++round) {
        ScriptedPrompter prompter;
        TComicFileCtrl comic(prompter);
        comic.LoadFromBytes(test::randomComic(random, GetParam()));
        const std::string loaded = comic.SaveToBytes();
        std::vector<std::string> actions;
        for (int action = 0; action < 60; ++action) {
            EditGroup group(comic.History(), "action", {});
            actions.push_back(test::applyRandomEdit(comic, random));
        }
        const std::string final = comic.SaveToBytes();
        while (comic.History().undo()) {
        }
        ASSERT_EQ(comic.SaveToBytes(), loaded) << "round " << round;
        EXPECT_TRUE(comic.History().isClean());
        while (comic.History().redo()) {
        }
        ASSERT_EQ(comic.SaveToBytes(), final) << "round " << round;
        EXPECT_EQ(comic.History().isClean(), comic.History().undoCount() == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Comics, EditHistoryProperty, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "Broken" : "Sound";
                         });

} // namespace
} // namespace pagora
