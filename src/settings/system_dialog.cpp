#include "settings/system_dialog.h"

#include "document/comic_file.h"
#include "gui/controls.h"
#include "gui/data_file_chooser.h"
#include "gui/dialog_context.h"
#include "gui/help_topics.h"
#include "gui/number_pad.h"
#include "gui/qt_text.h"
#include "platform/comic_file_lookup.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace pagora {
namespace {

constexpr const char* kBlock = "Comic";

// The chooser's filters, and which of them each file key starts with.
constexpr const char* kFileFilters = "ビットマップイメージ (*.bmp);;マウスカーソル (*.cur *.ani);;"
                                     "テキストファイル (*.txt);;全てのファイル (*)";
constexpr int kBitmapFilter = 0;
constexpr int kCursorFilter = 1;
constexpr int kTextFilter = 2;

// The sound devices in the order of their lists; the first is the default.
constexpr std::array<std::string_view, 3> kDevices = {"AutoSelect", "Sequencer", "WaveAudio"};

QComboBox* deviceList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (const std::string_view device : kDevices)
        list->addItem(utf8Text(device));
    return list;
}

int deviceIndex(std::string_view device) {
    const auto found = std::ranges::find(kDevices, device);
    return found == kDevices.end() ? 0 : static_cast<int>(found - kDevices.begin());
}

// A switch is on when its value reads as a number above 0.
bool isOn(const std::string& value) {
    return lenientInt(value) > 0;
}

std::string switchValue(const QCheckBox& box) {
    return box.isChecked() ? "1" : "0";
}

// A data folder is named from the comic's folder: a name that starts at the
// root or at a drive would be taken differently on each system.
bool isRelativeName(std::string_view cp932Name) {
    return !cp932Name.starts_with('/') && !cp932Name.starts_with('\\') &&
           cp932Name.find(':') == std::string_view::npos;
}

bool makeFolder(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error))
        return true;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

// A tab page of that name holding a grid of labelled rows.
QGridLayout* tabGrid(const char* name) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return new QGridLayout(page);
}

// The page of grid, its rows kept at the top.
QWidget* finishedPage(QGridLayout& grid) {
    grid.setRowStretch(grid.rowCount(), 1);
    return grid.parentWidget();
}

// Puts control, named name, on a new row of grid after its label, over span
// of the grid's columns.
template <typename Control>
Control* addRow(QGridLayout& grid, const QString& label, Control* control, const char* name,
                int span = 1) {
    control->setObjectName(QString::fromLatin1(name));
    // An empty grid counts one row already.
    const int row = grid.isEmpty() ? 0 : grid.rowCount();
    grid.addWidget(new QLabel(label, grid.parentWidget()), row, 0);
    grid.addWidget(control, row, 1, 1, span);
    return control;
}

} // namespace

TfrmSystem::TfrmSystem(DialogContext& context, QWidget* parent)
    : DialogFrame(context.services,
                  {"TfrmSystem", QStringLiteral("システム設定"), kSystemSettingsTopic}, parent)
    , context_(context) {
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->addTab(buildComicTab(), QStringLiteral("コミックの設定"));
    PageControl->addTab(buildEnvironmentTab(), QStringLiteral("実行環境の設定"));
    PageControl->addTab(buildCursorTab(), QStringLiteral("マウスカーソル"));
    PageControl->addTab(buildOtherTab(), QStringLiteral("その他"));
    setBody(PageControl);
    resize(520, 300);

    connect(cmbStartBook, &QComboBox::currentIndexChanged, this, &TfrmSystem::cmbStartBookChange);
    for (QComboBox* list : {cmbStartPage, cmbMciMusic, cmbMciSound})
        connect(list, &QComboBox::currentIndexChanged, this, &TfrmSystem::updateOkEnabled);
}

QWidget* TfrmSystem::buildComicTab() {
    QGridLayout* grid = tabGrid("tabComic");
    QWidget* page = grid->parentWidget();
    edtTitle = addRow(*grid, QStringLiteral("タイトル"), new QLineEdit(page), "edtTitle", 3);
    edtOpening = addFileRow(*grid, QStringLiteral("オープニング画像"), "edtOpening",
                            {"btnOpeningSet", kBitmapFilter, "btnOpeningDefault",
                             QStringLiteral("デフォルト"), QStringLiteral("Default")});
    edtDocFile =
        addFileRow(*grid, QStringLiteral("ドキュメント"), "edtDocFile",
                   {"btnDocSet", kTextFilter, "btnDocDefault", QStringLiteral("なし"), QString()});
    edtUserName =
        addRow(*grid, QStringLiteral("著作権表示"), new QLineEdit(page), "edtUserName", 3);
    return finishedPage(*grid);
}

QWidget* TfrmSystem::buildEnvironmentTab() {
    QGridLayout* grid = tabGrid("tabEnvironment");
    QWidget* page = grid->parentWidget();
    edtDataDir =
        addRow(*grid, QStringLiteral("データフォルダ"), new QLineEdit(page), "edtDataDir", 3);
    cmbRndMax = addRow(*grid, QStringLiteral("乱数の範囲"), new NumberBox(context_.numberPad, page),
                       "cmbRndMax");
    cmbStartBook = addRow(*grid, QStringLiteral("開始ブック"), new QComboBox(page), "cmbStartBook");
    cmbStartPage = addRow(*grid, QStringLiteral("開始ページ"), new QComboBox(page), "cmbStartPage");
    cmbMciMusic =
        addRow(*grid, QStringLiteral("音楽の再生デバイス"), deviceList(page), "cmbMciMusic");
    cmbMciSound =
        addRow(*grid, QStringLiteral("効果音の再生デバイス"), deviceList(page), "cmbMciSound");
    edtSaveFile = addFileRow(
        *grid, QStringLiteral("セーブファイル"), "edtSaveFile",
        {nullptr, -1, "btnSaveFileDef", QStringLiteral("デフォルト"), QStringLiteral("Default")});
    return finishedPage(*grid);
}

QWidget* TfrmSystem::buildCursorTab() {
    QGridLayout* grid = tabGrid("tabMouseCursor");
    const auto cursorButtons = [](const char* choose, const char* reset) {
        return FileButtons{choose, kCursorFilter, reset, QStringLiteral("デフォルト"),
                           QStringLiteral("Default")};
    };
    edtMouseCursorNormal = addFileRow(*grid, QStringLiteral("通常モード"), "edtMouseCursorNormal",
                                      cursorButtons("btnMouseNormalSet", "btnMouseNormalDefault"));
    edtMouseCursorKeyWait =
        addFileRow(*grid, QStringLiteral("キー入力待ち"), "edtMouseCursorKeyWait",
                   cursorButtons("btnMouseKeyWaitSet", "btnMouseKeyWaitDefault"));
    edtMouseCursorTimeCount =
        addFileRow(*grid, QStringLiteral("制限時間カウント中"), "edtMouseCursorTimeCount",
                   cursorButtons("btnMouseTimeCountSet", "btnMouseTimeCountDefault"));
    edtMouseCursorClickAble =
        addFileRow(*grid, QStringLiteral("クリッカブルマップ定義領域"), "edtMouseCursorClickAble",
                   cursorButtons("btnMouseClickAbleSet", "btnMouseClickAbleDefault"));
    return finishedPage(*grid);
}

QWidget* TfrmSystem::buildOtherTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabOther"));
    chkSelectChange =
        new QCheckBox(QStringLiteral("選択肢の表示コマンドで選択位置を表示する"), page);
    chkSelectChange->setObjectName(QStringLiteral("chkSelectChange"));
    chkShowKeyWaitChar =
        new QCheckBox(QStringLiteral("メッセージ表示コマンドで入力待ちカーソルを表示"), page);
    chkShowKeyWaitChar->setObjectName(QStringLiteral("chkShowKeyWaitChar"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkSelectChange);
    layout->addWidget(chkShowKeyWaitChar);
    layout->addStretch(1);
    return page;
}

QLineEdit* TfrmSystem::addFileRow(QGridLayout& grid, const QString& label, const char* name,
                                  const FileButtons& buttons) {
    QWidget* page = grid.parentWidget();
    auto* edit = addRow(grid, label, new QLineEdit(page), name);
    const int row = grid.rowCount() - 1;
    if (buttons.choose != nullptr) {
        QPushButton* choose = makeButton(QStringLiteral("参照(&S)"), buttons.choose, page);
        grid.addWidget(choose, row, 2);
        connect(choose, &QPushButton::clicked, this,
                [this, edit, filter = buttons.filter] { chooseFile(*edit, filter); });
    }
    QPushButton* reset = makeButton(buttons.resetCaption, buttons.reset, page);
    grid.addWidget(reset, row, 3);
    connect(reset, &QPushButton::clicked, edit,
            [edit, value = buttons.resetValue] { edit->setText(value); });
    return edit;
}

void TfrmSystem::chooseFile(QLineEdit& edit, int filter) {
    FileChooser chooser;
    chooser.title = "ファイルを開く";
    chooser.filter = kFileFilters;
    chooser.selectedFilter = filter;
    if (const std::optional<QString> name = chooseDataFile(context_, chooser))
        edit.setText(*name);
}

std::optional<std::vector<HeaderEntry>> TfrmSystem::run() {
    load();
    if (!runModal())
        return std::nullopt;
    return entries_;
}

void TfrmSystem::load() {
    const TComicFileCtrl& comic = context_.comic;
    const auto read = [&](std::string_view key, std::string_view fallback) {
        return comic.ReadHeader(kBlock, key, fallback);
    };
    const auto show = [&](QLineEdit& edit, std::string_view key, std::string_view fallback) {
        edit.setText(qtText(read(key, fallback)));
    };
    show(*edtTitle, "Title", "Interactive Pagora Player");
    show(*edtOpening, "Opening", "Default");
    show(*edtDocFile, "Document", "");
    show(*edtUserName, "Copyright", "Pagora User");
    dataDirectoryAsRead_ = read("DataDirectory", "");
    edtDataDir->setText(qtText(dataDirectoryAsRead_));
    // A bound that is not a number counts as 1000 wherever it is read.
    cmbRndMax->setValue(lenientInt(read("RandomFlagMax", "1000"), 1000));
    show(*edtSaveFile, "SaveFile", "Default");
    show(*edtMouseCursorNormal, "MouseCursorNormal", "Default");
    show(*edtMouseCursorKeyWait, "MouseCursorKeyWait", "Default");
    show(*edtMouseCursorTimeCount, "MouseCursorTimeCount", "Default");
    show(*edtMouseCursorClickAble, "MouseCursorClickAble", "Default");
    cmbMciMusic->setCurrentIndex(deviceIndex(read("MciMusic", "AutoSelect")));
    cmbMciSound->setCurrentIndex(deviceIndex(read("MciSound", "AutoSelect")));
    chkSelectChange->setChecked(isOn(read("SelectChange", "0")));
    chkShowKeyWaitChar->setChecked(isOn(read("ShowKeyWaitChar", "0")));

    startPageAsRead_ = startPageOf(comic);
    {
        const QSignalBlocker quiet(cmbStartBook);
        fillNames(*cmbStartBook, comic.GetBookList(), startBookOf(comic));
    }
    cmbStartBookChange();
}

void TfrmSystem::cmbStartBookChange() {
    std::vector<std::string> pages;
    if (cmbStartBook->currentIndex() >= 0)
        pages = context_.comic.GetPageList(chosenName(*cmbStartBook));
    fillNames(*cmbStartPage, pages, startPageAsRead_);
    updateOkEnabled();
}

void TfrmSystem::updateOkEnabled() {
    okButton().setEnabled(
        std::ranges::all_of(std::array{cmbStartBook, cmbStartPage, cmbMciMusic, cmbMciSound},
                            [](const QComboBox* list) { return list->currentIndex() >= 0; }));
}

void TfrmSystem::readControls() {
    std::vector<HeaderEntry> entries;
    const auto write = [&](const char* key, std::string value) {
        entries.push_back({kBlock, key, std::move(value)});
    };
    write("Title", fieldText(*edtTitle));
    write("Opening", fieldText(*edtOpening));
    write("Document", fieldText(*edtDocFile));
    write("Copyright", fieldText(*edtUserName));
    write("StartBook", chosenName(*cmbStartBook));
    write("StartPage", chosenName(*cmbStartPage));
    write("SaveFile", fieldText(*edtSaveFile));
    write("RandomFlagMax", fieldText(*cmbRndMax));
    write("MouseCursorNormal", fieldText(*edtMouseCursorNormal));
    write("MouseCursorKeyWait", fieldText(*edtMouseCursorKeyWait));
    write("MouseCursorTimeCount", fieldText(*edtMouseCursorTimeCount));
    write("MouseCursorClickAble", fieldText(*edtMouseCursorClickAble));
    write("MciMusic", fieldText(*cmbMciMusic));
    write("MciSound", fieldText(*cmbMciSound));
    write("SelectChange", switchValue(*chkSelectChange));
    write("ShowKeyWaitChar", switchValue(*chkShowKeyWaitChar));
    // Last, once every other field has been taken: it may make a folder.
    if (const std::optional<std::string> folder = changedDataDirectory())
        write("DataDirectory", *folder);
    entries_ = std::move(entries);
}

std::optional<std::string> TfrmSystem::changedDataDirectory() {
    const std::string name = fieldText(*edtDataDir);
    if (name == dataDirectoryAsRead_)
        return std::nullopt;
    Prompter& prompter = context_.prompter();
    if (context_.file.isUntitled()) {
        prompter.warning(PAGORA_CP932("データディレクトリの設定は出来ません\nこの機能を使うため"
                                      "にはファイルを一度セーブする必要があります"));
        return std::nullopt;
    }
    if (!makeFolder(dataFolderNamed(name))) {
        prompter.error(PAGORA_CP932("フォルダの作成に失敗しました"));
        return std::nullopt;
    }
    return name;
}

// The folder a typed name stands for, as the lookups of the comic's files
// find it (each part in any letter case); a name they would not use is
// refused.
fs::path TfrmSystem::dataFolderNamed(const std::string& cp932Name) {
    const fs::path comicFolder = pagora::comicFolder(context_.file.fileName);
    if (cp932Name.empty())
        return comicFolder;
    const fs::path folder = isRelativeName(cp932Name)
                                ? ComicFileLookup(comicFolder, cp932Name).dataFolder()
                                : fs::path();
    if (folder.empty())
        throw FieldError(QStringLiteral("データフォルダには、コミックファイルのあるフォルダの中の"
                                        "フォルダを\nそこからの相対的な名前で指定してください"),
                         edtDataDir);
    // "a/../b" is made as "b", as the system reads the name.
    return folder.lexically_normal();
}

} // namespace pagora
