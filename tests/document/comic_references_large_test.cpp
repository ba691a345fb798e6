// Renames on the generated comic of 200,000 command lines, compared with the
// same rename made on the file's text independently of the records.
#include "bench/generated_comic.h"
#include "document/cmd_ctrl.h"
#include "document/comic_editing.h"
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/scripted_prompter.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string replaced;
    std::size_t done = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos;
         at = text.find(from, done)) {
        replaced.append(text.substr(done, at - done)).append(to);
        done = at + from.size();
    }
    return replaced.append(text.substr(done));
}

class LargeComicRenames : public testing::Test {
protected:
    LargeComicRenames() { comic.LoadFromBytes(original); }

    std::string bytesOf(const std::string& text) {
        TComicFileCtrl expected(prompter);
        expected.LoadFromBytes(text);
        return expected.SaveToBytes();
    }

    void expectUndoRestoresTheOriginal() {
        ASSERT_EQ(comic.History().undoCount(), 1u);
        comic.History().undo();
        EXPECT_EQ(comic.SaveToBytes(), bytesOf(original));
    }

    const std::string original = bench::generateReferencingComic();
    ScriptedPrompter prompter;
    TComicFileCtrl comic{prompter};
    TCmdCtrl syntax{prompter};
};

TEST_F(LargeComicRenames, BookRenameRewritesEveryJumpToIt) {
    const std::string name = toCp932("第七巻");
    const RenameVerdict renamed = renameNodeAndReferences(
        comic, syntax, {TreeLevel::Book, "book7", {}}, name, ReferenceUpdate::Rewrite);
    ASSERT_TRUE(renamed.verdict.done());
    EXPECT_EQ(renamed.references.rewritten, 500);
    EXPECT_TRUE(renamed.references.leftAlone.empty());
    std::string expected = replaceAll(original, "<Book=\"book7\">", "<Book=\"" + name + "\">");
    expected = replaceAll(expected, "PageJump \"book7\",", "PageJump \"" + name + "\",");
    EXPECT_EQ(comic.SaveToBytes(), bytesOf(expected));
    expectUndoRestoresTheOriginal();
}

TEST_F(LargeComicRenames, VariableRenameRewritesEveryOperand) {
    const std::string name = toCp932("回数");
    const RenameVerdict renamed = renameVariable(comic, syntax, VariableKind::Numeric, "count",
                                                 name, ReferenceUpdate::Rewrite);
    ASSERT_TRUE(renamed.verdict.done());
    EXPECT_EQ(renamed.references.rewritten, 20000);
    std::string expected = replaceAll(original, "%count%", "%" + name + "%");
    expected = replaceAll(expected, "\r\ncount=0\r\n", "\r\n" + name + "=0\r\n");
    EXPECT_EQ(comic.SaveToBytes(), bytesOf(expected));
    expectUndoRestoresTheOriginal();
}

} // namespace
} // namespace pagora
