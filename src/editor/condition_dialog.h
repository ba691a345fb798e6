#pragma once

#include "gui/dialog_frame.h"

#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace pagora {

struct EditorServices;

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
class TfrmCondition : public DialogFrame {
    Q_OBJECT

public:
    TfrmCondition(EditorServices& services, QWidget* parent = nullptr);

    // The modal edit: the values as confirmed with OK, nothing when cancelled.
    std::optional<EnvironmentValues> run(const EnvironmentValues& values);

    void load(const EnvironmentValues& values);
    // The values given to load, or those confirmed with OK.
    const EnvironmentValues& values() const { return values_; }

    void btnPlugOpenClick();
    void btnPlayerOpenClick();
    void chkPlugInUseClick();

private:
    void readControls() override;

    EditorServices& editorServices_;
    EnvironmentValues values_;

    QTabWidget* PageControl;
    QLineEdit* edtPlugInDir;
    QPushButton* btnPlugOpen;
    QLineEdit* edtPlayerDir;
    QPushButton* btnPlayerOpen;
    QCheckBox* chkPlugInUse;
    QCheckBox* chkShowCmdIcon;
};

} // namespace pagora
