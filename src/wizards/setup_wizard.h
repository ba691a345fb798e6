#pragma once

#include "gui/dialog_context.h"
#include "gui/wizard_frame.h"
#include "wizards/setup_run.h"

#include <chrono>

class QEventLoop;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace pagora {

// The setup wizard, "パゴラ　セットアップ": the user name, whether image
// plug-ins are used and where they are, and the player program; completing
// it registers the comic file type with the desktop and writes the
// new-comic template. It also runs as the automatic update, which applies
// the settings as they are after a short count, unless the user asks to
// set up by hand.
class TfrmComicSetup : public WizardFrame {
    Q_OBJECT

public:
    TfrmComicSetup(DialogServices& services, const SetupEnvironment& environment,
                   bool startedFromMenu, QWidget* parent = nullptr);
    ~TfrmComicSetup() override;

    // Fills the fields from the user's settings.
    void load(const UserSettings& user);
    // The first page, then the modal run; true when the setup was completed.
    bool RunWizard();
    // Counts eleven steps on the last page, shown without a modal loop, then
    // applies the loaded settings. "手動設定" switches to the modal run from
    // the first page. When the setup was due as well (setupNotDue false) the
    // settings cannot be brought up to date: after telling the user, it
    // erases them, so that the next start sets up from the beginning.
    void RunAutomaticUpdate(bool setupNotDue);
    // Registers the comic file type and the editor with the desktop, and
    // writes the new-comic template with the user name. Throws IoError when
    // a registration file cannot be written, EncodingError when the comic
    // cannot hold the user name.
    void ApplySetup();
    // Removes the registration and erases the editor's settings.
    void DeleteSettings();

    void btnNextClick();
    void btnBackClick();
    void btnUnInstClick();
    void btnManualSettingClick();
    void btnPlugOpenClick();
    void btnPlugDefClick();
    void btnPlayerOpenClick();
    void btnPlayerDefClick();

    // The user's settings: as loaded, and after a completed setup as the
    // user set them.
    const UserSettings& values() const { return values_; }
    bool completed() const { return completed_; }
    bool settingsErased() const { return settingsErased_; }
    bool automaticUpdateRunning() const { return automaticUpdateRunning_; }
    // The wait of each step of the automatic update (300 ms).
    void setStepInterval(std::chrono::milliseconds interval) { stepInterval_ = interval; }

    // Closing is refused while the automatic update counts.
    void reject() override;

protected:
    void UpdateButtons() override;

private:
    void buildPages();
    QLayout* welcomePage();
    QLayout* userPage();
    QLayout* plugInPage();
    QLayout* plugInFolderPage();
    QLayout* playerPage();
    QLayout* updatePage();
    void connectButtons();

    bool acceptUserName();
    bool acceptPlugInFolder();
    bool acceptPlayerFile();
    void finish();
    // ApplySetup, telling the user why it failed; true when it did not.
    bool applySetupReporting();
    void waitStep();
    void failAutomaticUpdate();
    void refuse(const std::string& utf8Message, QWidget& control);

    SetupEnvironment environment_;
    bool startedFromMenu_;
    bool automaticUpdateRunning_ = false;
    bool completed_ = false;
    bool settingsErased_ = false;
    std::chrono::milliseconds stepInterval_{300};
    QEventLoop* stepWait_ = nullptr;
    UserSettings values_;

    QLineEdit* edtUserName;
    QRadioButton* rbPlugInOn;
    QRadioButton* rbPlugInOff;
    QLineEdit* edtPlugInDir;
    QPushButton* btnPlugOpen;
    QPushButton* btnPlugDef;
    QLineEdit* edtPlayerFile;
    QPushButton* btnPlayerOpen;
    QPushButton* btnPlayerDef;
    QProgressBar* ProgressBar;
    QPushButton* btnManualSetting;
    QPushButton* btnUnInst;
};

} // namespace pagora
