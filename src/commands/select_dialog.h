#pragma once

#include "commands/command_dialog.h"

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pagora {

// "セレクトウインドウの表示": the choices of a SelectDlg command, each a
// message and the page of the edited book it leads to, in the select
// window's font size and colour and place; its options allow a time limit.
//
// ListView holds one row per choice (its message, edited in place, and its
// page); edtMessage and cmbPageList show the selected row and change it as
// the user types or chooses. At most kMaxChoices rows. OK skips rows
// without a page. Controls: ListView, edtMessage, cmbPageList, btnAdd,
// btnInsert, btnDelete, cmbSelectWindow, cmbFontSize, edtFontColor,
// btnColorSet, btnPosition, btnOption.
class TfrmSelectDlg : public TRecordDialog<TCmdSelectDlg> {
    Q_OBJECT

public:
    static constexpr int kMaxChoices = 20;

    explicit TfrmSelectDlg(DialogContext& context, QWidget* parent = nullptr);

    void btnAddClick();
    void btnInsertClick();
    void btnDeleteClick();
    void btnColorSetClick();
    void btnPositionClick();

private:
    void showRecord(const TCmdSelectDlg& record) override;
    void fillRecord(TCmdSelectDlg& record) override;

    QTreeWidgetItem* selectedRow() const;
    QTreeWidgetItem* newRow(int position, const std::string& message, const std::string& page);
    std::string firstPage() const;
    void ListViewChange();
    void edtMessageChange();
    void cmbPageListChange();
    void ListViewEdited(QTreeWidgetItem* row, int column);
    std::string sampleText() const;

    std::vector<std::string> pageNames_; // of the book being edited (CP932)
    bool syncing_ = false;               // while a row and its controls follow each other

    QTreeWidget* ListView_;
    QLineEdit* edtMessage_;
    QComboBox* cmbPageList_;
    QPushButton* btnAdd_;
    QPushButton* btnInsert_;
    QPushButton* btnDelete_;
    QComboBox* cmbSelectWindow_;
    QComboBox* cmbFontSize_;
    QLineEdit* edtFontColor_;
};

} // namespace pagora
