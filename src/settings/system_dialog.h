#pragma once

#include "document/comic_editing.h"
#include "gui/dialog_frame.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QTabWidget;

namespace pagora {

struct DialogContext;
class NumberBox;

// The system settings dialog, "システム設定": the keys of the header block
// Comic that describe the comic as a whole and how the player runs it, on
// four tabs. It reads every key when it opens and hands back every key, in
// the order they are written, when confirmed. A changed data folder is made
// on OK; files chosen with "参照(&S)" are copied into the data folder at once.
class TfrmSystem : public DialogFrame {
    Q_OBJECT

public:
    TfrmSystem(DialogContext& context, QWidget* parent = nullptr);

    // The modal edit: the keys to write when confirmed with OK, nothing
    // when cancelled.
    std::optional<std::vector<HeaderEntry>> run();

    // Reads every key of the comic into the controls.
    void load();
    // The keys confirmed with OK, in the order they are written.
    const std::vector<HeaderEntry>& entries() const { return entries_; }

    // The pages of the chosen book, the start page as read selected where
    // the book has one of that name.
    void cmbStartBookChange();
    // OK only while the start book and page and both devices are chosen.
    void updateOkEnabled();

private:
    // A file key's buttons: "参照(&S)" with its filter (none for -1) and the
    // button that puts the key's "no file" value back.
    struct FileButtons {
        const char* choose;
        int filter;
        const char* reset;
        QString resetCaption;
        QString resetValue;
    };

    QWidget* buildComicTab();
    QWidget* buildEnvironmentTab();
    QWidget* buildCursorTab();
    QWidget* buildOtherTab();
    QLineEdit* addFileRow(QGridLayout& grid, const QString& label, const char* name,
                          const FileButtons& buttons);
    void chooseFile(QLineEdit& edit, int filter);

    void readControls() override;
    // The data folder to write: nothing while it is unchanged or when it
    // cannot be set (after telling the user); a name that leads out of the
    // comic's folder is refused.
    std::optional<std::string> changedDataDirectory();
    std::filesystem::path dataFolderNamed(const std::string& cp932Name);

    DialogContext& context_;
    std::string startPageAsRead_;     // CP932
    std::string dataDirectoryAsRead_; // CP932
    std::vector<HeaderEntry> entries_;

    QTabWidget* PageControl;
    QLineEdit* edtTitle;
    QLineEdit* edtOpening;
    QLineEdit* edtDocFile;
    QLineEdit* edtUserName;
    QLineEdit* edtDataDir;
    NumberBox* cmbRndMax;
    QComboBox* cmbStartBook;
    QComboBox* cmbStartPage;
    QComboBox* cmbMciMusic;
    QComboBox* cmbMciSound;
    QLineEdit* edtSaveFile;
    QLineEdit* edtMouseCursorNormal;
    QLineEdit* edtMouseCursorKeyWait;
    QLineEdit* edtMouseCursorTimeCount;
    QLineEdit* edtMouseCursorClickAble;
    QCheckBox* chkSelectChange;
    QCheckBox* chkShowKeyWaitChar;
};

} // namespace pagora
