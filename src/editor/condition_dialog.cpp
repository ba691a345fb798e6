#include "editor/condition_dialog.h"

#include "editor/editor_context.h"
#include "gui/help_topics.h"
#include "gui/qt_text.h"
#include "gui/settings_paths.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pagora {

TfrmCondition::TfrmCondition(EditorServices& services, QWidget* parent)
    : DialogFrame(services, {"TfrmCondition", QStringLiteral("環境設定"), kEnvironmentTopic},
                  parent)
    , editorServices_(services) {
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));

    auto* folders = new QWidget;
    folders->setObjectName(QStringLiteral("tabFolder"));
    edtPlugInDir = new QLineEdit(folders);
    edtPlugInDir->setObjectName(QStringLiteral("edtPlugInDir"));
    btnPlugOpen = makeButton(QStringLiteral("参照(&S)"), "btnPlugOpen", folders);
    edtPlayerDir = new QLineEdit(folders);
    edtPlayerDir->setObjectName(QStringLiteral("edtPlayerDir"));
    btnPlayerOpen = makeButton(QStringLiteral("参照(&R)"), "btnPlayerOpen", folders);
    chkPlugInUse = new QCheckBox(QStringLiteral("Susie32PlugInを使用する"), folders);
    chkPlugInUse->setObjectName(QStringLiteral("chkPlugInUse"));
    auto* folderLayout = new QGridLayout(folders);
    folderLayout->addWidget(chkPlugInUse, 0, 0, 1, 2);
    folderLayout->addWidget(new QLabel(QStringLiteral("プラグインのフォルダ"), folders), 1, 0, 1,
                            2);
    folderLayout->addWidget(edtPlugInDir, 2, 0);
    folderLayout->addWidget(btnPlugOpen, 2, 1);
    folderLayout->addWidget(new QLabel(QStringLiteral("パゴラプレーヤー"), folders), 3, 0, 1, 2);
    folderLayout->addWidget(edtPlayerDir, 4, 0);
    folderLayout->addWidget(btnPlayerOpen, 4, 1);
    folderLayout->setRowStretch(5, 1);
    PageControl->addTab(folders, QStringLiteral("フォルダの設定"));

    auto* editor = new QWidget;
    editor->setObjectName(QStringLiteral("tabEditor"));
    chkShowCmdIcon = new QCheckBox(QStringLiteral("コマンドアイコンを表示する"), editor);
    chkShowCmdIcon->setObjectName(QStringLiteral("chkShowCmdIcon"));
    auto* editorLayout = new QVBoxLayout(editor);
    editorLayout->addWidget(chkShowCmdIcon);
    editorLayout->addStretch(1);
    PageControl->addTab(editor, QStringLiteral("エディタの設定"));

    setBody(PageControl);
    resize(420, 260);

    connect(btnPlugOpen, &QPushButton::clicked, this, &TfrmCondition::btnPlugOpenClick);
    connect(btnPlayerOpen, &QPushButton::clicked, this, &TfrmCondition::btnPlayerOpenClick);
    connect(chkPlugInUse, &QCheckBox::toggled, this, &TfrmCondition::chkPlugInUseClick);
}

std::optional<EnvironmentValues> TfrmCondition::run(const EnvironmentValues& values) {
    load(values);
    if (!runModal())
        return std::nullopt;
    return values_;
}

void TfrmCondition::load(const EnvironmentValues& values) {
    values_ = values;
    edtPlugInDir->setText(utf8Text(values.plugInDir));
    edtPlayerDir->setText(utf8Text(values.playerFile));
    chkPlugInUse->setChecked(values.usePlugIns);
    chkShowCmdIcon->setChecked(values.showCmdIcon);
    chkPlugInUseClick();
}

void TfrmCondition::chkPlugInUseClick() {
    edtPlugInDir->setEnabled(chkPlugInUse->isChecked());
    btnPlugOpen->setEnabled(chkPlugInUse->isChecked());
}

void TfrmCondition::btnPlugOpenClick() {
    if (const std::optional<QString> folder = choosePlugInFolder(
            services_.prompter, edtPlugInDir->text(), editorServices_.programFolder))
        edtPlugInDir->setText(*folder);
}

void TfrmCondition::btnPlayerOpenClick() {
    if (const std::optional<QString> player =
            choosePlayerFile(services_.prompter, "パゴラプレーヤープログラム (PagoraPl.exe)",
                             editorServices_.programFolder))
        edtPlayerDir->setText(*player);
}

void TfrmCondition::readControls() {
    const QString folder = plugInFolderText(edtPlugInDir->text());
    edtPlugInDir->setText(folder);
    values_.plugInDir = utf8Of(folder);
    values_.playerFile = utf8Of(edtPlayerDir->text());
    values_.usePlugIns = chkPlugInUse->isChecked();
    values_.showCmdIcon = chkShowCmdIcon->isChecked();
}

} // namespace pagora
