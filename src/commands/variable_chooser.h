#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace pagora {

struct EditorContext;

// "変数の選択": picks one numeric or one string variable, the comic's own in
// the order they are declared, then the built-in ones of that type.
//
// Controls: lstFlagList, btnOK, btnCancel. OK is enabled only while a name is
// selected.
class TfrmFlagSelect : public QDialog {
    Q_OBJECT

public:
    TfrmFlagSelect(EditorContext& context, QWidget* parent = nullptr);

    void fillValueNames();
    void fillStringNames();
    void lstFlagListClick(); // re-evaluates the OK button
    void lstFlagListDblClick();
    void btnOKClick();
    // The chosen name (CP932), empty when cancelled or nothing was chosen.
    const std::string& chosenName() const { return chosenName_; }

    // Shows the chooser modally (through services.runModal) and returns the chosen name or "".
    static std::string SelectValueFlag(EditorContext& context, QWidget* parent);
    static std::string SelectStringFlag(EditorContext& context, QWidget* parent);

private:
    void fill(const std::vector<std::string>& declared, const std::vector<std::string>& builtIn);
    static std::string select(EditorContext& context, QWidget* parent, bool numeric);

    EditorContext& context_;
    std::string chosenName_;

    QListWidget* lstFlagList;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace pagora
