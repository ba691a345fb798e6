#pragma once

#include "document/comic_editing.h"
#include "document/name_references.h"
#include "gui/dialog_frame.h"

#include <functional>
#include <string>
#include <string_view>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace pagora {

struct DialogContext;
class NumberBox;

// How the variable table's dialog changes the comic: each call is one step
// of the comic's history and says what it did.
struct VariableEdits {
    std::function<EditVerdict(VariableKind kind, std::string_view name, std::string_view value)>
        declare;
    std::function<EditVerdict(VariableKind kind, std::string_view name)> remove;
    // Renames the variable after asking whether the lines that use it are
    // rewritten too.
    std::function<EditVerdict(VariableKind kind, std::string_view oldName,
                              std::string_view newName)>
        rename;
    // Lists the lines that use the variable where the editor shows results.
    std::function<void(VariableKind kind, std::string_view name)> showReferences;
};

// "変数の設定": declares the comic's numeric and string variables. Every
// change goes to the comic at once; closing the dialog writes nothing more.
// Beside each name the lists show how many command lines use it.
//
// Controls: PageControl with the tabs tabValueFlag "数値変数の設定"
// (lstValueFlag, edtValueFlag, cmbValueFlagInit, btnValueFlagAdd,
// btnValueFlagDelete, btnValueFlagRename, btnValueFlagReferences) and
// tabStringFlag "文字列変数の設定" (lstStringFlag, edtStringFlag,
// edtStringFlagInit, btnStringFlagAdd, btnStringFlagDelete,
// btnStringFlagRename, btnStringFlagReferences); btnOK "閉じる", btnHelp.
// Enter in a tab's edits adds or changes. Deleting a variable that lines
// still use names how many in a line before the question.
class TfrmFlagSet : public DialogFrame {
    Q_OBJECT

public:
    // A list item's number of command lines that use its name (an int).
    static constexpr int kLinesRole = Qt::UserRole + 1;

    TfrmFlagSet(DialogContext& context, VariableEdits edits, QWidget* parent = nullptr);

    // The modal run; the changes are in the comic when it returns.
    void run();

    // Fills both lists from the comic, with the lines that use each name.
    void load();
    void lstValueFlagClick();
    void lstStringFlagClick();
    void btnValueFlagAddClick();
    void btnStringFlagAddClick();
    void btnValueFlagDeleteClick();
    void btnStringFlagDeleteClick();
    // "名前の変更": asks for the new name of the variable in the name edit.
    void btnValueFlagRenameClick();
    void btnStringFlagRenameClick();
    // "この変数への参照"
    void btnValueFlagReferencesClick();
    void btnStringFlagReferencesClick();

private:
    // The controls of one tab.
    struct Tab {
        VariableKind kind;
        QListWidget* list = nullptr;
        QLineEdit* name = nullptr;
        QWidget* value = nullptr; // the NumberBox or the QLineEdit
        QPushButton* add = nullptr;
        QPushButton* remove = nullptr;
        QPushButton* rename = nullptr;
        QPushButton* references = nullptr;
    };

    QWidget* buildTab(Tab& tab, const char* suffix);
    void fillList(const Tab& tab, const std::string& current);
    void showEntry(const Tab& tab);
    void addVariable(Tab& tab);
    void deleteVariable(Tab& tab);
    void renameVariable(Tab& tab);
    void showReferences(Tab& tab);
    // The name in the tab's edit when the comic declares it; empty otherwise.
    std::string declaredName(const Tab& tab) const;
    std::string valueText(const Tab& tab) const;
    // Shows a refusal, or the lists as the change left them.
    void showVerdict(const Tab& tab, const EditVerdict& verdict, const std::string& name);
    // Closing reads nothing: every change was written when it was made.
    void readControls() override {}

    DialogContext& context_;
    VariableEdits edits_;
    ReferenceCounts counts_;
    Tab numeric_{VariableKind::Numeric};
    Tab string_{VariableKind::String};
    NumberBox* cmbValueFlagInit = nullptr;
    QLineEdit* edtStringFlagInit = nullptr;
};

} // namespace pagora
