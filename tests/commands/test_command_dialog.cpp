#include "test_command_dialog.h"

#include "editor/editor_context.h"

#include <QVBoxLayout>

namespace pagora::test {

TestWaitDialog::TestWaitDialog(EditorContext& context, QWidget* parent, OptionGroups groups)
    : TCommandDialog(context, 0, parent)
    , cmbTime(new NumberBox(context.numberPad, this)) {
    cmbTime->setObjectName(QStringLiteral("cmbTime"));
    addOptionButton(record.Option, groups);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cmbTime);
    layout->addLayout(buttonRow());
}

void TestWaitDialog::showLine(const std::string& line) {
    shownLines.push_back(line);
    record = line.empty() ? TCmdWaitTime{} : context_.syntax().ParseWaitTime(line);
    cmbTime->setValue(record.Time);
}

std::string TestWaitDialog::buildLine() {
    record.Time = cmbTime->value();
    return context_.syntax().BuildWaitTime(record);
}

} // namespace pagora::test
