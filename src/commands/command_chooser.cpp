#include "commands/command_chooser.h"

#include "commands/command_dialog.h"
#include "document/cmd_ctrl.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace pagora {
namespace {

constexpr std::string_view kCommentStart = "//";
constexpr int kDefaultTop = 39;
constexpr int kNarrowestWidth = 184;
// Beside the caption, a title bar holds the window's icon and close button.
constexpr int kTitleBarButtonsRoom = 80;

// The chooser's place; by default beside the main window, tall enough for
// every entry and wide enough for the longest one and the caption.
WindowPlaceSettings chooserPlace(QListWidget& list, const QString& caption) {
    list.ensurePolished();
    const int frame = 2 * list.frameWidth();
    const int height = list.sizeHintForRow(0) * list.count() + frame;
    const int width =
        std::max({kNarrowestWidth, list.sizeHintForColumn(0) + frame,
                  list.fontMetrics().horizontalAdvance(caption) + kTitleBarButtonsRoom});
    return {"CommandDlgPosTop",
            "CommandDlgPosLeft",
            "CommandDlgPosWidth",
            "CommandDlgPosHeight",
            kDefaultTop,
            rightOfMainWindow(),
            width,
            height};
}

} // namespace

const std::array<ChooserEntry, 18> kChooserEntries{{
    {"注釈", CmdKind::Comment},
    {"メッセージの表示", CmdKind::MsgDlg},
    {"グラフィックの表示", CmdKind::Graphic},
    {"音楽を演奏する", CmdKind::Music},
    {"効果音を鳴らす", CmdKind::Sound},
    {"音楽を止める", CmdKind::MusicStop},
    {"しばらく待つ", CmdKind::WaitTime},
    {"フラグの操作をする", CmdKind::FlagCtrl},
    {"数値変数の操作をする", CmdKind::ValueCtrl},
    {"文字列変数の操作をする", CmdKind::StringCtrl},
    {"選択肢を表示する", CmdKind::SelectDlg},
    {"ほかのページに移る", CmdKind::PageJump},
    {"マウスの入力を待つ", CmdKind::MouseClick},
    {"ウインドウの表示／消去", CmdKind::WindowShow},
    {"文字列の入力", CmdKind::StrInput},
    {"システムコマンド", CmdKind::System},
    {"クリッカブル領域の作成", CmdKind::ClickAble},
    {"クリッカブル領域のクリア", CmdKind::ClickAbleClear},
}};

TfrmCommand::TfrmCommand(DialogContext& context, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , context_(context)
    , lstCmdList_(new QListWidget(this)) {
    setObjectName(QStringLiteral("TfrmCommand"));
    setWindowTitle(QStringLiteral("コマンドの選択"));
    lstCmdList_->setObjectName(QStringLiteral("lstCmdList"));
    lstCmdList_->setMouseTracking(true);
    for (const ChooserEntry& entry : kChooserEntries)
        lstCmdList_->addItem(QString::fromUtf8(entry.caption));
    updateEntries();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstCmdList_);

    // The entry under the pointer is the selected one; a click takes it.
    connect(lstCmdList_, &QListWidget::itemEntered, lstCmdList_,
            [this](QListWidgetItem* item) { lstCmdList_->setCurrentItem(item); });
    connect(lstCmdList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lstCmdListClick(lstCmdList_->row(item)); });

    place_ = chooserPlace(*lstCmdList_, windowTitle());
    restoreWindowPlace(context_.services.settings, place_, *this);
}

TfrmCommand::~TfrmCommand() {
    saveWindowPlace(context_.services.settings, place_, *this);
}

void TfrmCommand::setDialog(CmdKind kind, CommandDialogFactory factory) {
    dialogs_[kind] = std::move(factory);
    updateEntries();
}

bool TfrmCommand::hasDialog(CmdKind kind) const {
    return kind == CmdKind::Comment || kind == CmdKind::MusicStop || dialogs_.contains(kind);
}

void TfrmCommand::updateEntries() {
    for (int row = 0; row < lstCmdList_->count(); ++row) {
        QListWidgetItem* item = lstCmdList_->item(row);
        const bool available = hasDialog(kChooserEntries[static_cast<size_t>(row)].kind);
        item->setFlags(available ? item->flags() | Qt::ItemIsEnabled
                                 : item->flags() & ~Qt::ItemIsEnabled);
    }
}

void TfrmCommand::lstCmdListClick(int row) {
    if (row < 0 || row >= lstCmdList_->count() || !insert_)
        return;
    const CmdKind kind = kChooserEntries[static_cast<size_t>(row)].kind;
    if (hasDialog(kind))
        insert_(std::string(), kind);
}

std::string TfrmCommand::EditCommand(const std::string& line, CmdKind kind) {
    confirmed_ = false;
    const std::string start = TCmdCtrl::GetCommandKind(line) == kind ? line : std::string();
    switch (kind) {
    case CmdKind::Comment:
        return editComment(start);
    case CmdKind::MusicStop:
        confirmed_ = true;
        return "MusicStop";
    default:
        return editInDialog(start, kind);
    }
}

std::string TfrmCommand::editComment(const std::string& line) {
    const std::string offered =
        line.size() >= kCommentStart.size() ? line.substr(kCommentStart.size()) : "";
    const std::optional<std::string> text = context_.prompter().inputText(
        PAGORA_CP932("注釈の入力"), PAGORA_CP932("この項目はコミックの動作に影響を与えません。"),
        offered);
    confirmed_ = text && *text != offered;
    return std::string(kCommentStart) + (confirmed_ ? *text : offered);
}

std::string TfrmCommand::editInDialog(const std::string& line, CmdKind kind) {
    const auto factory = dialogs_.find(kind);
    if (factory == dialogs_.end())
        return line;
    // Over the main window, like every other dialog, rather than over this
    // narrow tool window.
    QWidget* owner = parentWidget() != nullptr ? parentWidget() : this;
    const std::unique_ptr<TCommandDialog> dialog = factory->second(context_, owner);
    const std::optional<std::string> edited = dialog->run(line);
    confirmed_ = edited.has_value();
    return edited.value_or(line);
}

} // namespace pagora
