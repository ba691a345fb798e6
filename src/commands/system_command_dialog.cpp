#include "commands/system_command_dialog.h"

#include "commands/name_lists.h"
#include "commands/page_chooser.h"
#include "commands/text_popup.h"
#include "document/comic_file.h"
#include "gui/controls.h"
#include "gui/help_topics.h"
#include "gui/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <array>
#include <string_view>

namespace pagora {
namespace {

// The sub-commands by their number in the line (their list position + 1).
enum SubCommand {
    kNoCommand = 0,
    kAllDataSave,
    kAllDataLoad,
    kValDataSave,
    kValDataLoad,
    kStrDataSave,
    kStrDataLoad,
    kCall,
    kReturn,
    kMenuCtrl,
    kSaveNameSet,
    kSubCommands = kSaveNameSet
};

const QStringList kSubCommandCaptions = {
    QStringLiteral("全てのデータを保存"),     QStringLiteral("全てのデータを読込"),
    QStringLiteral("数値変数の保存"),         QStringLiteral("数値変数の読込"),
    QStringLiteral("文字列変数の保存"),       QStringLiteral("文字列変数の読込"),
    QStringLiteral("サブルーチンコール"),     QStringLiteral("サブルーチンから復帰"),
    QStringLiteral("メニュー項目の呼び出し"), QStringLiteral("セーブインデックス名変更")};

// The player's menu items MenuCtrl invokes, in list order.
constexpr std::array<std::string_view, 8> kMenuKeywords = {
    "DataSave", "DataLoad", "Config", "Document", "Help", "Version", "Setup", "Exit"};
const QStringList kMenuCaptions = {QStringLiteral("現在の状況をセーブする"),
                                   QStringLiteral("セーブ内容をロードする"),
                                   QStringLiteral("環境設定"),
                                   QStringLiteral("ドキュメントの表示"),
                                   QStringLiteral("ヘルプの表示"),
                                   QStringLiteral("バージョン情報"),
                                   QStringLiteral("セットアップ"),
                                   QStringLiteral("終了")};

int menuPosition(std::string_view keyword) {
    for (std::size_t i = 0; i < kMenuKeywords.size(); ++i)
        if (kMenuKeywords[i] == keyword)
            return static_cast<int>(i);
    return -1;
}

// A page of the notebook: its controls under their captions, from the top.
QWidget* makePage(std::string_view keyword,
                  std::initializer_list<std::pair<QString, QWidget*>> rows) {
    auto* page = new QWidget;
    page->setObjectName(
        QString::fromLatin1(keyword.data(), static_cast<qsizetype>(keyword.size())));
    auto* layout = new QVBoxLayout(page);
    for (const auto& [caption, control] : rows) {
        if (!caption.isEmpty())
            layout->addWidget(new QLabel(caption, page));
        if (control != nullptr)
            layout->addWidget(control);
        layout->addSpacing(8);
    }
    layout->addStretch(1);
    return page;
}

} // namespace

TfrmSystemCmd::TfrmSystemCmd(DialogContext& context, QWidget* parent)
    : TRecordDialog(context,
                    {"TfrmSystemCmd", QStringLiteral("システムコマンド"), kSystemCmdHelpTopic},
                    parent)
    , lstCmdList(new QListWidget(this))
    , Notebook(new QStackedWidget(this))
    , edtSaveBlockName(makeLineEdit("edtSaveBlockName", this))
    , edtLoadBlockName(makeLineEdit("edtLoadBlockName", this))
    , cmbSaveValFlag(makeList("cmbSaveValFlag", {}, this))
    , cmbLoadValFlag(makeList("cmbLoadValFlag", {}, this))
    , cmbSaveStrFlag(makeList("cmbSaveStrFlag", {}, this))
    , cmbLoadStrFlag(makeList("cmbLoadStrFlag", {}, this))
    , callPage_(new PageChooser(context.comic, this,
                                {QStringLiteral("cmbCallBook"), QStringLiteral("コール先ブック名"),
                                 QStringLiteral("cmbCallPage"), QStringLiteral("コール先ページ名"),
                                 true}))
    , cmbMenuCtrl(makeList("cmbMenuCtrl", kMenuCaptions, this))
    , edtSaveIndexName(makeLineEdit("edtSaveIndexName", this)) {
    lstCmdList->setObjectName(QStringLiteral("lstCmdList"));
    lstCmdList->addItems(kSubCommandCaptions);
    lstCmdList->setSelectionMode(QAbstractItemView::SingleSelection);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    buildPages();
    attachTextPopup(*edtSaveIndexName, context);
    edtSaveIndexName->setAttribute(Qt::WA_InputMethodEnabled);

    auto* layout = new QHBoxLayout;
    layout->addWidget(lstCmdList);
    layout->addWidget(Notebook, 1);
    setBody(layout);
    resize(560, 320);

    connect(lstCmdList, &QListWidget::currentRowChanged, this, &TfrmSystemCmd::lstCmdListClick);
    connect(callPage_, &PageChooser::changed, this, &TfrmSystemCmd::updateOKButton);
    for (QComboBox* list :
         {cmbSaveValFlag, cmbLoadValFlag, cmbSaveStrFlag, cmbLoadStrFlag, cmbMenuCtrl})
        connect(list, &QComboBox::currentIndexChanged, this, &TfrmSystemCmd::updateOKButton);
}

// The notebook's first page stands for no sub-command; page n for sub-command n.
void TfrmSystemCmd::buildPages() {
    const auto add = [this](int subCommand,
                            std::initializer_list<std::pair<QString, QWidget*>> rows) {
        Notebook->insertWidget(
            subCommand, makePage(kSystemSubCommands[static_cast<std::size_t>(subCommand)], rows));
    };
    add(kNoCommand, {});
    add(kAllDataSave, {{QStringLiteral("セーブブロック名"), edtSaveBlockName}});
    add(kAllDataLoad, {{QStringLiteral("ロードブロック名"), edtLoadBlockName}});
    add(kValDataSave, {{QStringLiteral("保存する数値変数"), cmbSaveValFlag}});
    add(kValDataLoad, {{QStringLiteral("ロードする数値変数"), cmbLoadValFlag}});
    add(kStrDataSave, {{QStringLiteral("保存する文字列変数"), cmbSaveStrFlag}});
    add(kStrDataLoad, {{QStringLiteral("ロードする文字列変数"), cmbLoadStrFlag}});
    add(kCall, {{QString(), callPage_}});
    add(kReturn, {{QStringLiteral("設定するパラメータはありません"), nullptr}});
    add(kMenuCtrl, {{QStringLiteral("呼び出すメニュー項目"), cmbMenuCtrl}});
    add(kSaveNameSet, {{QStringLiteral("セーブインデックスネーム"), edtSaveIndexName}});
}

void TfrmSystemCmd::fillLists() {
    const TFlagCtrl& flags = context_.flags;
    for (QComboBox* list : {cmbSaveValFlag, cmbLoadValFlag})
        fillNameList(*list, variableNames(flags, VariableNames::Numeric));
    for (QComboBox* list : {cmbSaveStrFlag, cmbLoadStrFlag})
        fillNameList(*list, variableNames(flags, VariableNames::String));
}

QComboBox* TfrmSystemCmd::variableListOf(int subCommand) const {
    switch (subCommand) {
    case kValDataSave:
        return cmbSaveValFlag;
    case kValDataLoad:
        return cmbLoadValFlag;
    case kStrDataSave:
        return cmbSaveStrFlag;
    case kStrDataLoad:
        return cmbLoadStrFlag;
    default:
        return nullptr;
    }
}

QLineEdit* TfrmSystemCmd::textBoxOf(int subCommand) const {
    switch (subCommand) {
    case kAllDataSave:
        return edtSaveBlockName;
    case kAllDataLoad:
        return edtLoadBlockName;
    case kSaveNameSet:
        return edtSaveIndexName;
    default:
        return nullptr;
    }
}

void TfrmSystemCmd::showRecord(const TCmdSystem& record) {
    for (QComboBox* list :
         {cmbSaveValFlag, cmbLoadValFlag, cmbSaveStrFlag, cmbLoadStrFlag, cmbMenuCtrl})
        list->setCurrentIndex(-1);
    fillLists();
    for (QLineEdit* box : {edtSaveBlockName, edtLoadBlockName, edtSaveIndexName})
        box->clear();
    const int subCommand = record.SubCommand >= 1 && record.SubCommand <= kSubCommands
                               ? record.SubCommand
                               : kNoCommand;
    showParameters(subCommand, record.Params);
    lstCmdList->setCurrentRow(subCommand - 1); // none: -1
    lstCmdListClick();
}

void TfrmSystemCmd::showParameters(int subCommand, const std::array<std::string, 2>& params) {
    if (QLineEdit* box = textBoxOf(subCommand))
        box->setText(qtText(params[0]));
    else if (QComboBox* list = variableListOf(subCommand))
        selectName(*list, params[0]);
    else if (subCommand == kMenuCtrl)
        cmbMenuCtrl->setCurrentIndex(menuPosition(params[0]));
    // The books are offered whatever the sub-command; only a call chooses one.
    const bool call = subCommand == kCall;
    callPage_->showPage(call ? params[0] : "", call ? params[1] : "");
}

void TfrmSystemCmd::lstCmdListClick() {
    Notebook->setCurrentIndex(lstCmdList->currentRow() + 1);
    updateOKButton();
}

void TfrmSystemCmd::updateOKButton() {
    const int subCommand = lstCmdList->currentRow() + 1;
    bool ready = true;
    if (subCommand == kNoCommand)
        ready = false;
    else if (const QComboBox* list = variableListOf(subCommand))
        ready = list->currentIndex() >= 0;
    else if (subCommand == kCall)
        ready = callPage_->chosen();
    else if (subCommand == kMenuCtrl)
        ready = cmbMenuCtrl->currentIndex() >= 0;
    okButton().setEnabled(ready);
}

// OK is enabled only once the sub-command has what it needs; only its own
// page is stored.
void TfrmSystemCmd::fillRecord(TCmdSystem& record) {
    const int subCommand = lstCmdList->currentRow() + 1;
    record.SubCommand = subCommand;
    record.Params = {};
    if (QLineEdit* box = textBoxOf(subCommand))
        record.Params[0] = unquotedText(context_.syntax, fieldText(*box), *box);
    else if (QComboBox* list = variableListOf(subCommand))
        record.Params[0] = requiredVariable(*list);
    else if (subCommand == kCall)
        record.Params = {callPage_->book(), callPage_->page()};
    else if (subCommand == kMenuCtrl)
        record.Params[0] = kMenuKeywords[static_cast<std::size_t>(cmbMenuCtrl->currentIndex())];
}

} // namespace pagora
