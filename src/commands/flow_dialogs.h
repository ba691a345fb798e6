#pragma once

#include "commands/command_dialog.h"

class QCheckBox;
class QComboBox;

namespace pagora {

class PageChooser;

// "ページの移動": a jump to a page of any book. A book or page the comic no
// longer holds opens unchosen; OK stores the names as chosen, empty where
// nothing is. Controls: cmbBook, cmbPage (group "移動先のページ"), btnOption.
class TfrmPageJump : public TRecordDialog<TCmdPageJump> {
    Q_OBJECT

public:
    explicit TfrmPageJump(DialogContext& context, QWidget* parent = nullptr);

private:
    void showRecord(const TCmdPageJump& record) override;
    void fillRecord(TCmdPageJump& record) override;

    PageChooser* pages_;
};

// "マウスの入力を待つ": waits for a click, optionally on clickable areas
// only; its options allow a time limit. Controls: chkClickAbleOnly, btnOption.
class TfrmMouseClick : public TRecordDialog<TCmdMouseClick> {
    Q_OBJECT

public:
    explicit TfrmMouseClick(DialogContext& context, QWidget* parent = nullptr);

private:
    void showRecord(const TCmdMouseClick& record) override;
    void fillRecord(TCmdMouseClick& record) override;

    QCheckBox* chkClickAbleOnly_;
};

// "クリッカブル領域のクリア": clears the clickable areas of one window.
// Controls: cmbSelectWindow, btnOption.
class TfrmClickAbleClear : public TRecordDialog<TCmdClickAbleClear> {
    Q_OBJECT

public:
    explicit TfrmClickAbleClear(DialogContext& context, QWidget* parent = nullptr);

private:
    void showRecord(const TCmdClickAbleClear& record) override;
    void fillRecord(TCmdClickAbleClear& record) override;

    QComboBox* cmbSelectWindow_;
};

// "ウインドウの表示／消去", read as window "を" action "する": shows or hides
// a window. No option button; the line's options pass through.
// Controls: cmbSelectWindow, cmbShow (0 "表示", 1 "消去").
class TfrmWindowShow : public TRecordDialog<TCmdWindowShow> {
    Q_OBJECT

public:
    explicit TfrmWindowShow(DialogContext& context, QWidget* parent = nullptr);

private:
    void showRecord(const TCmdWindowShow& record) override;
    void fillRecord(TCmdWindowShow& record) override;

    QComboBox* cmbSelectWindow_;
    QComboBox* cmbShow_;
};

} // namespace pagora
