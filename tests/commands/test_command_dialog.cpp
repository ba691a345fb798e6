#include "test_command_dialog.h"

#include "gui/qt_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pagora::test {

TestMusicDialog::TestMusicDialog(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TestMusicDialog", QStringLiteral("音楽"), 36}, parent)
    , edtFileName(new QLineEdit(this))
    , cmbLoop(new NumberBox(context.numberPad, this)) {
    edtFileName->setObjectName(QStringLiteral("edtFileName"));
    cmbLoop->setObjectName(QStringLiteral("cmbLoop"));
    auto* layout = new QVBoxLayout;
    layout->addWidget(edtFileName);
    layout->addWidget(cmbLoop);
    setBody(layout);
}

void TestMusicDialog::showRecord(const TCmdMusic& record) {
    edtFileName->setText(qtText(record.FileName));
    cmbLoop->setValue(record.LoopCount);
}

void TestMusicDialog::fillRecord(TCmdMusic& record) {
    record.FileName = fieldText(*edtFileName);
    record.LoopCount = cmbLoop->value();
}

std::optional<std::string> pressOK(TCommandDialog& dialog) {
    dialog.setResult(QDialog::Rejected);
    dialog.btnOKClick();
    if (dialog.result() != QDialog::Accepted)
        return std::nullopt;
    return dialog.line();
}

} // namespace pagora::test
