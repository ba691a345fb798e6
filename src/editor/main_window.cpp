#include "editor/main_window.h"

#include "commands/command_chooser.h"
#include "commands/command_dialogs.h"
#include "editor/autosave.h"
#include "editor/comic_tree_view.h"
#include "editor/command_list_delegate.h"
#include "editor/command_list_model.h"
#include "editor/command_list_view.h"
#include "editor/command_palette.h"
#include "editor/error_panel.h"
#include "editor/main_actions.h"
#include "editor/results_panel.h"
#include "gui/number_pad.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/settings_store.h"
#include "settings/window_set.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace pagora {
namespace {

constexpr int kBarThickness = 3;
constexpr std::string_view kComicBlock = "Comic";

} // namespace

TfrmMain::TfrmMain(EditorServices& services, const std::optional<std::filesystem::path>& file,
                   QWidget* parent)
    : QMainWindow(parent)
    , services_(services)
    , objects_(services.prompter, services.clock, services.random)
    , numberPad_(std::make_unique<TfrmValueEdit>())
    , layoutEditor_(std::make_unique<TfrmWindowSet>(
          LayoutEditorSources{services_, objects_.comic, file_, user_}))
    , context_{services_,
               objects_.syntax,
               objects_.flags,
               objects_.comic,
               file_,
               user_,
               [this](QWidget* over) { runVariableTable(over); },
               *layoutEditor_,
               *numberPad_,
               services.makeMediaPlayer} {
    setObjectName(QStringLiteral("TfrmMain"));
    buildLayout();
    createToolWindows();
    connectActions();
    autosave_ = std::make_unique<AutosaveKeeper>(
        services_.autosaveFolder, [this] { return autosaveSnapshot(); },
        [this](const QString& reason) {
            setStatusText(QStringLiteral("自動保存できませんでした：") + reason);
        });
    FormCreate(file);
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::buildLayout() {
    actions_ = new MainActions(*this);

    treeView_ = new ComicTreeView(icons_);
    pnlTree_ = new QWidget;
    pnlTree_->setObjectName(QStringLiteral("pnlTree"));
    auto* treeLayout = new QVBoxLayout(pnlTree_);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->addWidget(treeView_);

    commandModel_ = new CommandListModel(objects_.comic, objects_.syntax, this);
    lstCmdList_ = new CommandListView(*commandModel_);
    lstCmdList_->setItemDelegate(new CommandListDelegate(icons_, user_, lstCmdList_));

    // The neighbours of each splitter bar keep at least the bar's thickness.
    for (QWidget* pane : {static_cast<QWidget*>(pnlTree_), static_cast<QWidget*>(lstCmdList_)})
        pane->setMinimumSize(kBarThickness, kBarThickness);
    treeSplitter_ = new QSplitter(Qt::Horizontal);
    treeSplitter_->setObjectName(QStringLiteral("splTree"));
    treeSplitter_->setHandleWidth(kBarThickness);
    treeSplitter_->setChildrenCollapsible(false);
    treeSplitter_->addWidget(pnlTree_);
    treeSplitter_->addWidget(lstCmdList_);
    treeSplitter_->setStretchFactor(0, 0);
    treeSplitter_->setStretchFactor(1, 1);
    treeSplitter_->handle(1)->setObjectName(QStringLiteral("pnlTreeOutlineMove"));

    pnlErrorList_ = new ErrorPanel;
    errorSplitter_ = new QSplitter(Qt::Vertical);
    errorSplitter_->setObjectName(QStringLiteral("splErrorList"));
    errorSplitter_->setHandleWidth(kBarThickness);
    errorSplitter_->addWidget(treeSplitter_);
    errorSplitter_->addWidget(pnlErrorList_);
    errorSplitter_->setStretchFactor(0, 1);
    errorSplitter_->setStretchFactor(1, 0);
    errorSplitter_->setCollapsible(0, false);
    // Until an error check has run only the bar of the error panel shows.
    errorSplitter_->setCollapsible(1, true);
    errorSplitter_->handle(1)->setObjectName(QStringLiteral("pnlErrorListOutlineMove"));
    setCentralWidget(errorSplitter_);
    // Found lines and references show in a panel of their own under the
    // views, hidden until something is looked for.
    pnlResultList_ = new ResultsPanel(this);
    addDockWidget(Qt::BottomDockWidgetArea, pnlResultList_);
    pnlResultList_->hide();

    statusPanel1_ = new QLabel;
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel1_->setFixedWidth(100);
    statusPanel1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusPanel2_ = new QLabel;
    statusPanel2_->setObjectName(QStringLiteral("StatusPanel2"));
    statusPanel2_->setMinimumWidth(1);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(statusPanel1_);
    statusBar()->addWidget(statusPanel2_, 1);
}

void TfrmMain::createToolWindows() {
    frmCommand_ = new TfrmCommand(context_, this);
    registerCommandDialogs(*frmCommand_);
    frmCmdPalette_ = new TfrmCmdPalette(services_, this);
    const InsertCommand insert = [this](const std::string& line, CmdKind kind) {
        guarded([&] { InsertNewCommand(line, kind); });
    };
    frmCommand_->setInsertCommand(insert);
    frmCmdPalette_->setInsertCommand(insert);
}

void TfrmMain::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        services_.showErrorBox(errorText(error));
    }
}

void TfrmMain::connectCommand(QAction* action, void (TfrmMain::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] {
        guarded([&] { (this->*handler)(); });
        // What a command changed (a step to undo, the clipboard) may change
        // what the others can do, also where it refreshed no view.
        UpdateMenuState();
    });
}

void TfrmMain::connectActions() {
    for (const auto& [row, action] : actions_->entries())
        if (row->handler != nullptr)
            connectCommand(action, row->handler);
    connectEditing();
    for (QAction* item : actions_->menuHistory)
        connect(item, &QAction::triggered, this,
                [this, item] { guarded([&] { menuHistoryClick(item->data().toInt()); }); });

    connect(treeView_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { guarded([&] { TreeViewChange(current); }); });
    QItemSelectionModel* selection = lstCmdList_->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this, [this] { UpdateStatus(); });
    connect(selection, &QItemSelectionModel::selectionChanged, this, [this] { UpdateStatus(); });
    connect(pnlErrorList_, &ErrorPanel::lineDoubleClicked, this,
            [this] { guarded([&] { lstErrorListDblClick(); }); });
    connect(pnlResultList_, &ResultsPanel::lineDoubleClicked, this,
            [this] { guarded([&] { lstResultListDblClick(); }); });
}

std::string TfrmMain::userNameForComic() {
    try {
        return toCp932(user_.userName);
    } catch (const EncodingError& error) {
        services_.showErrorBox(errorText(error));
        return {};
    }
}

void TfrmMain::FormCreate(const std::optional<std::filesystem::path>& file) {
    TComicFileCtrl& comic = objects_.comic;
    SetEditorFileHead(comic);
    file_.fileName = std::string(kUntitledName);
    if (!file) {
        comic.CreateNew();
    } else {
        try {
            const std::filesystem::path path = std::filesystem::absolute(*file);
            comic.LoadFromFile(path);
            file_.fileName = path;
            // The user name is not known yet; a discarded file gets it below.
            if (CheckOpenedComic(comic, services_.prompter, {}) == OpenVerdict::Discarded)
                file_.fileName = std::string(kUntitledName);
        } catch (const IoError& error) {
            services_.showErrorBox(errorText(error));
            comic.CreateNew();
        }
    }
    objects_.flags.LoadFlags();
    const SettingsAtStart settings =
        readSettingsAtStart(services_.settings, user_, services_.programFolder);
    windowFlags_.firstShowPending = true;
    windowFlags_.setupDue = settings.setupDue;
    windowFlags_.settingsUpgraded = settings.settingsUpgraded;
    applyGeometry(settings.geometry);

    settleOpenedComic();

    actions_->rebuildHistory(user_.fileHistory);
    collapseErrorPanel();
    BuildTree();
}

void TfrmMain::settleOpenedComic() {
    if (file_.isUntitled())
        objects_.comic.WriteHeader(kComicBlock, "Copyright", userNameForComic());
    objects_.comic.History().clear();
}

void TfrmMain::applyGeometry(const WindowGeometry& geometry) {
    move(geometry.left, geometry.top);
    resize(geometry.width, geometry.height);
    treeSplitter_->setSizes(
        {geometry.treeBorder, std::max(geometry.width - geometry.treeBorder, kBarThickness)});
}

WindowGeometry TfrmMain::currentGeometry() const {
    WindowGeometry geometry;
    const QRect frame = isMaximized() || isMinimized() ? normalGeometry() : QRect(pos(), size());
    geometry.top = frame.top();
    geometry.left = frame.left();
    geometry.width = frame.width();
    geometry.height = frame.height();
    geometry.treeBorder = treeSplitter_->sizes().value(0);
    return geometry;
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    guarded([this] { FormShow(); });
}

void TfrmMain::FormShow() {
    const bool firstShow = windowFlags_.firstShowPending;
    if (firstShow) {
        Reanchor();
        windowFlags_.firstShowPending = false;
    }
    bool goesOn = true;
    if (windowFlags_.settingsUpgraded) {
        goesOn = runFirstSetup(SetupRun::AutomaticUpdate, !windowFlags_.setupDue);
        windowFlags_.settingsUpgraded = false;
    } else if (windowFlags_.setupDue) {
        goesOn = runFirstSetup(SetupRun::StartUp, false);
        windowFlags_.setupDue = false;
        settleOpenedComic();
    }
    if (firstShow && goesOn)
        offerLeftCopies();
}

bool TfrmMain::runFirstSetup(SetupRun run, bool setupNotDue) {
    frmCommand_->hide();
    const bool goesOn = runSetup(run, setupNotDue);
    frmCommand_->show();
    return goesOn;
}

bool TfrmMain::runSetup(SetupRun run, bool setupNotDue) {
    if (!services_.runSetup ||
        services_.runSetup(run, setupNotDue, user_, this) == SetupOutcome::Continue)
        return true;
    // Queued, so that the program also ends when the setup ran before its
    // event loop started (at the first show).
    QMetaObject::invokeMethod(
        this, [this] { guarded([this] { menuExitClick(); }); }, Qt::QueuedConnection);
    return false;
}

bool TfrmMain::FormCloseQuery() {
    const bool proceed = QuerySave();
    // The palette is saved on every close through the close box, also when
    // the window stays open.
    frmCmdPalette_->PaletteQuerySave();
    return proceed;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool proceed = false;
    guarded([&] { proceed = FormCloseQuery(); });
    if (!proceed) {
        event->ignore();
        return;
    }
    // The comic was saved or its changes given up: its copy goes.
    autosave_->stop();
    autosave_->discard();
    event->accept();
}

void TfrmMain::FormDestroy() {
    writeSettingsAtExit(services_.settings, user_, currentGeometry());
}

bool TfrmMain::event(QEvent* event) {
    // Hints of menu items and tool buttons go to the second status panel.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            setStatusText(tip);
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::setStatusText(const QString& text) {
    statusPanel2_->setText(text);
}

QString TfrmMain::windowTitleText() const {
    QString title = QStringLiteral("パゴラ for Win95 - [") + pathText(file_.fileName.filename()) +
                    QStringLiteral("] ");
    if (isModified())
        title += QStringLiteral("(変更)");
    return title;
}

void TfrmMain::UpdateStatus() {
    frmCommand_->show();
    setWindowTitle(windowTitleText());
    statusPanel1_->setText(QString::number(lstCmdList_->focusedIndex()) + QStringLiteral("行目"));
    setStatusText(QStringLiteral("表示中のページ　：　") + qtText(file_.currentBook) +
                  QStringLiteral("　／　") + qtText(file_.currentPage));
    pnlResultList_->refresh(objects_.comic.ChangeCount());
    UpdateMenuState();
}

void TfrmMain::UpdateMenuState() {
    const EditHistory& history = objects_.comic.History();
    actions_->update({.selectedLines = static_cast<int>(lstCmdList_->selectedRows().size()),
                      .clipboardEmpty = objects_.clipboard.empty(),
                      .undoLabel = history.undoLabel(),
                      .redoLabel = history.redoLabel()});
}

void TfrmMain::setErrorPanelHeight(int height) {
    const int total = errorSplitter_->height();
    const int panel = std::max(height - errorSplitter_->handleWidth(), 0);
    errorSplitter_->setSizes({std::max(total - errorSplitter_->handleWidth() - panel, 0), panel});
}

void TfrmMain::collapseErrorPanel() {
    setErrorPanelHeight(kBarThickness);
}

void TfrmMain::menuExitClick() {
    // Exit takes the same way as the close box, with its save questions.
    if (close())
        QCoreApplication::exit(0);
}

} // namespace pagora
