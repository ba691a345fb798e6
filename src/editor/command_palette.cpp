#include "editor/command_palette.h"

#include "document/cmd_ctrl.h"
#include "gui/help_topics.h"
#include "gui/help_viewer.h"
#include "gui/qt_text.h"
#include "gui/window_place.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <system_error>

namespace pagora {

namespace {

// By default under the main window, where it covers neither the command
// list nor the chooser beside it.
const WindowPlaceSettings& palettePlace() {
    static const WindowPlaceSettings place{"CommandPalPosTop",
                                           "CommandPalPosLeft",
                                           "CommandPalPosWidth",
                                           "CommandPalPosHeight",
                                           belowMainWindow(),
                                           0,
                                           270,
                                           130};
    return place;
}
constexpr std::string_view kPaletteFile = "CmdPaletteFile";

const std::string kPaletteFilter = "コマンドパレットファイル (*.pal);;すべてのファイル (*.*)";

const std::string& invalidSelection() {
    return PAGORA_CP932("不正なパレットが選択されました");
}

FileChooser paletteChooser(const std::string& title, const std::filesystem::path& current) {
    FileChooser chooser;
    chooser.title = title;
    chooser.filter = kPaletteFilter;
    chooser.defaultSuffix = "pal";
    chooser.startIn = current;
    chooser.confirmOverwrite = false;
    return chooser;
}

QAction* addItem(QMenu* menu, const char* name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

TfrmCmdPalette::TfrmCmdPalette(DialogServices& services, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , services_(services)
    , list_(new QListWidget(this))
    , menu_(new QMenu(this)) {
    setObjectName(QStringLiteral("TfrmCmdPalette"));
    setWindowTitle(QStringLiteral("コマンドパレット"));
    list_->setObjectName(QStringLiteral("lstCmdPalette"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);

    menu_->setObjectName(QStringLiteral("popCmdPalette"));
    connect(addItem(menu_, "popPalSelect", QStringLiteral("選択")), &QAction::triggered, this,
            [this] { lstCmdPaletteDblClick(); });
    connect(addItem(menu_, "popPalRename", QStringLiteral("名前の変更")), &QAction::triggered, this,
            [this] { popPalRenameClick(); });
    connect(addItem(menu_, "popPalDelete", QStringLiteral("削除")), &QAction::triggered, this,
            [this] { popPalDeleteClick(); });
    menu_->addSeparator();
    connect(addItem(menu_, "popPalFileOpen", QStringLiteral("パレットを開く")), &QAction::triggered,
            this, [this] { popPalFileOpenClick(); });
    connect(addItem(menu_, "popPalFileSave", QStringLiteral("パレットを保存")), &QAction::triggered,
            this, [this] { popPalFileSaveClick(); });
    menu_->addSeparator();
    connect(addItem(menu_, "popPalHelp", QStringLiteral("ヘルプ")), &QAction::triggered, this,
            [this] { popPalHelpClick(); });
    connect(menu_, &QMenu::aboutToShow, this, &TfrmCmdPalette::updatePopupMenu);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(list_->viewport()->mapToGlobal(at)); });
    list_->viewport()->installEventFilter(this);

    SettingsStore& settings = services_.settings;
    restoreWindowPlace(settings, palettePlace(), *this);
    if (!settings.contains(kPaletteFile))
        settings.writeText(kPaletteFile, std::string(kDefaultPaletteFile));
    paletteFile_ = settings.readText(kPaletteFile, std::string(kDefaultPaletteFile));
    if (paletteFile_.empty())
        paletteFile_ = std::string(kDefaultPaletteFile);
    LoadPalette();
}

TfrmCmdPalette::~TfrmCmdPalette() {
    SettingsStore& settings = services_.settings;
    saveWindowPlace(settings, palettePlace(), *this);
    settings.writeTextIfPresent(kPaletteFile, paletteFile_.string());
}

bool TfrmCmdPalette::hasNoFile() const {
    return paletteFile_ == std::filesystem::path(kDefaultPaletteFile);
}

void TfrmCmdPalette::AddPaletteEntry(const std::string& line, const std::string& name) {
    entries_.push_back({name, line});
    refill();
}

void TfrmCmdPalette::PaletteQuerySave() {
    bool chosenNow = false;
    if (hasNoFile() && !entries_.empty() &&
        services_.prompter.message(MessageKind::Information,
                                   PAGORA_CP932("コマンドパレットを保存しますか？"),
                                   Buttons::YesNo) == Answer::Yes) {
        if (const auto chosen =
                services_.prompter.saveFile(paletteChooser("パレットを保存", paletteFile_))) {
            paletteFile_ = *chosen;
            chosenNow = true;
        }
    }
    // A file chosen just now that cannot be written is not kept as the
    // palette's file.
    if (!hasNoFile() && !SavePalette() && chosenNow)
        paletteFile_ = std::string(kDefaultPaletteFile);
}

void TfrmCmdPalette::LoadPalette() {
    if (!hasNoFile()) {
        std::error_code error;
        if (!std::filesystem::exists(paletteFile_, error)) {
            paletteFile_ = std::string(kDefaultPaletteFile);
        } else {
            try {
                entries_ = loadPaletteFile(paletteFile_);
            } catch (const IoError& failure) {
                // The entries stay, and the file is not taken as the
                // palette's, so that no later save writes over it.
                showIoError(failure);
                paletteFile_ = std::string(kDefaultPaletteFile);
            }
        }
    }
    refill();
}

bool TfrmCmdPalette::SavePalette() {
    try {
        savePaletteFile(paletteFile_, entries_);
        return true;
    } catch (const IoError& failure) {
        showIoError(failure);
        return false;
    }
}

bool TfrmCmdPalette::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::LeftButton) {
            QListWidgetItem* item = list_->itemAt(click->position().toPoint());
            if (item == nullptr)
                list_->setCurrentRow(-1);
            else
                list_->setCurrentItem(item);
            lstCmdPaletteDblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmCmdPalette::lstCmdPaletteDblClick() {
    const int index = selectedEntry();
    if (index < 0) {
        services_.prompter.warning(invalidSelection());
        return;
    }
    const std::string line = entries_[static_cast<std::size_t>(index)].line;
    if (insert_)
        insert_(line, TCmdCtrl::GetCommandKind(line));
}

void TfrmCmdPalette::popPalRenameClick() {
    const int index = selectedEntry();
    if (index < 0) {
        services_.prompter.warning(invalidSelection());
        refill();
        return;
    }
    std::string& name = entries_[static_cast<std::size_t>(index)].name;
    if (const auto answer = services_.prompter.inputText(
            PAGORA_CP932("コマンドパレットの登録名変更"),
            PAGORA_CP932("コマンドパレットの登録名を入力して下さい"), name))
        name = *answer;
    refill(index);
}

void TfrmCmdPalette::popPalDeleteClick() {
    const int index = selectedEntry();
    if (index < 0) {
        services_.prompter.warning(invalidSelection());
    } else if (services_.prompter.message(MessageKind::Confirmation,
                                          PAGORA_CP932("コマンドパレットを削除してもいいですか？"),
                                          Buttons::OkCancel) == Answer::Ok) {
        entries_.erase(entries_.begin() + index);
    }
    refill();
}

void TfrmCmdPalette::popPalFileOpenClick() {
    const auto chosen = services_.prompter.openFile(paletteChooser("パレットを開く", paletteFile_));
    if (!chosen)
        return;
    const std::filesystem::path previous = paletteFile_;
    paletteFile_ = *chosen;
    std::error_code error;
    const bool present = std::filesystem::exists(paletteFile_, error);
    LoadPalette();
    // A file that is there but cannot be read leaves the palette as it was.
    if (present && hasNoFile())
        paletteFile_ = previous;
}

void TfrmCmdPalette::popPalFileSaveClick() {
    const auto chosen = services_.prompter.saveFile(paletteChooser("パレットを保存", paletteFile_));
    if (!chosen)
        return;
    const std::filesystem::path previous = paletteFile_;
    paletteFile_ = *chosen;
    // A file that cannot be written is not taken as the palette's.
    if (!SavePalette())
        paletteFile_ = previous;
}

void TfrmCmdPalette::popPalHelpClick() {
    showHelpTopic(services_, kCommandPaletteTopic);
}

void TfrmCmdPalette::updatePopupMenu() {
    const bool selected = selectedEntry() >= 0;
    for (const char* name : {"popPalSelect", "popPalRename", "popPalDelete"})
        if (auto* action = menu_->findChild<QAction*>(QString::fromLatin1(name)))
            action->setEnabled(selected);
}

int TfrmCmdPalette::selectedEntry() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()) || !list_->item(row)->isSelected())
        return -1;
    return row;
}

void TfrmCmdPalette::refill(int keepRow) {
    list_->clear();
    for (const PaletteEntry& entry : entries_)
        list_->addItem(qtText(entry.name));
    if (keepRow >= 0 && keepRow < list_->count())
        list_->setCurrentRow(keepRow);
}

void TfrmCmdPalette::showIoError(const std::exception& error) {
    services_.showErrorBox(errorText(error));
}

} // namespace pagora
