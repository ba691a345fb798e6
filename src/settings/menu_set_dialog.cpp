#include "settings/menu_set_dialog.h"

#include "document/comic_file.h"
#include "gui/dialog_context.h"
#include "gui/help_topics.h"
#include "platform/numbers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <string_view>

namespace pagora {
namespace {

constexpr std::string_view kMenuBlock = "Menu";

// An item of the player's menu: its key, its list and label, and whether the
// player can control it itself.
struct MenuItem {
    const char* key;
    const char* control;
    const char* label;
    bool automatic;
};

// In the order the keys are read and written.
constexpr std::array<MenuItem, TfrmMenuSet::kItems> kMenuItems = {{
    {"Save", "cmbSave", "現在の状況をセーブする", false},
    {"Load", "cmbLoad", "セーブ内容をロードする", false},
    {"Config", "cmbConfig", "環境設定", false},
    {"Document", "cmbDocument", "ドキュメントの表示", true},
    {"Help", "cmbHelp", "ヘルプの表示", true},
    {"Setup", "cmbSetup", "セットアップ", false},
    {"Version", "cmbVersion", "バージョン情報", false},
    {"Exit", "cmbExit", "終了", false},
}};

// The stored value of each position of a list.
constexpr std::array<std::string_view, 3> kChoiceValues = {"0", "1", "Auto"};

// The position a stored value selects: its number, else (for "Auto" and any
// other text, and for a number the list has no position for) "自動制御" where
// the item has it and "表示" where it has not.
int positionOf(const MenuItem& item, std::string_view value) {
    const int fallback = item.automatic ? 2 : 1;
    const int position = lenientInt(value, fallback);
    const int choices = item.automatic ? 3 : 2;
    return position >= 0 && position < choices ? position : fallback;
}

} // namespace

TfrmMenuSet::TfrmMenuSet(DialogContext& context, QWidget* parent)
    : DialogFrame(context.services,
                  {"TfrmMenuSet", QStringLiteral("メニュー設定"), kMenuSetHelpTopic}, parent)
    , context_(context) {
    auto* group = new QGroupBox(QStringLiteral("プレーヤーのメニュー項目"), this);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);
    for (std::size_t i = 0; i < kItems; ++i) {
        const MenuItem& item = kMenuItems[i];
        auto* box = new QComboBox(group);
        box->setMinimumWidth(140);
        box->setObjectName(QString::fromLatin1(item.control));
        box->addItems({QStringLiteral("非表示"), QStringLiteral("表示")});
        if (item.automatic)
            box->addItem(QStringLiteral("自動制御"));
        auto* label = new QLabel(QString::fromUtf8(item.label), group);
        label->setBuddy(box);
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        boxes_[i] = box;
    }
    setBody(group);
}

std::optional<std::vector<HeaderEntry>> TfrmMenuSet::run() {
    load();
    if (!runModal())
        return std::nullopt;
    return entries_;
}

void TfrmMenuSet::load() {
    for (std::size_t i = 0; i < kItems; ++i) {
        const MenuItem& item = kMenuItems[i];
        boxes_[i]->setCurrentIndex(
            positionOf(item, context_.comic.ReadHeader(kMenuBlock, item.key, "Auto")));
    }
}

void TfrmMenuSet::readControls() {
    entries_.clear();
    for (std::size_t i = 0; i < kItems; ++i) {
        const int position = boxes_[i]->currentIndex();
        entries_.push_back({std::string(kMenuBlock), kMenuItems[i].key,
                            std::string(kChoiceValues[static_cast<std::size_t>(position)])});
    }
}

} // namespace pagora
