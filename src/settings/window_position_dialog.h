#pragma once

#include "document/comic_editing.h"
#include "gui/dialog_frame.h"

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace pagora {

struct DialogContext;
struct PlayWindow;
class PixelBox;

// The controls of one play window's tab. The main window's tab has no
// position boxes and no title bar box.
struct PlayWindowControls {
    QComboBox* font = nullptr;
    QCheckBox* bold = nullptr;
    QCheckBox* italic = nullptr;
    QCheckBox* shadow = nullptr;
    QLineEdit* shadowColor = nullptr;
    QPushButton* shadowColorSet = nullptr;
    PixelBox* width = nullptr;
    PixelBox* height = nullptr;
    PixelBox* left = nullptr;
    PixelBox* top = nullptr;
    QCheckBox* titleBar = nullptr;
};

// "ウインドウ配置設定": the font, style, shadow colour, size, position and
// title bar of the six play windows, one tab each (PageControl), kept in the
// header blocks Comic, MessageWindow, SelectWindow and UserWindow1 to 3.
//
// Controls, named after the window (MainWin, MesWin, SelWin, Usr1Win,
// Usr2Win, Usr3Win): cmbMesWinFont, chkMesWinBold, chkMesWinItalic,
// chkMesWinShadow, edtMesWinShadowColor, btnMesWinShadowColorSet,
// spnMesWinWidth, spnMesWinHeight, spnMesWinLeft, spnMesWinTop, and
// chkMesTitleBar (chkSelTitleBar, chkUsr1TitleBar ...); btnOK, btnCansel.
class TfrmWindowPositionSet : public DialogFrame {
    Q_OBJECT

public:
    static constexpr std::size_t kWindowCount = 6;

    TfrmWindowPositionSet(DialogContext& context, QWidget* parent = nullptr);

    // The modal edit: every key of every window as the user left them, in
    // the order they are written; nothing when cancelled.
    std::optional<std::vector<HeaderEntry>> run();

    // Fills the font lists and shows every key of the comic, or its default.
    void load();
    // After OK, the keys to write.
    const std::vector<HeaderEntry>& entries() const { return entries_; }

    // A shadow colour button: the chooser starts at the colour of the
    // window's text box, and the colour chosen goes back into it as colour
    // text.
    void btnShadowColorSetClick(std::size_t window);

private:
    void readControls() override;
    void showWindow(const PlayWindow& window, PlayWindowControls& controls);
    void readWindow(const PlayWindow& window, PlayWindowControls& controls,
                    std::vector<HeaderEntry>& entries);

    DialogContext& context_;
    std::vector<HeaderEntry> entries_;

    QTabWidget* PageControl;
    std::array<PlayWindowControls, kWindowCount> windows_;
};

} // namespace pagora
