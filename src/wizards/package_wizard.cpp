#include "wizards/package_wizard.h"

#include "gui/dialog_context.h"
#include "gui/dialog_frame.h"
#include "gui/help_topics.h"
#include "gui/help_viewer.h"
#include "gui/qt_text.h"
#include "package/file_names.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/prompter.h"
#include "wizards/package_target.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace fs = std::filesystem;

namespace pagora {
namespace {

enum Page { kIntroPage, kNamePage, kLinkPage, kCopyPage, kBuildPage };

QListWidget* fileList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

// A list with its label above it and its buttons in a column at its right.
QLayout* listPage(const QString& caption, QListWidget* list,
                  std::initializer_list<QPushButton*> buttons) {
    auto* column = new QVBoxLayout;
    for (QPushButton* button : buttons)
        column->addWidget(button);
    column->addStretch(1);
    auto* layout = new QGridLayout;
    layout->addWidget(new QLabel(caption), 0, 0, 1, 2);
    layout->addWidget(list, 1, 0);
    layout->addLayout(column, 1, 1);
    layout->setRowStretch(1, 1);
    return layout;
}

// The selected rows of a list, last first.
std::vector<int> selectedRowsFromLast(const QListWidget& list) {
    std::vector<int> rows;
    for (const QListWidgetItem* item : list.selectedItems())
        rows.push_back(list.row(item));
    std::ranges::sort(rows, std::greater<>());
    return rows;
}

QString fileNameText(const TPackageFile& file) {
    return pathText(file.Path.filename());
}

using DrawItem = QString (*)(const TPackageFile&);

void appendItem(QListWidget& list, const TPackageFile& file, DrawItem drawItem) {
    auto* item = new QListWidgetItem(drawItem(file), &list);
    item->setToolTip(pathText(file.Path));
}

void fillList(QListWidget& list, const std::vector<TPackageFile>& files, DrawItem drawItem) {
    list.clear();
    for (const TPackageFile& file : files)
        appendItem(list, file, drawItem);
}

// The files a build or copy left out, a line each with its reason.
std::string failureList(const std::vector<TPackageFailure>& failures) {
    std::string lines;
    for (const TPackageFailure& failure : failures)
        lines += "\n" + toUtf8(failure.File.Name) + ": " + failure.Reason;
    return lines;
}

} // namespace

TfrmLinkage::TfrmLinkage(DialogServices& services, QWidget* parent)
    : WizardFrame(services, {"TfrmLinkage", QStringLiteral("Linkage file utility"), "btnPrev"},
                  parent) {
    btnCancel = makeButton(QStringLiteral("キャンセル"), "btnCancel", this);
    btnHelp = makeButton(QStringLiteral("ヘルプ"), "btnHelp", this);
    buttonRow().addWidget(btnCancel);
    buttonRow().addWidget(btnHelp);
    backButton().setText(QStringLiteral("<< 戻る"));
    buildPages();
    connectButtons();
    resize(600, 360);
    setPage(kIntroPage);
}

TfrmLinkage::~TfrmLinkage() = default;

void TfrmLinkage::buildPages() {
    addPage(introPage());
    addPage(namePage());
    addPage(linkPage());
    addPage(copyPage());
    addPage(buildPage());
}

QLayout* TfrmLinkage::introPage() {
    QVBoxLayout* layout = textPage(
        QStringLiteral("コミックパッケージを作成します"),
        {QStringLiteral("コミックファイルと画像ファイルをまとめて、"),
         QStringLiteral("パッケージファイルとして結合します。"),
         QStringLiteral("尚、MIDI、WAVファイルは結合できません。"), QString(),
         QStringLiteral("この操作はコミックパッケージの配布の際、"),
         QStringLiteral("配布ファイル作成の最終段階として行って"), QStringLiteral("下さい。")});
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmLinkage::namePage() {
    edtTargetLinkFile = new QLineEdit(this);
    edtTargetLinkFile->setObjectName(QStringLiteral("edtTargetLinkFile"));
    btnTargetLinkFileOpen = makeButton(QStringLiteral("参照"), "btnTargetLinkFileOpen", this);
    auto* name = new QHBoxLayout;
    name->addWidget(edtTargetLinkFile, 1);
    name->addWidget(btnTargetLinkFileOpen);
    QVBoxLayout* layout =
        textPage(QString(), {QStringLiteral("コミックファイルと画像ファイルをまとめて、"),
                             QStringLiteral("パッケージファイルとして結合します。"),
                             QStringLiteral("作成するファイルの名前を入力して下さい。"), QString(),
                             QStringLiteral("コミックファイルとは別のフォルダを指定し"),
                             QStringLiteral("て下さい。")});
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("パッケージファイル名"), this));
    layout->addLayout(name);
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmLinkage::linkPage() {
    lstLinkFile = fileList("lstLinkFile", this);
    btnLinkAdd = makeButton(QStringLiteral("追加"), "btnLinkAdd", this);
    btnLinkDel = makeButton(QStringLiteral("削除"), "btnLinkDel", this);
    btnCompress = makeButton(QStringLiteral("圧縮"), "btnCompress", this);
    btnDisable = makeButton(QStringLiteral("解除"), "btnDisable", this);
    return listPage(QStringLiteral("パッケージするファイル"), lstLinkFile,
                    {btnLinkAdd, btnLinkDel, btnCompress, btnDisable});
}

QLayout* TfrmLinkage::copyPage() {
    lstCopyFile = fileList("lstCopyFile", this);
    btnCopyAdd = makeButton(QStringLiteral("追加"), "btnCopyAdd", this);
    btnCopyDel = makeButton(QStringLiteral("削除"), "btnCopyDel", this);
    return listPage(QStringLiteral("コピーするファイル"), lstCopyFile, {btnCopyAdd, btnCopyDel});
}

QLayout* TfrmLinkage::buildPage() {
    lblExecute = new QLabel(QStringLiteral("実行中"), this);
    lblExecute->setObjectName(QStringLiteral("lblExecute"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    auto* layout = new QVBoxLayout;
    layout->addStretch(1);
    layout->addWidget(lblExecute);
    layout->addWidget(ProgressBar);
    layout->addStretch(2);
    return layout;
}

void TfrmLinkage::connectButtons() {
    const std::pair<QPushButton*, void (TfrmLinkage::*)()> handlers[] = {
        {&nextButton(), &TfrmLinkage::btnNextClick},
        {&backButton(), &TfrmLinkage::btnPrevClick},
        {btnCancel, &TfrmLinkage::btnCancelClick},
        {btnHelp, &TfrmLinkage::btnHelpClick},
        {btnTargetLinkFileOpen, &TfrmLinkage::btnTargetLinkFileOpenClick},
        {btnLinkAdd, &TfrmLinkage::btnLinkAddClick},
        {btnLinkDel, &TfrmLinkage::btnLinkDelClick},
        {btnCompress, &TfrmLinkage::btnCompressClick},
        {btnDisable, &TfrmLinkage::btnDisableClick},
        {btnCopyAdd, &TfrmLinkage::btnCopyAddClick},
        {btnCopyDel, &TfrmLinkage::btnCopyDelClick},
    };
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);
}

bool TfrmLinkage::Execute(const fs::path& comicFileName, const std::string& dataDirectory) {
    load(comicFileName, dataDirectory);
    runModal();
    return built_;
}

void TfrmLinkage::load(const fs::path& comicFileName, const std::string& dataDirectory) {
    builder_ = std::make_unique<TPackageBuilder>(services_.prompter, comicFileName, dataDirectory);
    builder_->StoreAllOrNothing = true;
    builder_->OnProgress = [this](const TPackageFile&, int position, int maximum) {
        showProgress(position, maximum);
    };
    builder_->CollectFiles();
    built_ = false;
    showLists();
    setPage(kIntroPage);
}

void TfrmLinkage::UpdateButtons() {
    const int page = PageIndex();
    backButton().setEnabled(!building_ && page != kIntroPage && page != kBuildPage);
    nextButton().setEnabled(!building_);
    nextButton().setText(page == kCopyPage    ? QStringLiteral("開始")
                         : page == kBuildPage ? QStringLiteral("終了")
                                              : QStringLiteral("次へ >>"));
    btnCancel->setEnabled(!building_);
    btnHelp->setEnabled(!building_);
}

void TfrmLinkage::btnNextClick() {
    if (building_)
        return;
    switch (PageIndex()) {
    case kCopyPage:
        startBuild();
        break;
    case kBuildPage:
        accept();
        break;
    default:
        setPage(PageIndex() + 1);
    }
}

void TfrmLinkage::btnPrevClick() {
    if (building_ || PageIndex() == kIntroPage || PageIndex() == kBuildPage)
        return;
    setPage(PageIndex() - 1);
}

void TfrmLinkage::btnCancelClick() {
    reject();
}

void TfrmLinkage::reject() {
    if (!building_)
        QDialog::reject();
}

void TfrmLinkage::btnHelpClick() {
    showHelpTopic(services_, kPackageTopic);
}

void TfrmLinkage::btnTargetLinkFileOpenClick() {
    FileChooser chooser;
    chooser.filter = "コミックパッケージ (*.cpf);;全てのファイル (*)";
    chooser.defaultSuffix = "cpf";
    chooser.confirmOverwrite = true;
    const fs::path typed =
        packagePath(pathFromText(edtTargetLinkFile->text()), builder_->ComicFileName);
    chooser.startIn = typed.empty() ? comicFolder(builder_->ComicFileName) : typed;
    if (const std::optional<fs::path> chosen = services_.prompter.saveFile(chooser))
        edtTargetLinkFile->setText(pathText(*chosen));
}

// --- the lists ---

QString TfrmLinkage::lstLinkFileDrawItem(const TPackageFile& file) {
    QString text = fileNameText(file);
    if (HasExtension(file.Name, ".mag"))
        text.prepend(QStringLiteral("[bmp] "));
    if (file.Flag > 0)
        text.prepend(QStringLiteral("[lz] "));
    return text;
}

QString TfrmLinkage::lstCopyFileDrawItem(const TPackageFile& file) {
    return fileNameText(file);
}

void TfrmLinkage::showLists() {
    fillList(*lstLinkFile, builder_->LinkList, &lstLinkFileDrawItem);
    fillList(*lstCopyFile, builder_->CopyList, &lstCopyFileDrawItem);
}

void TfrmLinkage::refreshLinkItems() {
    for (std::size_t row = 0; row < builder_->LinkList.size(); ++row)
        lstLinkFile->item(static_cast<int>(row))
            ->setText(lstLinkFileDrawItem(builder_->LinkList[row]));
}

std::optional<std::string> TfrmLinkage::chooseComicFile() {
    const fs::path comic = builder_->ComicFileName;
    const fs::path dataFiles = dataFolder(comic, builder_->DataDirectory);
    FileChooser chooser;
    chooser.filter = "全てのファイル (*)";
    chooser.startIn = dataFiles;
    const std::optional<fs::path> chosen = services_.prompter.openFile(chooser);
    if (!chosen)
        return std::nullopt;
    // The name the comic would write for the file, relative to the data
    // folder or the comic's folder; it must lead to that very file.
    for (const fs::path& folder : {dataFiles, comicFolder(comic)}) {
        const fs::path relative = chosen->lexically_relative(folder);
        if (relative.empty() || *relative.begin() == "..")
            continue;
        std::string name;
        for (const fs::path& part : relative)
            name += (name.empty() ? "" : "\\") + part.string();
        try {
            name = toCp932(name);
        } catch (const EncodingError&) {
            continue;
        }
        std::error_code ignored;
        if (fs::equivalent(builder_->FindComicFile(name), *chosen, ignored))
            return name;
    }
    warn("このファイルはパッケージに入れられません。\n"
         "データのフォルダかコミックファイルのフォルダにあるファイルを選んで下さい。\n" +
         chosen->string());
    return std::nullopt;
}

void TfrmLinkage::addFile(bool (TPackageBuilder::*add)(std::string_view), QListWidget& list,
                          const std::vector<TPackageFile>& files,
                          QString (*drawItem)(const TPackageFile&)) {
    const std::optional<std::string> name = chooseComicFile();
    if (!name)
        return;
    const std::size_t before = files.size();
    ((*builder_).*add)(*name);
    if (files.size() > before) // else listed already
        appendItem(list, files.back(), drawItem);
}

void TfrmLinkage::btnLinkAddClick() {
    addFile(&TPackageBuilder::AddLinkFile, *lstLinkFile, builder_->LinkList, &lstLinkFileDrawItem);
}

void TfrmLinkage::btnCopyAddClick() {
    addFile(&TPackageBuilder::AddCopyFile, *lstCopyFile, builder_->CopyList, &lstCopyFileDrawItem);
}

void TfrmLinkage::deleteSelected(void (TPackageBuilder::*remove)(std::size_t), QListWidget& list) {
    for (const int row : selectedRowsFromLast(list)) {
        ((*builder_).*remove)(static_cast<std::size_t>(row));
        delete list.takeItem(row);
    }
}

void TfrmLinkage::btnLinkDelClick() {
    deleteSelected(&TPackageBuilder::RemoveLinkFile, *lstLinkFile);
}

void TfrmLinkage::btnCopyDelClick() {
    deleteSelected(&TPackageBuilder::RemoveCopyFile, *lstCopyFile);
}

void TfrmLinkage::markSelected(int flag) {
    for (const int row : selectedRowsFromLast(*lstLinkFile))
        builder_->LinkList[static_cast<std::size_t>(row)].Flag = flag;
    refreshLinkItems();
}

void TfrmLinkage::btnCompressClick() {
    markSelected(1);
}

void TfrmLinkage::btnDisableClick() {
    markSelected(0);
}

// --- the build ---

void TfrmLinkage::warn(const std::string& utf8Message) {
    services_.prompter.warning(toCp932Replacing(utf8Message));
}

std::optional<fs::path> TfrmLinkage::checkedPackagePath() {
    const fs::path archive =
        packagePath(pathFromText(edtTargetLinkFile->text()), builder_->ComicFileName);
    const std::optional<std::string> problem = packageTargetProblem(archive, *builder_);
    if (!problem)
        return archive;
    warn(*problem);
    setPage(kNamePage);
    edtTargetLinkFile->setFocus();
    return std::nullopt;
}

bool TfrmLinkage::refuseVanishedFiles() {
    const std::string vanished = vanishedPackageFiles(*builder_);
    if (vanished.empty())
        return false;
    warn("パッケージするファイルが見つかりません。\n" + vanished +
         "\nファイルを元に戻すか、リストから削除して下さい。");
    return true;
}

void TfrmLinkage::startBuild() {
    const std::optional<fs::path> archive = checkedPackagePath();
    if (!archive || refuseVanishedFiles())
        return;
    setPage(kBuildPage);
    if (!buildArchive(*archive)) {
        setPage(kCopyPage);
        return;
    }
    builder_->CopyFiles(*archive);
    if (!builder_->NotCopied.empty())
        warn("次のファイルをパッケージのフォルダへコピーできませんでした。" +
             failureList(builder_->NotCopied));
    built_ = true;
    lblExecute->setText(QStringLiteral("終了しました"));
}

bool TfrmLinkage::buildArchive(const fs::path& archive) {
    building_ = true;
    UpdateButtons();
    ProgressBar->setValue(0);
    lblExecute->setText(QStringLiteral("しばらくお待ち下さい"));
    QCoreApplication::processEvents();
    const bool written = builder_->BuildPackage(archive);
    building_ = false;
    UpdateButtons();
    if (written)
        ProgressBar->setValue(ProgressBar->maximum());
    else if (!builder_->NotStored.empty())
        warn("パッケージを作成できませんでした。次のファイルを格納できません。" +
             failureList(builder_->NotStored) +
             "\n以前のパッケージファイルは、そのまま残っています。");
    return written;
}

// Between two files the window goes on painting and answering, so that the
// label and the progress bar show how far the build is.
void TfrmLinkage::showProgress(int position, int maximum) {
    ProgressBar->setMaximum(std::max(maximum, 1));
    ProgressBar->setValue(position);
    QCoreApplication::processEvents();
}

} // namespace pagora
