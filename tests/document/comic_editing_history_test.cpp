// The editing rules as undo steps: each user action that changes the comic
// is exactly one step, and undoing or redoing them all gives the exact bytes.
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "platform/scripted_prompter.h"
#include "random_edits.h"

#include <gtest/gtest.h>
#include <random>

namespace pagora {
namespace {

template <typename T> const T& pick(const std::vector<T>& items, std::mt19937& random) {
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

int upTo(int last, std::mt19937& random) {
    return std::uniform_int_distribution<int>(-1, std::max(last, -1))(random);
}

// A user's action at a random place of the comic, through the editing rules.
class RandomUser {
public:
    RandomUser(TComicFileCtrl& comic, TCmdCtrl& syntax, std::mt19937& random)
        : comic_(comic)
        , syntax_(syntax)
        , random_(random) {}

    EditVerdict act() {
        const EditPlace at = place();
        const TreeNode page{TreeLevel::Page, at.book, at.page};
        const TreeNode book{TreeLevel::Book, at.book, {}};
        const std::vector<int> rows = someRows(at);
        const std::string name = "n" + std::to_string(names_++);
        const VariableKind kind = random_() % 2 ? VariableKind::Numeric : VariableKind::String;
        const std::string variable = "v" + std::to_string(random_() % 4);
        switch (std::uniform_int_distribution<int>(0, 15)(random_)) {
        case 0:
            return insertEmptyLine(comic_, at);
        case 1:
            return appendEmptyLine(comic_, at);
        case 2:
            return insertLineAfter(comic_, at, "Wait 1,");
        case 3:
            return setLine(comic_, at, "// " + name);
        case 4:
            return deleteLines(comic_, at, rows);
        case 5:
            return cutLines(comic_, at, rows, clipboard_);
        case 6:
            clipboard_ = copyLines(comic_, at, rows);
            return pasteLines(comic_, at, clipboard_);
        case 7:
            return writeHeaderKeys(comic_,
                                   {{"Comic", "Title", name}, {"Comic", "RandomFlagMax", "9"}});
        case 8:
            return addNode(comic_, syntax_, random_() % 2 ? page.named(name) : book.named(name));
        case 9:
            return renameNode(comic_, syntax_, random_() % 2 ? page : book, name);
        case 10:
            return deleteNode(comic_, random_() % 2 ? page : book);
        case 11:
            return declareVariable(comic_, kind, variable, name);
        case 12:
            return deleteVariable(comic_, kind, variable);
        default:
            return drop(random_() % 3 ? page : book);
        }
    }

private:
    EditPlace place() {
        const std::vector<std::string> books = comic_.GetBookList();
        if (books.empty())
            return {};
        const std::string& book = pick(books, random_);
        const std::vector<std::string> pages = comic_.GetPageList(book);
        if (pages.empty())
            return {book, {}, -1};
        const std::string& page = pick(pages, random_);
        return {book, page, upTo(comic_.GetCommandCount(book, page) - 1, random_)};
    }

    std::vector<int> someRows(const EditPlace& at) {
        std::vector<int> rows;
        const int count = comic_.GetCommandCount(at.book, at.page);
        for (int row = 0; row < count; ++row)
            if (random_() % 3 == 0)
                rows.push_back(row);
        return rows;
    }

    EditVerdict drop(const TreeNode& source) {
        const EditPlace target = place();
        const TreeNode onto{random_() % 2 ? TreeLevel::Page : TreeLevel::Book, target.book,
                            target.page};
        const std::optional<TreeMove> move = decodeDrop(comic_, source, onto);
        return move ? moveNode(comic_, *move) : EditVerdict::unchanged();
    }

    TComicFileCtrl& comic_;
    TCmdCtrl& syntax_;
    std::mt19937& random_;
    CommandClipboard clipboard_;
    int names_ = 0;
};

TEST(EditingHistory, EveryDoneEditIsOneStepAndUndoAllRedoAllGiveTheExactBytes) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        ScriptedPrompter prompter;
        TComicFileCtrl comic(prompter);
        TCmdCtrl syntax(prompter);
        comic.LoadFromBytes(test::randomComic(random, false));
        const std::string loaded = comic.SaveToBytes();
        RandomUser user(comic, syntax, random);
        EditHistory& history = comic.History();
        for (int action = 0; action < 50; ++action) {
            const std::size_t steps = history.undoCount();
            const std::string before = comic.SaveToBytes();
            const EditVerdict verdict = user.act();
            const bool changed = comic.SaveToBytes() != before;
            const std::size_t added = history.undoCount() - steps;
            SCOPED_TRACE("round " + std::to_string(round) + " action " + std::to_string(action));
            // A change is one step; an edit that ends where it began (a page's
            // only line deleted and refilled alike) may leave one too.
            ASSERT_LE(added, 1u);
            if (changed) {
                ASSERT_EQ(added, 1u);
            }
            if (!verdict.done()) {
                ASSERT_EQ(added, 0u);
            }
        }
        const std::string final = comic.SaveToBytes();
        while (history.undo()) {
        }
        ASSERT_EQ(comic.SaveToBytes(), loaded) << "round " << round;
        EXPECT_TRUE(history.isClean());
        while (history.redo()) {
        }
        ASSERT_EQ(comic.SaveToBytes(), final) << "round " << round;
    }
}

} // namespace
} // namespace pagora
