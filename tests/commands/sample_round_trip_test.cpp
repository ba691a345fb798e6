#include "commands/command_dialogs.h"
#include "dialog_fixture.h"

#include <QDialog>
#include <map>

namespace pagora::test {
namespace {

// Every kind edited in a dialog (comments and MusicStop are edited without one).
constexpr CmdKind kKindsWithDialogs[] = {
    CmdKind::MsgDlg,         CmdKind::Graphic,   CmdKind::Music,      CmdKind::Sound,
    CmdKind::WaitTime,       CmdKind::FlagCtrl,  CmdKind::SelectDlg,  CmdKind::PageJump,
    CmdKind::MouseClick,     CmdKind::ValueCtrl, CmdKind::StringCtrl, CmdKind::ClickAble,
    CmdKind::ClickAbleClear, CmdKind::StrInput,  CmdKind::WindowShow, CmdKind::System,
};

class SampleRoundTrip : public DialogTest {
protected:
    SampleRoundTrip() {
        file.fileName = std::filesystem::path(PAGORA_SOURCE_DIR) / "examples/sample/Sample.csf";
        comic.LoadFromFile(file.fileName);
        flags.LoadFlags();
        registerCommandDialogs(chooser);
        modal = [](QDialog& dialog) {
            static_cast<DialogFrame&>(dialog).btnOKClick();
            return dialog.result();
        };
    }

    TfrmCommand chooser{context};
};

// Each dialog shows every field of the sample's lines so that OK, without a
// change, writes the line as it was.
TEST_F(SampleRoundTrip, EveryLineOpensInItsDialogAndComesBackUnchangedOnOK) {
    std::map<CmdKind, int> opened;
    for (const std::string& book : comic.GetBookList()) {
        for (const std::string& page : comic.GetPageList(book)) {
            file.currentBook = book;
            file.currentPage = page;
            for (int index = 0; index < comic.GetCommandCount(book, page); ++index) {
                const std::string line = comic.GetCommand(book, page, index);
                const CmdKind kind = TCmdCtrl::GetCommandKind(line);
                if (std::ranges::find(kKindsWithDialogs, kind) == std::end(kKindsWithDialogs))
                    continue;
                ++opened[kind];
                EXPECT_EQ(chooser.EditCommand(line, kind), line);
                EXPECT_TRUE(chooser.confirmed()) << line;
            }
        }
    }
    for (const CmdKind kind : kKindsWithDialogs)
        EXPECT_GT(opened[kind], 0) << "the sample has no line of kind " << static_cast<int>(kind);
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_TRUE(prompter.messages().empty());
}

} // namespace
} // namespace pagora::test
