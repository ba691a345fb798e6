#include "settings/window_position_dialog.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/play_windows.h"
#include "gui/controls.h"
#include "gui/dialog_context.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/prompter.h"
#include "settings/pixel_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string>

namespace pagora {

// One play window: the part of its controls' names, its tab, and its
// header block with the defaults of its keys.
struct PlayWindow {
    const char* name; // "Mes": cmbMesWinFont, chkMesTitleBar
    const char* caption;
    PlayWindowDefaults defaults;
};

namespace {

// In the order the keys are written.
const std::array<PlayWindow, TfrmWindowPositionSet::kWindowCount>& playWindows() {
    static const std::array<PlayWindow, TfrmWindowPositionSet::kWindowCount> windows{{
        {"Main", "メイン", playWindowDefaults(0)},
        {"Mes", "メッセージ", playWindowDefaults(1)},
        {"Sel", "セレクト", playWindowDefaults(2)},
        {"Usr1", "ユーザー１", playWindowDefaults(3)},
        {"Usr2", "ユーザー２", playWindowDefaults(4)},
        {"Usr3", "ユーザー３", playWindowDefaults(5)},
    }};
    return windows;
}

// What the boxes let the user type and step to: a Windows window is at most
// 32,767 pixels wide and high, and a play window is placed no further than
// that from the main window. Numbers outside this that the comic holds are
// shown and kept.
constexpr int kLargestPixels = 32767;

QString controlName(const char* kind, const PlayWindow& window, const char* role) {
    return QString::fromLatin1(kind) + QString::fromLatin1(window.name) + QStringLiteral("Win") +
           QString::fromLatin1(role);
}

bool cp932Holds(const QString& text) {
    try {
        cp932Text(text);
        return true;
    } catch (const EncodingError&) {
        return false;
    }
}

// The fonts of the system that a comic can name: those whose names CP932 holds.
QStringList installedFontNames() {
    QStringList names;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family) && cp932Holds(family))
            names.push_back(family);
    return names;
}

// A key's switch is on when its value is a number above 0.
bool isOn(const std::string& value) {
    return parseInt(value).value_or(0) > 0;
}

std::string switchText(const QCheckBox& box) {
    return box.isChecked() ? "1" : "0";
}

PixelBox* makePixelBox(int minimum, int fallback, const QString& name, QWidget* parent) {
    auto* box = new PixelBox(minimum, kLargestPixels, fallback, parent);
    box->setObjectName(name);
    return box;
}

// A box with its caption to its left, in a row of the grid.
void addLabelled(QGridLayout& grid, int row, int column, const QString& caption, QWidget* box) {
    auto* label = new QLabel(caption);
    label->setBuddy(box);
    if (column > 0)
        label->setIndent(16); // apart from the box before it
    grid.addWidget(label, row, column);
    grid.addWidget(box, row, column + 1);
}

QGroupBox* buildFontGroup(const PlayWindow& window, PlayWindowControls& controls) {
    auto* group = new QGroupBox(QStringLiteral("文字"));
    controls.font = new QComboBox(group);
    controls.font->setObjectName(controlName("cmb", window, "Font"));
    // Any name may be typed: the comic names the fonts of its players' machines.
    controls.font->setEditable(true);
    controls.font->setInsertPolicy(QComboBox::NoInsert);
    controls.font->setMinimumContentsLength(20);
    controls.bold = makeCheckBox(controlName("chk", window, "Bold"), QStringLiteral("太字"), group);
    controls.italic =
        makeCheckBox(controlName("chk", window, "Italic"), QStringLiteral("斜体"), group);
    controls.shadow = makeCheckBox(controlName("chk", window, "Shadow"),
                                   QStringLiteral("文字に影をつける"), group);
    controls.shadowColor = new QLineEdit(group);
    controls.shadowColor->setObjectName(controlName("edt", window, "ShadowColor"));
    const QByteArray buttonName = controlName("btn", window, "ShadowColorSet").toLatin1();
    controls.shadowColorSet = makeButton(QStringLiteral("色の設定"), buttonName.constData(), group);

    auto* styles = new QHBoxLayout;
    styles->addWidget(controls.bold);
    styles->addWidget(controls.italic);
    styles->addStretch(1);
    auto* shadowColor = new QHBoxLayout;
    shadowColor->addSpacing(20);
    shadowColor->addWidget(new QLabel(QStringLiteral("影の色")));
    shadowColor->addWidget(controls.shadowColor, 1);
    shadowColor->addWidget(controls.shadowColorSet);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(controls.font);
    layout->addLayout(styles);
    layout->addWidget(controls.shadow);
    layout->addLayout(shadowColor);
    return group;
}

QGroupBox* buildPlaceGroup(const PlayWindow& window, PlayWindowControls& controls) {
    auto* group = new QGroupBox(window.defaults.placed ? QStringLiteral("ウインドウの大きさと位置")
                                                       : QStringLiteral("ウインドウの大きさ"));
    controls.width =
        makePixelBox(0, window.defaults.width, controlName("spn", window, "Width"), group);
    controls.height =
        makePixelBox(0, window.defaults.height, controlName("spn", window, "Height"), group);
    auto* grid = new QGridLayout(group);
    addLabelled(*grid, 0, 0, QStringLiteral("横幅"), controls.width);
    addLabelled(*grid, 0, 2, QStringLiteral("縦幅"), controls.height);
    if (window.defaults.placed) {
        controls.left = makePixelBox(-kLargestPixels, window.defaults.left,
                                     controlName("spn", window, "Left"), group);
        controls.top = makePixelBox(-kLargestPixels, window.defaults.top,
                                    controlName("spn", window, "Top"), group);
        addLabelled(*grid, 1, 0, QStringLiteral("Ｘ座標"), controls.left);
        addLabelled(*grid, 1, 2, QStringLiteral("Ｙ座標"), controls.top);
        controls.titleBar = makeCheckBox(
            QStringLiteral("chk%1TitleBar").arg(QString::fromLatin1(window.name)),
            QStringLiteral("タイトルバーを表示　（ウィンドウを移動できるようにする）"), group);
        grid->addWidget(controls.titleBar, 2, 0, 1, 5);
    }
    grid->setColumnStretch(4, 1);
    return group;
}

QWidget* buildWindowTab(const PlayWindow& window, PlayWindowControls& controls) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tab%1Win").arg(QString::fromLatin1(window.name)));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(buildFontGroup(window, controls));
    layout->addWidget(buildPlaceGroup(window, controls));
    layout->addStretch(1);
    return page;
}

// Shows the comic's font, adding its name first to a list that lacks it.
void showFontName(QComboBox& list, const std::string& fontName) {
    const QString name = qtText(fontName);
    if (list.findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0)
        list.insertItem(0, name);
    list.setCurrentText(name);
}

// A size or position as the number it reads as; a text that is not a number
// shows as the key's default, which is what OK would write for it.
void showPixels(PixelBox& box, const std::string& value, int fallback) {
    box.setText(QString::number(parseInt(value).value_or(fallback)));
}

} // namespace

TfrmWindowPositionSet::TfrmWindowPositionSet(DialogContext& context, QWidget* parent)
    : DialogFrame(context.services, {"TfrmWindowPositionSet", QStringLiteral("ウインドウ配置設定")},
                  parent)
    , context_(context) {
    findChild<QPushButton*>(QStringLiteral("btnCancel"))
        ->setObjectName(QStringLiteral("btnCansel"));
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setUsesScrollButtons(false); // all six tabs in sight
    for (std::size_t i = 0; i < kWindowCount; ++i) {
        PageControl->addTab(buildWindowTab(playWindows()[i], windows_[i]),
                            utf8Text(playWindows()[i].caption));
        connect(windows_[i].shadowColorSet, &QPushButton::clicked, this,
                [this, i] { btnShadowColorSetClick(i); });
    }
    setBody(PageControl);
}

std::optional<std::vector<HeaderEntry>> TfrmWindowPositionSet::run() {
    load();
    if (!runModal())
        return std::nullopt;
    return entries_;
}

void TfrmWindowPositionSet::load() {
    const QStringList fonts = installedFontNames();
    for (std::size_t i = 0; i < kWindowCount; ++i) {
        windows_[i].font->clear();
        windows_[i].font->addItems(fonts);
        showWindow(playWindows()[i], windows_[i]);
    }
}

void TfrmWindowPositionSet::showWindow(const PlayWindow& window, PlayWindowControls& controls) {
    const auto read = [&](std::string_view key, const std::string& fallback) {
        return context_.comic.ReadHeader(window.defaults.block, key, fallback);
    };
    showFontName(*controls.font, read(kFontNameKey, defaultPlayWindowFontName()));
    controls.bold->setChecked(isOn(read(kBoldKey, "1")));
    controls.italic->setChecked(isOn(read(kItalicKey, "0")));
    controls.shadow->setChecked(isOn(read(kShadowKey, "1")));
    controls.shadowColor->setText(
        qtText(read(kShadowColorKey, TCmdCtrl::ColorText(kDefaultShadowColor))));
    showPixels(*controls.width, read(kWidthKey, ""), window.defaults.width);
    showPixels(*controls.height, read(kHeightKey, ""), window.defaults.height);
    if (!window.defaults.placed)
        return;
    showPixels(*controls.left, read(kLeftKey, ""), window.defaults.left);
    showPixels(*controls.top, read(kTopKey, ""), window.defaults.top);
    controls.titleBar->setChecked(isOn(read(kTitleBarKey, "1")));
}

// A colour text that does not read as a colour starts the chooser at the
// default shadow colour.
void TfrmWindowPositionSet::btnShadowColorSetClick(std::size_t window) {
    QLineEdit& edit = *windows_.at(window).shadowColor;
    std::uint32_t initial = kDefaultShadowColor;
    try {
        initial = TCmdCtrl::ParseColor(cp932Text(edit.text()));
    } catch (const ConversionError&) {
    } catch (const EncodingError&) {
    }
    if (const std::optional<std::uint32_t> chosen = context_.prompter().chooseColor(initial))
        edit.setText(qtText(TCmdCtrl::ColorText(*chosen)));
}

void TfrmWindowPositionSet::readControls() {
    std::vector<HeaderEntry> entries;
    for (std::size_t i = 0; i < kWindowCount; ++i)
        readWindow(playWindows()[i], windows_[i], entries);
    entries_ = std::move(entries);
}

void TfrmWindowPositionSet::readWindow(const PlayWindow& window, PlayWindowControls& controls,
                                       std::vector<HeaderEntry>& entries) {
    const auto write = [&](std::string_view key, std::string value) {
        entries.push_back({std::string(window.defaults.block), std::string(key), std::move(value)});
    };
    const auto number = [](const PixelBox& box) {
        return std::to_string(box.value());
    };
    write(kFontNameKey, fieldText(*controls.font));
    write(kBoldKey, switchText(*controls.bold));
    write(kItalicKey, switchText(*controls.italic));
    write(kShadowKey, switchText(*controls.shadow));
    write(kShadowColorKey, fieldText(*controls.shadowColor));
    write(kWidthKey, number(*controls.width));
    write(kHeightKey, number(*controls.height));
    if (!window.defaults.placed)
        return;
    write(kLeftKey, number(*controls.left));
    write(kTopKey, number(*controls.top));
    write(kTitleBarKey, switchText(*controls.titleBar));
}

} // namespace pagora
