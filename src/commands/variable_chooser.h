#pragma once

#include "gui/dialog_frame.h"

#include <optional>
#include <string>
#include <vector>

class QListWidget;

namespace pagora {

struct DialogContext;

enum class VariableType { Numeric, String };

// "変数の選択": picks one numeric or one string variable, the comic's own in
// the order they are declared, then the built-in ones of that type.
//
// Controls: lstFlagList, btnOK, btnCancel. OK is enabled only while a name is
// selected.
class TfrmFlagSelect : public DialogFrame {
    Q_OBJECT

public:
    TfrmFlagSelect(DialogContext& context, QWidget* parent = nullptr);

    // The modal choice: the chosen name (CP932), nothing when the user cancelled.
    std::optional<std::string> run(VariableType type);

    // Fills the list with the names of that type.
    void load(VariableType type);
    void lstFlagListClick(); // re-evaluates the OK button
    void lstFlagListDblClick();
    // The name chosen at the last OK.
    const std::string& chosenName() const { return chosenName_; }

private:
    void readControls() override;

    DialogContext& context_;
    std::string chosenName_;

    QListWidget* lstFlagList;
};

// Asks for a variable of that type and gives the text that embeds it:
// "%" + name + "%" for a numeric one, "&" + name + "&" for a string one.
// Nothing when the user cancelled.
std::optional<QString> chooseEmbedding(DialogContext& context, VariableType type, QWidget* parent);

} // namespace pagora
