#include "gui/dialog_context.h"
#include "gui/help_topics.h"
#include "gui/help_viewer.h"
#include "platform/prompter.h"
#include "settings/window_set.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <optional>
#include <span>

namespace pagora {
namespace {

constexpr int kSteps[] = {1, 2, 5, 10};
constexpr int kFontSizes[] = {10, 12, 14, 16, 18, 20, 24, 28, 32};

// "１０" for 10: the menus write their numbers in full-width digits.
QString fullWidth(int number) {
    QString digits = QString::number(number);
    for (QChar& digit : digits)
        digit = QChar(0xFF10 + digit.digitValue());
    return digits;
}

// A group of items of which at most one is checked, each holding its number.
QActionGroup* numberItems(QObject& owner, const char* namePrefix, std::span<const int> numbers,
                          const QString& unit) {
    auto* group = new QActionGroup(&owner);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const int number : numbers) {
        auto* item = new QAction(fullWidth(number) + unit, group);
        item->setObjectName(QString::fromLatin1(namePrefix) + QString::number(number));
        item->setCheckable(true);
        item->setData(number);
    }
    return group;
}

void checkNumber(QActionGroup& group, int number) {
    for (QAction* item : group.actions())
        item->setChecked(item->data().toInt() == number);
}

} // namespace

QAction* TfrmWindowSet::addItem(QMenu& menu, const char* name, const QString& caption,
                                bool checkable, void (TfrmWindowSet::*handler)()) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(checkable);
    connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return item;
}

QMenu* TfrmWindowSet::addSubmenu(QMenu& menu, const char* name, const QString& caption) {
    QMenu* submenu = menu.addMenu(caption);
    submenu->setObjectName(QString::fromLatin1(name));
    return submenu;
}

void TfrmWindowSet::buildMenus() {
    // The step items are the same in all three menus, so that a step chosen
    // in one is checked in the others.
    stepGroup_ = numberItems(*this, "menuStep", kSteps, QStringLiteral("ｄｏｔ"));
    connect(stepGroup_, &QActionGroup::triggered, this,
            [this](QAction* item) { menuStepClick(item->data().toInt()); });
    fontSizeGroup_ = numberItems(*this, "menuFontSize", kFontSizes, QStringLiteral("ポイント"));
    connect(fontSizeGroup_, &QActionGroup::triggered, this,
            [this](QAction* item) { menuFontSizeClick(item->data().toInt()); });
    const auto addStepMenu = [this](QMenu& menu) {
        addSubmenu(menu, "menuStep", QStringLiteral("マウス移動ポイント数の設定"))
            ->addActions(stepGroup_->actions());
    };

    popmenuImage_ = new QMenu(this);
    popmenuImage_->setObjectName(QStringLiteral("popmenuImage"));
    QMenu* position =
        addSubmenu(*popmenuImage_, "menuPositionMode", QStringLiteral("表示位置設定モード"));
    menuPositionScreen_ =
        addItem(*position, "menuPositionScreen", QStringLiteral("画面上の表示位置を設定する"), true,
                &TfrmWindowSet::menuPositionScreenClick);
    menuPositionImage_ =
        addItem(*position, "menuPositionImage", QStringLiteral("画像内の表示部分を設定する"), true,
                &TfrmWindowSet::menuPositionImageClick);
    addStepMenu(*popmenuImage_);
    menuFitToPos_ =
        addItem(*popmenuImage_, "menuFitToPos", QStringLiteral("指定範囲に合わせてサイズを調整"),
                true, &TfrmWindowSet::menuFitToPosClick);
    menuUseTransparent_ =
        addItem(*popmenuImage_, "menuUseTransparent", QStringLiteral("透明色を使う"), true,
                &TfrmWindowSet::menuUseTransparentClick);
    QMenu* transparent =
        addSubmenu(*popmenuImage_, "menuTransparentColor", QStringLiteral("透明色の指定"));
    menuAutoTransparent_ =
        addItem(*transparent, "menuAutoTransparent", QStringLiteral("透明色を自動設定"), true,
                &TfrmWindowSet::menuAutoTransparentClick);
    addItem(*transparent, "menuPickTransparent", QStringLiteral("透明色を取得"), false,
            &TfrmWindowSet::menuPickTransparentClick);
    menuHalfTransparent_ =
        addItem(*popmenuImage_, "menuHalfTransparent", QStringLiteral("半透明表示"), true,
                &TfrmWindowSet::menuHalfTransparentClick);
    popmenuImage_->addSeparator();
    addItem(*popmenuImage_, "menuHelp", QStringLiteral("ヘルプ"), false,
            &TfrmWindowSet::menuHelpClick);
    QAction* end = addItem(*popmenuImage_, "menuEnd", QStringLiteral("設定終了"), false,
                           &TfrmWindowSet::menuEndClick);

    popmenuText_ = new QMenu(this);
    popmenuText_->setObjectName(QStringLiteral("popmenuText"));
    addStepMenu(*popmenuText_);
    addSubmenu(*popmenuText_, "menuFontSize", QStringLiteral("フォントサイズの設定"))
        ->addActions(fontSizeGroup_->actions());
    addItem(*popmenuText_, "menuFontColor", QStringLiteral("フォントカラーの設定"), false,
            &TfrmWindowSet::menuFontColorClick);
    popmenuText_->addSeparator();
    popmenuText_->addAction(end);

    popmenuArea_ = new QMenu(this);
    popmenuArea_->setObjectName(QStringLiteral("popmenuArea"));
    addStepMenu(*popmenuArea_);
    popmenuArea_->addSeparator();
    popmenuArea_->addAction(end);
}

QMenu& TfrmWindowSet::contextMenu() {
    updateChecks();
    if (AreaMode)
        return *popmenuArea_;
    return pictureMode_ ? *popmenuImage_ : *popmenuText_;
}

void TfrmWindowSet::updateChecks() {
    menuPositionScreen_->setChecked(!viewDrag_);
    menuPositionImage_->setChecked(viewDrag_);
    checkNumber(*stepGroup_, Step);
    checkNumber(*fontSizeGroup_, FontSize);
    menuFitToPos_->setChecked(FitToPos);
    menuUseTransparent_->setChecked(UseTransparent);
    menuAutoTransparent_->setChecked(AutoTransparentColor);
    menuHalfTransparent_->setChecked(HalfTransparent);
}

void TfrmWindowSet::menuPositionScreenClick() {
    viewDrag_ = false;
    updateChecks();
}

void TfrmWindowSet::menuPositionImageClick() {
    viewDrag_ = true;
    updateChecks();
}

void TfrmWindowSet::menuStepClick(int step) {
    Step = usableStep(step);
    updateChecks();
}

void TfrmWindowSet::menuFitToPosClick() {
    FitToPos = !FitToPos;
    updateChecks();
    redraw();
}

void TfrmWindowSet::menuUseTransparentClick() {
    UseTransparent = !UseTransparent;
    if (UseTransparent)
        AutoTransparentColor = true;
    updateChecks();
    redraw();
}

void TfrmWindowSet::menuAutoTransparentClick() {
    AutoTransparentColor = true;
    updateChecks();
    redraw();
}

void TfrmWindowSet::menuPickTransparentClick() {
    Mode = kColorPickMode;
    AutoTransparentColor = false;
    view_->setCursor(Qt::CrossCursor);
    updateChecks();
    redraw();
}

void TfrmWindowSet::menuHalfTransparentClick() {
    HalfTransparent = !HalfTransparent;
    updateChecks();
    redraw();
}

void TfrmWindowSet::menuFontSizeClick(int points) {
    FontSize = points;
    updateChecks();
    redraw();
}

void TfrmWindowSet::menuFontColorClick() {
    if (const std::optional<std::uint32_t> color =
            sources_.services.prompter.chooseColor(FontColor)) {
        FontColor = *color;
        redraw();
    }
}

void TfrmWindowSet::menuHelpClick() {
    showHelpTopic(sources_.services, kWindowSetHelpTopic);
}

void TfrmWindowSet::menuEndClick() {
    accept();
}

} // namespace pagora
