#pragma once

#include "commands/command_dialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;

namespace pagora {

class PageChooser;

// "システムコマンド": one of the player's ten system sub-commands (saving
// and loading the reader's data, subroutine call and return, an item of the
// player's menu, the save index's name). The list on the left chooses the
// sub-command, the page beside it holds its parameters; OK is enabled only
// once the chosen sub-command has what it needs.
//
// Controls: lstCmdList, Notebook (one page per sub-command, named by its
// keyword: None for no sub-command, AllDataSave … SaveNameSet), edtSaveBlockName,
// edtLoadBlockName, cmbSaveValFlag, cmbLoadValFlag, cmbSaveStrFlag,
// cmbLoadStrFlag, cmbCallBook, cmbCallPage, cmbMenuCtrl, edtSaveIndexName
// (with a pop-up that embeds variables), btnOK, btnOption, btnCancel,
// btnHelp.
class TfrmSystemCmd : public TRecordDialog<TCmdSystem> {
    Q_OBJECT

public:
    TfrmSystemCmd(DialogContext& context, QWidget* parent = nullptr);

    // Shows the chosen sub-command's page and applies the OK rule.
    void lstCmdListClick();
    // Enables OK only when the chosen sub-command has what it needs.
    void updateOKButton();

private:
    void showRecord(const TCmdSystem& record) override;
    void fillRecord(TCmdSystem& record) override;
    void fillLists();
    void showParameters(int subCommand, const std::array<std::string, 2>& params);
    // The list of a sub-command that names a variable; null for the others.
    QComboBox* variableListOf(int subCommand) const;
    // The text box of a sub-command with a free text; null for the others.
    QLineEdit* textBoxOf(int subCommand) const;
    void buildPages();

    QListWidget* lstCmdList;
    QStackedWidget* Notebook;
    QLineEdit* edtSaveBlockName;
    QLineEdit* edtLoadBlockName;
    QComboBox* cmbSaveValFlag;
    QComboBox* cmbLoadValFlag;
    QComboBox* cmbSaveStrFlag;
    QComboBox* cmbLoadStrFlag;
    PageChooser* callPage_; // cmbCallBook, cmbCallPage
    QComboBox* cmbMenuCtrl;
    QLineEdit* edtSaveIndexName;
};

} // namespace pagora
