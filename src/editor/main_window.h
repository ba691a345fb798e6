#pragma once

#include "document/comic_editing.h"
#include "editor/editor_context.h"
#include "editor/editor_icons.h"
#include "editor/editor_settings.h"
#include "editor/find_dialog.h"

#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPoint;
class QSplitter;
class QTreeWidgetItem;

namespace pagora {

class CommandListModel;
class CommandListView;
class ComicTreeView;
class AutosaveKeeper;
class ErrorPanel;
class ResultsPanel;
struct ResultsQuery;
class MainActions;
struct AutosaveSnapshot;
struct LeftCopy;
class TfrmCmdPalette;
class TfrmCommand;
class TfrmPreview;
class TfrmWindowSet;

// The editor's main window: it owns the one open comic and the program-wide
// objects, keeps the file session (file name, modified state, history),
// shows the books and pages as a tree and the open page as a command list,
// runs the error check and the player, and keeps its settings.
class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // Opens file, or starts a new comic when there is none.
    TfrmMain(EditorServices& services, const std::optional<std::filesystem::path>& file,
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The window's own state between its steps.
    struct WindowFlags {
        bool firstShowPending = false;
        bool setupDue = false;
        bool settingsUpgraded = false;
        // Set while the window itself changes the tree, so that its own
        // selection does not open a page a second time.
        bool treeUpdateGuard = false;
    };

    DialogContext& context() { return context_; }
    FileSession& file() { return file_; }
    UserSettings& user() { return user_; }
    const WindowFlags& windowFlags() const { return windowFlags_; }
    ProgramObjects& objects() { return objects_; }
    MainActions& actions() { return *actions_; }
    AutosaveKeeper& autosave() { return *autosave_; }

    // --- file session ---
    // Asks whether to save a modified comic; true when the comic was saved or
    // the user chose not to save it, so that the pending action may go on.
    bool QuerySave();
    void LoadComicFile(const std::filesystem::path& path);
    // Each tells whether the comic was saved; a failed save is shown to the
    // user and leaves the session as it was.
    bool SaveComicFile();
    bool SaveComicFileAs();
    void AddFileHistory(const std::filesystem::path& path);

    // Whether the comic differs from its saved state (or has none).
    bool isModified() const;

    // --- views ---
    void BuildTree();
    void SelectTreeNode(const std::string& book, const std::string& page);
    void RefreshCommandList(int line);
    void OpenPage(const std::string& book, const std::string& page, int line);
    void Reanchor();
    void RefreshAll();
    // After New or Open: the variable table of the new comic, a clean state,
    // an empty error panel shrunk to its bar, and the views refreshed.
    void ShowReplacedComic();
    void UpdateStatus();
    // Re-evaluates every action of the menus and the tool bar from the
    // selection, the command clipboard and the edit history.
    void UpdateMenuState();

    // --- menu commands ---
    void menuNewFileClick();
    void menuFileOpenClick();
    void menuFileSaveClick();
    void menuFileSaveNameClick();
    void menuHistoryClick(int entry);
    void menuPlayerExecFirstClick();
    // "プレビュー": the comic plays in the preview window from the open page's
    // first line; "スタートページからプレビュー" from the comic's start page.
    void menuPreviewClick();
    void menuPreviewStartClick();
    void menuErrorCheckClick();
    void menuPackageMakeClick();
    void menuConditionClick();
    void menuSetupWizClick();
    void menuFlagSettingClick();
    void menuMenuSettingClick();
    void menuVersionClick();
    // After a settings dialog: what it confirmed is written as one step, and
    // the comic counts as changed however the dialog closed.
    void finishSettingsDialog(const std::optional<std::vector<HeaderEntry>>& confirmed);
    void menuSystemSettingClick();
    void menuWindowSettingClick();
    void menuHelpContentsClick();
    void menuHelpKeywordClick();
    void menuHelpOnHelpClick();
    void menuExitClick();
    void menuUndoClick();
    void menuRedoClick();
    void lstErrorListDblClick();

    // --- books and pages ---
    void menuAddBookClick();
    void menuAddPageClick();
    void menuBookDeleteClick();
    void menuPageDeleteClick();
    void menuBookRenameClick();
    void menuPageRenameClick();
    // Moves the dragged node's book or page next to the node it was dropped on.
    void TreeViewDragDrop(QTreeWidgetItem* source, QTreeWidgetItem* target);

    // --- command lines ---
    void menuCmdInsertClick();
    void menuCmdAddClick();
    void menuDeleteClick();
    void menuCopyClick();
    void menuCutClick();
    void menuPasteClick();
    // Asks the command dialog for a new line of that kind (text: the line to
    // start from, empty for a new one) and puts it after the focused line.
    void InsertNewCommand(const std::string& text, CmdKind kind);
    // Edits the focused line in its kind's dialog.
    void EditCommandAt();
    void menuCmdPaletteAddClick();
    void menuCmdPaletteShowClick();
    // "検索": the lines that hold a text, in the results panel.
    void menuFindClick();
    // "次を検索": the next line after the focused one that holds the last
    // text found, opened.
    void menuFindNextClick();
    // "このページへの参照": the lines and header keys that lead to the open page.
    void menuPageReferencesClick();
    // Opens the page of the results panel's current line at that line.
    void lstResultListDblClick();

    // Whether the window may close: the save question.
    bool FormCloseQuery();
    // The window's place and the tree's width, as the settings keep them.
    WindowGeometry currentGeometry() const;

    // The parts of the window, for the program and its tests.
    CommandListView& commandList() { return *lstCmdList_; }
    ComicTreeView& tree() { return *treeView_; }
    ErrorPanel& errorPanel() { return *pnlErrorList_; }
    ResultsPanel& resultsPanel() { return *pnlResultList_; }
    QLabel& statusPanel1() { return *statusPanel1_; }
    QLabel& statusPanel2() { return *statusPanel2_; }
    QSplitter& errorSplitter() { return *errorSplitter_; }
    QSplitter& treeSplitter() { return *treeSplitter_; }
    TfrmCommand& commandChooser() { return *frmCommand_; }
    TfrmCmdPalette& commandPalette() { return *frmCmdPalette_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void createToolWindows();
    void connectActions();
    void FormCreate(const std::optional<std::filesystem::path>& file);
    void FormShow();
    // Runs the setup wizard, if the program has one. When the setup erased
    // the settings the program ends, the way Exit does, and the result is
    // false.
    bool runSetup(SetupRun run, bool setupNotDue);
    // The same at the first show, with the command chooser hidden meanwhile.
    bool runFirstSetup(SetupRun run, bool setupNotDue);
    void FormDestroy();
    // The modified comic for its copy; nothing while it is clean.
    std::optional<AutosaveSnapshot> autosaveSnapshot() const;
    // Offers the copies that editors left behind, newest first, until one is
    // taken back.
    void offerLeftCopies();
    void restoreLeftCopy(LeftCopy copy);
    void applyGeometry(const WindowGeometry& geometry);
    void TreeViewChange(QTreeWidgetItem* current);
    // Runs a command of the user; an error that escapes it is shown in the
    // error box and the editor goes on.
    void guarded(const std::function<void()>& command);
    void connectCommand(QAction* action, void (TfrmMain::*handler)());
    // The user name as the comic's Copyright entry (CP932); empty, after
    // saying why, when the comic cannot hold it.
    std::string userNameForComic();
    // The comic as it opens: an untitled one carries the user's name, and that
    // and what the checks on opening changed are part of it, not changes.
    void settleOpenedComic();
    void setErrorPanelHeight(int height);
    // Only the splitter bar of the error panel shows.
    void collapseErrorPanel();
    void showStructureNote();
    void setStatusText(const QString& text);
    QString windowTitleText() const;
    bool startPlayer();
    // A new preview window (the one open before closes) over a copy of the comic.
    TfrmPreview& openPreview();
    bool saveComicTo(const std::filesystem::path& path);
    // The command list's and the tree's own events: keys, double clicks,
    // drops and pop-up menus.
    void connectEditing();
    // Shows the place a replayed step changed, with the views and the
    // variable table brought up to date.
    void showReplay(const std::optional<EditReplay>& replay);
    // The focused line's index, or -1 when the page shows no line.
    int focusedLine() const;
    // The open page with its focused line.
    EditPlace focusedPlace() const;
    // After an edit of the open page: the list with the edit's line focused
    // (the focused line kept, when nothing changed).
    void showLineEdit(const EditVerdict& verdict);
    // Shows an edit's refusal; true when there was one.
    bool showRefusal(const std::optional<EditMessage>& refusal);
    // Shows the refusal, if any; true when the edit was done.
    bool applyVerdict(const EditVerdict& verdict);
    // The open book, or the open page.
    TreeNode openNode(TreeLevel level) const;
    // The user's side of adding, renaming and deleting the open book or page:
    // the questions, then the edit.
    void addTreeNode(TreeLevel level);
    void renameTreeNode(TreeLevel level);
    void deleteTreeNode(TreeLevel level);
    // How many command lines lead to the target, as an extra first line of
    // a delete question (empty when none do).
    std::string referencesLine(const NameTarget& target, const std::string& what,
                               const std::string& lineBreak) const;
    // Asks whether the lines that refer to the old name are rewritten too;
    // Keep without asking when none do, nothing when the user cancels.
    std::optional<ReferenceUpdate> askReferenceUpdate(const NameTarget& target);
    // Shows a rename's refusal, or the lines it left alone; true when it was done.
    bool applyRename(const RenameVerdict& renamed);
    // The lines a rename left as they were, in the results panel, and a warning.
    void showLeftAlone(const ReferenceRewrite& references);
    // The variable table's rename: the checks, the question, the rename.
    EditVerdict renameVariableAsked(VariableKind kind, std::string_view oldName,
                                    std::string_view newName);
    void showResults(ResultsQuery query);
    // Opens the book of focus (and its page, when focus names one) in the
    // rebuilt views.
    void showTreeEdit(const EditPlace& focus);
    void showListMenu(const QPoint& position);
    void showTreeMenu(const QPoint& position);
    // The variable table's dialog over parent, each change a step of its
    // own; then the table is read anew and the window shows the new state.
    // True when the user changed something.
    bool runVariableTable(QWidget* parent);

    EditorServices& services_;
    FileSession file_;
    UserSettings user_;
    WindowFlags windowFlags_;
    ProgramObjects objects_;
    std::unique_ptr<TfrmValueEdit> numberPad_;
    std::unique_ptr<TfrmWindowSet> layoutEditor_;
    DialogContext context_;
    EditorIcons icons_;
    std::unique_ptr<AutosaveKeeper> autosave_;

    MainActions* actions_ = nullptr;
    QSplitter* errorSplitter_ = nullptr;
    QSplitter* treeSplitter_ = nullptr;
    QWidget* pnlTree_ = nullptr;
    ComicTreeView* treeView_ = nullptr;
    CommandListModel* commandModel_ = nullptr;
    CommandListView* lstCmdList_ = nullptr;
    ErrorPanel* pnlErrorList_ = nullptr;
    ResultsPanel* pnlResultList_ = nullptr;
    // The last text found, for "次を検索".
    std::optional<FindRequest> lastFind_;
    QLabel* statusPanel1_ = nullptr;
    QLabel* statusPanel2_ = nullptr;
    TfrmCommand* frmCommand_ = nullptr;
    TfrmCmdPalette* frmCmdPalette_ = nullptr;
    QPointer<TfrmPreview> frmPreview_;
};

} // namespace pagora
