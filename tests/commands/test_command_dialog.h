#pragma once

#include "commands/command_dialog.h"
#include "commands/number_pad.h"
#include "document/cmd_records.h"

namespace pagora::test {

// A command dialog for tests: it edits a wait command's time in a number box
// and offers the option button with the groups it is given.
class TestWaitDialog : public TCommandDialog {
public:
    TestWaitDialog(EditorContext& context, QWidget* parent, OptionGroups groups);
    using TCommandDialog::dataFolderForFiles;

    NumberBox* cmbTime;
    TCmdWaitTime record;
    // Every line the dialog was handed.
    std::vector<std::string> shownLines;

protected:
    void showLine(const std::string& line) override;
    std::string buildLine() override;
};

} // namespace pagora::test
