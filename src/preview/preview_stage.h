#pragma once

#include "document/play_windows.h"
#include "gui/message_out.h"
#include "images/picture_draw.h"
#include "images/true_canvas.h"
#include "player/play_event.h"
#include "player/play_meanings.h"
#include "preview/transitions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pagora {

// A text laid out in a window: the pieces shown and what they are drawn with.
struct StageText {
    std::string fontName; // CP932
    PictureFrame frame;
    std::vector<MessagePiece> pieces;
    bool shadow = false;
    std::uint32_t shadowColor = 0;
};

// A clickable area as the stage shows it: its image (the parts stacked top
// to bottom; empty for none) in its state.
struct StageArea {
    PlayArea area;
    TTC image;
    AreaState state = AreaState::Normal;
};

// The choices of a select line, one row each in their window.
struct StageChoices {
    int window = 2;
    std::vector<std::string> texts; // CP932
    PictureFrame frame;
    int fontSize = 12;
    std::uint32_t color = 0xFFFFFF; // 0x00BBGGRR
};

// A "/POS:" rectangle as a frame of the window; all 0 stands for the whole window.
PictureFrame frameIn(const PlayRect& pos, const PlayWindowLook& look);

// The preview's picture of the comic at play: the six windows' canvases, and
// one frame of them composed. The main window lies at the stage's origin
// moved so that every window fits: the others at their places beside it,
// with a title bar drawn above those that have one. Each window keeps two
// layers: the back one that pictures and kept texts are drawn into, and the
// front one the reader sees, which takes the back one when it is presented
// (through a transition or at once). Temporary texts, areas and choices lie
// over the front layer.
class PreviewStage {
public:
    static constexpr int kTitleBarHeight = 18;
    static constexpr int kGaugeHeight = 6;
    static constexpr std::uint32_t kBackground = 0x808080;

    explicit PreviewStage(const std::array<PlayWindowLook, kPlayWindowCount>& looks);

    int width() const { return width_; }
    int height() const { return height_; }
    const PlayWindowLook& look(int window) const;
    // A window's client area, and its title bar (empty without one), in
    // stage pixels.
    CanvasRect windowRect(int window) const;
    CanvasRect titleBarRect(int window) const;
    // A stage point as the session sees it: a point of the main window, with
    // a window moved by the reader taken back to its place in the header.
    PicturePoint toMain(int x, int y) const;
    // The front-most shown window whose client area holds a stage point.
    std::optional<int> windowAt(int x, int y) const;
    // The front-most shown window whose title bar holds a stage point.
    std::optional<int> titleBarAt(int x, int y) const;
    // Moves a window's client area to a stage point, as the reader drags it
    // by its title bar; the window and its bar stay on the stage.
    void moveWindow(int window, int left, int top);

    void showWindow(int window, bool shown);
    bool shown(int window) const;

    // Draws a picture into the window's back layer.
    void drawPicture(int window, TTC& picture, const PictureFrame& frame, const PictureLook& look);
    // Shows the back layer: through a transition inside area (window pixels),
    // which progresses as setProgress says, or at once for a cut.
    void present(int window, Transition transition, const CanvasRect& area, std::uint32_t seed);
    // Windows whose back layer was drawn but not presented show it at once.
    void presentPending();
    bool transitionRunning() const;
    void setTransitionProgress(double progress);

    // The text over a window (a temporary message, or one being revealed);
    // keepText draws it into both layers, where it stays.
    // Lays a message out with the stage's fonts.
    std::vector<MessagePiece> layout(const MessageText& message);
    void setText(int window, StageText text);
    void keepText(int window);
    void clearText(int window);

    void addArea(int window, StageArea area);
    void clearAreas(int window);
    void setAreaState(int window, std::size_t index, AreaState state);
    const std::vector<StageArea>& areas(int window) const;

    // Lays the choices out a row each from the frame's top; rows that would
    // end below the frame are left out.
    void offerChoices(StageChoices choices);
    void clearChoices();
    int choiceCount() const { return static_cast<int>(choiceRows_.size()); }
    // The choice under a stage point.
    std::optional<int> choiceAt(int x, int y) const;
    void highlightChoice(int choice);
    int highlightedChoice() const { return highlighted_; }

    // The time left of a time limit, 0 to 1, drawn as a gauge under the main
    // window's bottom edge; none: no gauge.
    void setGauge(std::optional<double> left);

    // Composes a frame of the stage (width() × height()).
    void draw(TTC& frame);
    // Makes the next draw compose every window anew.
    void invalidate();

private:
    struct ChoiceRow {
        PictureFrame band; // window pixels
        std::vector<MessagePiece> pieces;
    };
    struct Running {
        TTC before;
        Transition transition = Transition::Cut;
        CanvasRect area;
        std::uint32_t seed = 0;
    };
    struct Window {
        PlayWindowLook look;
        int left = 0; // client area in stage pixels
        int top = 0;
        bool shown = false;
        TTC back;
        TTC front;
        std::optional<Running> running;
        bool pending = false; // the back layer holds what the front does not show
        std::optional<StageText> text;
        std::vector<StageArea> areas;
        TTC titleBar;
        TTC composed;
        bool dirty = true;
    };

    Window& at(int window);
    const Window& at(int window) const;
    void placeWindows();
    void compose(int windowNo, Window& window);
    void drawAreas(Window& window);
    void drawChoices(Window& window);
    void drawGauge(TTC& frame) const;
    void drawText(TTC& canvas, const StageText& text);

    std::array<Window, kPlayWindowCount> windows_;
    int width_ = 0;
    int height_ = 0;
    TMessageOut messageOut_;
    TTrueCanvasCtrl drawCanvas_; // lends its sprite to pictures drawn into a layer
    PictureDrawer pictureDrawer_;
    std::optional<StageChoices> choices_;
    std::vector<ChoiceRow> choiceRows_;
    int highlighted_ = 0;
    double progress_ = 1.0;
    std::optional<double> gauge_;
};

} // namespace pagora
