#include "commands/flow_dialogs.h"

#include "commands/command_controls.h"
#include "commands/page_chooser.h"
#include "gui/controls.h"
#include "gui/help_topics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr int kShowItem = 0;
constexpr int kHideItem = 1;

// A window list under its caption, as the dialogs with nothing else show it.
QLayout* captionedWindowList(QComboBox* list) {
    auto* layout = new QFormLayout;
    layout->addRow(QStringLiteral("対象ウィンドウ"), list);
    return layout;
}

} // namespace

TfrmPageJump::TfrmPageJump(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmPageJump", QStringLiteral("ページの移動"), kPageJumpHelpTopic},
                    parent)
    , pages_(new PageChooser(context.comic)) {
    auto* group = new QGroupBox(QStringLiteral("移動先のページ"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(pages_);
    setBody(group);
}

void TfrmPageJump::showRecord(const TCmdPageJump& record) {
    pages_->showPage(record.BookName, record.PageName);
}

void TfrmPageJump::fillRecord(TCmdPageJump& record) {
    record.BookName = pages_->book();
    record.PageName = pages_->page();
}

TfrmMouseClick::TfrmMouseClick(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmMouseClick", QStringLiteral("マウスの入力を待つ")}, parent)
    , chkClickAbleOnly_(makeCheckBox("chkClickAbleOnly",
                                     QStringLiteral("クリッカブル領域のみ有効にする"), this)) {
    setBody(chkClickAbleOnly_);
}

void TfrmMouseClick::showRecord(const TCmdMouseClick& record) {
    chkClickAbleOnly_->setChecked(record.ClickAbleOnly);
}

void TfrmMouseClick::fillRecord(TCmdMouseClick& record) {
    record.ClickAbleOnly = chkClickAbleOnly_->isChecked();
}

TfrmClickAbleClear::TfrmClickAbleClear(DialogContext& context, QWidget* parent)
    : TRecordDialog(context,
                    {"TfrmClickAbleClear", QStringLiteral("クリッカブル領域のクリア"),
                     kClickAbleClearHelpTopic},
                    parent)
    , cmbSelectWindow_(makeWindowList("cmbSelectWindow", this)) {
    setBody(captionedWindowList(cmbSelectWindow_));
}

void TfrmClickAbleClear::showRecord(const TCmdClickAbleClear& record) {
    showWindow(*cmbSelectWindow_, record.Option.Win);
}

void TfrmClickAbleClear::fillRecord(TCmdClickAbleClear& record) {
    record.Option.Win = chosenWindow(*cmbSelectWindow_, record.Option.Win);
}

TfrmWindowShow::TfrmWindowShow(DialogContext& context, QWidget* parent)
    : TRecordDialog(
          context,
          {"TfrmWindowShow", QStringLiteral("ウインドウの表示／消去"), kWindowShowHelpTopic},
          parent)
    , cmbSelectWindow_(makeWindowList("cmbSelectWindow", this))
    , cmbShow_(makeList("cmbShow", {QStringLiteral("表示"), QStringLiteral("消去")}, this)) {
    auto* row = new QHBoxLayout;
    row->addWidget(cmbSelectWindow_, 1);
    row->addWidget(new QLabel(QStringLiteral("を"), this));
    row->addWidget(cmbShow_);
    row->addWidget(new QLabel(QStringLiteral("する"), this));
    setBody(row);
}

void TfrmWindowShow::showRecord(const TCmdWindowShow& record) {
    showWindow(*cmbSelectWindow_, record.Option.Win);
    cmbShow_->setCurrentIndex(record.Show ? kShowItem : kHideItem);
}

void TfrmWindowShow::fillRecord(TCmdWindowShow& record) {
    record.Option.Win = chosenWindow(*cmbSelectWindow_, record.Option.Win);
    record.Show = cmbShow_->currentIndex() != kHideItem;
}

} // namespace pagora
