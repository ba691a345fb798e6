#pragma once

#include "gui/wizard_frame.h"
#include "package/package_builder.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace pagora {

struct TPackageFile;

// The package wizard, "Linkage file utility": gathers the files the saved
// comic uses, lets the user choose which files go into the archive (and
// which of them compressed) and which are copied beside it, asks for the
// archive's name, then builds the package.
class TfrmLinkage : public WizardFrame {
    Q_OBJECT

public:
    explicit TfrmLinkage(DialogServices& services, QWidget* parent = nullptr);
    ~TfrmLinkage() override;

    // Gathers the files of the saved comic (warning about those it cannot
    // find), then runs the wizard modally. True when a package was built.
    // Throws IoError or ConversionError when the comic cannot be read.
    bool Execute(const std::filesystem::path& comicFileName, const std::string& dataDirectory);
    // The gathering and the first page, without the modal run.
    void load(const std::filesystem::path& comicFileName, const std::string& dataDirectory);

    void btnNextClick();
    void btnPrevClick();
    void btnCancelClick();
    void btnHelpClick();
    void btnTargetLinkFileOpenClick();
    void btnLinkAddClick();
    void btnCopyAddClick();
    void btnLinkDelClick();
    void btnCopyDelClick();
    void btnCompressClick();
    void btnDisableClick();

    // The texts the two lists draw for a file: its name, after "[bmp] " for
    // a MAG picture stored converted and "[lz] " for a file stored compressed.
    static QString lstLinkFileDrawItem(const TPackageFile& file);
    static QString lstCopyFileDrawItem(const TPackageFile& file);

    const TPackageBuilder& builder() const { return *builder_; }
    // Whether a package was built.
    bool built() const { return built_; }

    // Closing is refused while the package is being built.
    void reject() override;

protected:
    void UpdateButtons() override;

private:
    void buildPages();
    QLayout* introPage();
    QLayout* namePage();
    QLayout* linkPage();
    QLayout* copyPage();
    QLayout* buildPage();
    void connectButtons();

    void showLists();
    void refreshLinkItems();
    // The file the user picks, as the comic would name it, when it is one
    // that the package can take; nothing, after telling the user, when not.
    std::optional<std::string> chooseComicFile();
    void addFile(bool (TPackageBuilder::*add)(std::string_view), QListWidget& list,
                 const std::vector<TPackageFile>& files, QString (*drawItem)(const TPackageFile&));
    void deleteSelected(void (TPackageBuilder::*remove)(std::size_t), QListWidget& list);
    void markSelected(int flag);

    // Builds the package once the name and the files are checked; back on
    // the page to fix when they are not or the build failed.
    void startBuild();
    std::optional<std::filesystem::path> checkedPackagePath();
    bool refuseVanishedFiles();
    bool buildArchive(const std::filesystem::path& archive);
    void showProgress(int position, int maximum);
    void warn(const std::string& utf8Message);

    std::unique_ptr<TPackageBuilder> builder_;
    bool building_ = false;
    bool built_ = false;

    QLineEdit* edtTargetLinkFile;
    QPushButton* btnTargetLinkFileOpen;
    QListWidget* lstLinkFile;
    QPushButton* btnLinkAdd;
    QPushButton* btnLinkDel;
    QPushButton* btnCompress;
    QPushButton* btnDisable;
    QListWidget* lstCopyFile;
    QPushButton* btnCopyAdd;
    QPushButton* btnCopyDel;
    QLabel* lblExecute;
    QProgressBar* ProgressBar;
    QPushButton* btnCancel;
    QPushButton* btnHelp;
};

} // namespace pagora
