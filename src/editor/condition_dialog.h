#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace pagora {

struct EditorContext;

// The four editor settings that the environment dialog edits (paths UTF-8).
struct EnvironmentValues {
    bool showCmdIcon = true;
    bool usePlugIns = false;
    std::string plugInDir;
    std::string playerFile;
};

// The environment settings dialog, "環境設定": the plug-in folder and the
// player on one tab, the command icons on the other. Its values change only
// when OK is pressed.
class TfrmCondition : public QDialog {
    Q_OBJECT

public:
    TfrmCondition(EditorContext& context, QWidget* parent = nullptr);

    void load(const EnvironmentValues& values);
    // The values given to load, or those confirmed with OK.
    const EnvironmentValues& values() const { return values_; }

    void btnOKClick();
    void btnPlugOpenClick();
    void btnPlayerOpenClick();
    void chkPlugInUseClick();
    void btnHelpClick();

private:
    EditorContext& context_;
    EnvironmentValues values_;

    QTabWidget* PageControl;
    QLineEdit* edtPlugInDir;
    QPushButton* btnPlugOpen;
    QLineEdit* edtPlayerDir;
    QPushButton* btnPlayerOpen;
    QCheckBox* chkPlugInUse;
    QCheckBox* chkShowCmdIcon;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* btnHelp;
};

} // namespace pagora
