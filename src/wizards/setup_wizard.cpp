#include "wizards/setup_wizard.h"

#include "document/comic_rules.h"
#include "gui/dialog_frame.h"
#include "gui/qt_text.h"
#include "gui/settings_paths.h"
#include "platform/desktop_integration.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/prompter.h"

#include <QButtonGroup>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pagora {
namespace {

enum Page { kWelcomePage, kUserPage, kPlugInPage, kPlugInFolderPage, kPlayerPage, kUpdatePage };

constexpr int kLastUpdateStep = 10;
constexpr int kFailingUpdateStep = 3;
const QString kPlayerName = QStringLiteral("PagoraPl.exe");

QLineEdit* lineEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QRadioButton* radioButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// An edit with its two buttons below it, right-aligned.
QLayout* editWithButtons(QLineEdit* edit, QPushButton* browse, QPushButton* programFolder) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(browse);
    buttons->addWidget(programFolder);
    auto* layout = new QVBoxLayout;
    layout->addWidget(edit);
    layout->addLayout(buttons);
    return layout;
}

// Why the player program cannot be the one at text (UTF-8); nothing when it can.
std::optional<std::string> playerFileProblem(const QString& text) {
    const fs::path path = pathFromText(text);
    if (pathText(path.filename()).compare(kPlayerName, Qt::CaseInsensitive) != 0)
        return "プレーヤープログラムのファイル名が不正です。";
    const std::string missing = "プレーヤープログラムが見つかりません。";
    std::error_code ignored;
    const fs::file_status status = fs::status(path, ignored); // through links
    if (!fs::exists(status))
        return missing;
    if (fs::is_directory(status))
        return missing + "\n" + path.string() + " はフォルダです。";
    if (!fs::is_regular_file(status))
        return missing + "\n" + path.string() + " はファイルではありません。";
    if (::access(path.c_str(), R_OK) != 0)
        return "プレーヤープログラムを読み込めません。\n" + path.string() + ": " +
               std::strerror(errno);
    return std::nullopt;
}

} // namespace

TfrmComicSetup::TfrmComicSetup(DialogServices& services, const SetupEnvironment& environment,
                               bool startedFromMenu, QWidget* parent)
    : WizardFrame(services, {"TfrmComicSetup", QStringLiteral("パゴラ　セットアップ"), "btnBack"},
                  parent)
    , environment_(environment)
    , startedFromMenu_(startedFromMenu) {
    btnUnInst = makeButton(QStringLiteral("UnInstall"), "btnUnInst", this);
    buttonRow().insertWidget(0, btnUnInst);
    buildPages();
    connectButtons();
    resize(600, 360);
    setPage(kWelcomePage);
}

TfrmComicSetup::~TfrmComicSetup() = default;

void TfrmComicSetup::buildPages() {
    addPage(welcomePage());
    addPage(userPage());
    addPage(plugInPage());
    addPage(plugInFolderPage());
    addPage(playerPage());
    addPage(updatePage());
}

QLayout* TfrmComicSetup::welcomePage() {
    QVBoxLayout* layout =
        textPage(QStringLiteral("パゴラ for Win95"),
                 {QStringLiteral("パゴラをお使いいただき、ありがとうございます。"), QString(),
                  QStringLiteral("パゴラは、ゲームを作ったことのない人でも、"),
                  QStringLiteral("絵と文章と音で進むインタラクティブコミックを"),
                  QStringLiteral("作れるようにするためのツールです。"), QString(),
                  QStringLiteral("これから使うための設定を行います。"),
                  QStringLiteral("各ページの項目を入力して、「次へ >>」ボタンを押して下さい。")});
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmComicSetup::userPage() {
    edtUserName = lineEdit("edtUserName", this);
    QVBoxLayout* layout =
        textPage(QStringLiteral("ユーザー情報"), {QStringLiteral("あなたの名前を入力して下さい。"),
                                                  QStringLiteral("新しく作るコミックファイルに、"),
                                                  QStringLiteral("作者として記録されます。")});
    layout->addWidget(edtUserName);
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmComicSetup::plugInPage() {
    rbPlugInOn = radioButton(QStringLiteral("Susie32プラグインを使用する"), "rbPlugInOn", this);
    rbPlugInOff = radioButton(QStringLiteral("使用しない"), "rbPlugInOff", this);
    auto* group = new QButtonGroup(this);
    group->addButton(rbPlugInOn);
    group->addButton(rbPlugInOff);
    QVBoxLayout* layout =
        textPage(QStringLiteral("画像プラグイン"),
                 {QStringLiteral("BMP と MAG の画像は、プラグインがなくても使えます。"),
                  QStringLiteral("それ以外の形式の画像を使うには、"),
                  QStringLiteral("Susie32プラグインが必要です。")});
    layout->addWidget(rbPlugInOn);
    layout->addWidget(rbPlugInOff);
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmComicSetup::plugInFolderPage() {
    edtPlugInDir = lineEdit("edtPlugInDir", this);
    btnPlugOpen = makeButton(QStringLiteral("参照(&S)"), "btnPlugOpen", this);
    btnPlugDef = makeButton(QStringLiteral("同じディレクトリ"), "btnPlugDef", this);
    QVBoxLayout* layout = textPage(
        QStringLiteral("Susie32プラグインの検索フォルダ"),
        {QStringLiteral("プラグインを置いたフォルダを指定して下さい。"), QString(),
         QStringLiteral("コミックを再生するプレーヤーにも、同じプラグインが必要です。"),
         QStringLiteral("プラグインを配布するときは、それぞれの配布条件に従って下さい。")});
    layout->addLayout(editWithButtons(edtPlugInDir, btnPlugOpen, btnPlugDef));
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmComicSetup::playerPage() {
    edtPlayerFile = lineEdit("edtPlayerFile", this);
    btnPlayerOpen = makeButton(QStringLiteral("参照(&S)"), "btnPlayerOpen", this);
    btnPlayerDef = makeButton(QStringLiteral("同じディレクトリ"), "btnPlayerDef", this);
    QVBoxLayout* layout =
        textPage(QStringLiteral("パゴラプレーヤーの指定"),
                 {QStringLiteral("コミックファイルを実行するには、"),
                  QStringLiteral("「パゴラプレーヤー for Win95」が必要です。"),
                  QStringLiteral("プレーヤーは、パゴラと同じフォルダにインストールして下さい。")});
    layout->addLayout(editWithButtons(edtPlayerFile, btnPlayerOpen, btnPlayerDef));
    layout->addStretch(1);
    return layout;
}

QLayout* TfrmComicSetup::updatePage() {
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, kLastUpdateStep);
    ProgressBar->setValue(0);
    btnManualSetting = makeButton(QStringLiteral("手動設定"), "btnManualSetting", this);
    auto* button = new QHBoxLayout;
    button->addStretch(1);
    button->addWidget(btnManualSetting);
    QVBoxLayout* layout =
        textPage(QStringLiteral("パゴラ for Win95"),
                 {QStringLiteral("プログラムがバージョンアップされました。"),
                  QStringLiteral("これからセットアップ情報の自動更新を行います。"),
                  QStringLiteral("手動で設定したいときは「手動設定」ボタンを押して下さい"),
                  QStringLiteral("。")});
    layout->addWidget(ProgressBar);
    layout->addLayout(button);
    layout->addStretch(1);
    return layout;
}

void TfrmComicSetup::connectButtons() {
    const std::pair<QPushButton*, void (TfrmComicSetup::*)()> handlers[] = {
        {&nextButton(), &TfrmComicSetup::btnNextClick},
        {&backButton(), &TfrmComicSetup::btnBackClick},
        {btnUnInst, &TfrmComicSetup::btnUnInstClick},
        {btnManualSetting, &TfrmComicSetup::btnManualSettingClick},
        {btnPlugOpen, &TfrmComicSetup::btnPlugOpenClick},
        {btnPlugDef, &TfrmComicSetup::btnPlugDefClick},
        {btnPlayerOpen, &TfrmComicSetup::btnPlayerOpenClick},
        {btnPlayerDef, &TfrmComicSetup::btnPlayerDefClick},
    };
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);
}

void TfrmComicSetup::load(const UserSettings& user) {
    values_ = user;
    edtPlugInDir->setText(utf8Text(user.plugInDir));
    edtPlayerFile->setText(utf8Text(user.playerFile));
    edtUserName->setText(utf8Text(user.userName));
    rbPlugInOn->setChecked(user.usePlugIns);
    rbPlugInOff->setChecked(!user.usePlugIns);
    UpdateButtons();
}

void TfrmComicSetup::UpdateButtons() {
    const int page = PageIndex();
    backButton().setEnabled(page != kUpdatePage);
    nextButton().setEnabled(page != kUpdatePage);
    nextButton().setText(page == kPlayerPage ? QStringLiteral("完了") : QStringLiteral("次へ >>"));
    backButton().setText(page == kWelcomePage ? QStringLiteral("キャンセル")
                                              : QStringLiteral("<< 戻る"));
    btnUnInst->setVisible(page == kWelcomePage);
    btnUnInst->setEnabled(startedFromMenu_);
}

bool TfrmComicSetup::RunWizard() {
    setPage(kWelcomePage);
    runModal();
    return completed_;
}

// --- moving through the pages ---

void TfrmComicSetup::btnNextClick() {
    const int page = PageIndex();
    if (page >= kPlayerPage) {
        finish();
        return;
    }
    if ((page == kUserPage && !acceptUserName()) ||
        (page == kPlugInFolderPage && !acceptPlugInFolder()))
        return;
    setPage(page == kPlugInPage && rbPlugInOff->isChecked() ? kPlayerPage : page + 1);
}

void TfrmComicSetup::btnBackClick() {
    const int page = PageIndex();
    if (page == kWelcomePage)
        reject();
    else
        setPage(page == kPlayerPage && rbPlugInOff->isChecked() ? kPlugInPage : page - 1);
}

void TfrmComicSetup::reject() {
    if (!automaticUpdateRunning_)
        QDialog::reject();
}

void TfrmComicSetup::refuse(const std::string& utf8Message, QWidget& control) {
    services_.prompter.warning(toCp932Replacing(utf8Message));
    control.setFocus();
}

// The name goes into every new comic, so the comic must be able to hold it.
bool TfrmComicSetup::acceptUserName() {
    try {
        cp932Text(edtUserName->text());
        return true;
    } catch (const EncodingError& error) {
        services_.showErrorBox(errorText(error));
        edtUserName->setFocus();
        return false;
    }
}

bool TfrmComicSetup::acceptPlugInFolder() {
    const QString folder = edtPlugInDir->text();
    std::error_code ignored;
    if (folder.isEmpty() || fs::is_directory(pathFromText(folder), ignored))
        return true;
    refuse("Susie32プラグインの検索フォルダが見つかりません。\n" + utf8Of(folder), *edtPlugInDir);
    return false;
}

bool TfrmComicSetup::acceptPlayerFile() {
    const std::optional<std::string> problem = playerFileProblem(edtPlayerFile->text());
    if (problem)
        refuse(*problem, *edtPlayerFile);
    return !problem;
}

void TfrmComicSetup::finish() {
    if (!acceptPlayerFile())
        return;
    // The player starts in the comic's folder: a relative path would name
    // another file there.
    edtPlayerFile->setText(pathText(fs::absolute(pathFromText(edtPlayerFile->text()))));
    edtPlugInDir->setText(plugInFolderText(edtPlugInDir->text()));
    if (!applySetupReporting())
        return;
    values_.playerFile = utf8Of(edtPlayerFile->text());
    values_.plugInDir = utf8Of(edtPlugInDir->text());
    values_.usePlugIns = rbPlugInOn->isChecked();
    values_.userName = utf8Of(edtUserName->text());
    completed_ = true;
    accept();
}

// --- the buttons of the pages ---

void TfrmComicSetup::btnPlugOpenClick() {
    if (const std::optional<QString> folder = choosePlugInFolder(
            services_.prompter, edtPlugInDir->text(), environment_.programFolder))
        edtPlugInDir->setText(*folder);
}

void TfrmComicSetup::btnPlugDefClick() {
    edtPlugInDir->setText(plugInFolderText(pathText(environment_.programFolder)));
}

void TfrmComicSetup::btnPlayerOpenClick() {
    if (const std::optional<QString> player = choosePlayerFile(
            services_.prompter, "パゴラプレーヤー (PagoraPl.exe)", environment_.programFolder))
        edtPlayerFile->setText(*player);
}

void TfrmComicSetup::btnPlayerDefClick() {
    edtPlayerFile->setText(pathText(environment_.programFolder / utf8Of(kPlayerName)));
}

void TfrmComicSetup::btnUnInstClick() {
    if (!startedFromMenu_ || PageIndex() != kWelcomePage)
        return;
    if (services_.prompter.message(MessageKind::Warning,
                                   PAGORA_CP932("パゴラの設定情報を\n消去します。よろしいですか？"),
                                   Buttons::OkCancel) != Answer::Ok)
        return;
    DeleteSettings();
    reject();
}

// --- the registration ---

void TfrmComicSetup::ApplySetup() {
    const std::string userName = cp932Text(edtUserName->text());
    ApplyDesktopSetup(
        environment_.desktop, services_.prompter,
        {environment_.editorProgram, ComicTemplateBytes(services_.prompter, userName)});
}

bool TfrmComicSetup::applySetupReporting() {
    try {
        ApplySetup();
        return true;
    } catch (const IoError& error) {
        services_.showErrorBox(errorText(error));
    } catch (const EncodingError& error) {
        services_.showErrorBox(errorText(error));
    }
    return false;
}

void TfrmComicSetup::DeleteSettings() {
    DeleteDesktopSettings(environment_.desktop, services_.settings);
    settingsErased_ = true;
}

// --- the automatic update ---

void TfrmComicSetup::RunAutomaticUpdate(bool setupNotDue) {
    setPage(kUpdatePage);
    // Shown without a modal loop, so that the count goes on, yet the only
    // window the user can work in.
    setWindowModality(Qt::ApplicationModal);
    show();
    automaticUpdateRunning_ = true;
    ProgressBar->setValue(0);
    for (int step = 0; step <= kLastUpdateStep; ++step) {
        waitStep();
        if (!automaticUpdateRunning_)
            break;
        ProgressBar->setValue(step);
        if (step == kFailingUpdateStep && !setupNotDue) {
            failAutomaticUpdate();
            return;
        }
    }
    hide();
    if (automaticUpdateRunning_) {
        automaticUpdateRunning_ = false;
        applySetupReporting();
        return;
    }
    RunWizard();
}

void TfrmComicSetup::waitStep() {
    QEventLoop wait;
    stepWait_ = &wait;
    QTimer::singleShot(stepInterval_, &wait, &QEventLoop::quit);
    wait.exec();
    stepWait_ = nullptr;
}

void TfrmComicSetup::btnManualSettingClick() {
    if (!automaticUpdateRunning_)
        return;
    automaticUpdateRunning_ = false;
    if (stepWait_ != nullptr)
        stepWait_->quit();
}

void TfrmComicSetup::failAutomaticUpdate() {
    automaticUpdateRunning_ = false;
    services_.prompter.error(
        PAGORA_CP932("セットアップ情報を自動更新できません\n手動で再セットアップをして下さい"));
    services_.prompter.error(
        PAGORA_CP932("手動セットアップモードに移行できません\n強制終了します"));
    hide();
    DeleteSettings();
}

// --- the run ---

SetupOutcome runSetupWizard(DialogServices& services, const SetupEnvironment& environment,
                            SetupRun run, bool setupNotDue, UserSettings& user, QWidget* owner) {
    TfrmComicSetup wizard(services, environment, run == SetupRun::Menu, owner);
    wizard.load(user);
    if (run == SetupRun::AutomaticUpdate)
        wizard.RunAutomaticUpdate(setupNotDue);
    else
        wizard.RunWizard();
    if (wizard.completed()) {
        const UserSettings& values = wizard.values();
        user.userName = values.userName;
        user.usePlugIns = values.usePlugIns;
        user.plugInDir = values.plugInDir;
        user.playerFile = values.playerFile;
    }
    return wizard.settingsErased() ? SetupOutcome::EndProgram : SetupOutcome::Continue;
}

} // namespace pagora
