#include "preview/preview_stage.h"

#include "gui/canvas_image.h"
#include "gui/controls.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace pagora {
namespace {

constexpr std::uint32_t kTitleBarColor = 0x000080; // pixels are 0x00RRGGBB
constexpr std::uint32_t kHighlightColor = 0x3A6EA5;
constexpr std::uint32_t kGaugeTrack = 0x202020;
constexpr std::uint32_t kGaugeFill = 0xFFA000;
constexpr int kTitleTextIndent = 4;
// A header may give any size or place; the stage keeps them within reason.
constexpr int kLargestWindow = 2048;
constexpr int kFarthestPlace = 2048;

TTC titleBarImage(int windowNo, int width) {
    TTC bar(width, PreviewStage::kTitleBarHeight);
    bar.Fill(kTitleBarColor);
    QImage image = canvasImage(bar);
    {
        QPainter painter(&image);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(
            QRect(kTitleTextIndent, 0, width - kTitleTextIndent, PreviewStage::kTitleBarHeight),
            Qt::AlignLeft | Qt::AlignVCenter, playWindowNames().value(windowNo));
    }
    copyToCanvas(image, QRect(0, 0, width, PreviewStage::kTitleBarHeight), bar);
    return bar;
}

void fillRect(TTC& canvas, int left, int top, int width, int height, std::uint32_t color) {
    for (int y = std::max(top, 0); y < std::min(top + height, canvas.Height()); ++y) {
        std::uint32_t* row = canvas.Row(y);
        std::fill(row + std::max(left, 0), row + std::clamp(left + width, 0, canvas.Width()),
                  color);
    }
}

bool holds(const CanvasRect& rect, int x, int y) {
    return x >= rect.left && x < rect.left + rect.width && y >= rect.top &&
           y < rect.top + rect.height;
}

} // namespace

PictureFrame frameIn(const PlayRect& pos, const PlayWindowLook& look) {
    if (pos == PlayRect{})
        return {0, 0, look.width - 1, look.height - 1};
    return {pos.left, pos.top, pos.right, pos.bottom};
}

PreviewStage::PreviewStage(const std::array<PlayWindowLook, kPlayWindowCount>& looks) {
    for (int w = 0; w < kPlayWindowCount; ++w) {
        Window& window = at(w);
        window.look = looks[static_cast<std::size_t>(w)];
        window.look.width = std::clamp(window.look.width, 1, kLargestWindow);
        window.look.height = std::clamp(window.look.height, 1, kLargestWindow);
        window.look.left = std::clamp(window.look.left, -kFarthestPlace, kFarthestPlace);
        window.look.top = std::clamp(window.look.top, -kFarthestPlace, kFarthestPlace);
        window.back = TTC(window.look.width, window.look.height);
        window.front = window.back;
        if (w != 0 && window.look.titleBar)
            window.titleBar = titleBarImage(w, window.look.width);
    }
    at(0).shown = true;
    placeWindows();
}

PreviewStage::Window& PreviewStage::at(int window) {
    return windows_[static_cast<std::size_t>(playWindowIndex(window))];
}

const PreviewStage::Window& PreviewStage::at(int window) const {
    return windows_[static_cast<std::size_t>(playWindowIndex(window))];
}

const PlayWindowLook& PreviewStage::look(int window) const {
    return at(window).look;
}

void PreviewStage::placeWindows() {
    // Every window counts, shown or not, so that the stage keeps its size.
    int left = 0, top = 0, right = 0, bottom = 0;
    for (const Window& window : windows_) {
        const int barHeight = window.titleBar.Height();
        left = std::min(left, window.look.left);
        top = std::min(top, window.look.top - barHeight);
        right = std::max(right, window.look.left + window.look.width);
        bottom = std::max(bottom, window.look.top + window.look.height);
    }
    for (Window& window : windows_) {
        window.left = window.look.left - left;
        window.top = window.look.top - top;
    }
    width_ = right - left;
    height_ = bottom - top;
}

CanvasRect PreviewStage::windowRect(int window) const {
    const Window& w = at(window);
    return {w.left, w.top, w.look.width, w.look.height};
}

CanvasRect PreviewStage::titleBarRect(int window) const {
    const Window& w = at(window);
    if (w.titleBar.Height() == 0)
        return {};
    return {w.left, w.top - w.titleBar.Height(), w.titleBar.Width(), w.titleBar.Height()};
}

PicturePoint PreviewStage::toMain(int x, int y) const {
    const Window& w = at(windowAt(x, y).value_or(0));
    return {x - w.left + w.look.left, y - w.top + w.look.top};
}

std::optional<int> PreviewStage::windowAt(int x, int y) const {
    for (const int window : kWindowsFrontFirst)
        if (at(window).shown && holds(windowRect(window), x, y))
            return window;
    return std::nullopt;
}

std::optional<int> PreviewStage::titleBarAt(int x, int y) const {
    for (const int window : kWindowsFrontFirst) {
        if (!at(window).shown)
            continue;
        if (holds(titleBarRect(window), x, y))
            return window;
        if (holds(windowRect(window), x, y))
            return std::nullopt; // the window covers the bars behind it
    }
    return std::nullopt;
}

void PreviewStage::moveWindow(int window, int left, int top) {
    Window& w = at(window);
    const int bar = w.titleBar.Height();
    w.left = std::clamp(left, 0, std::max(width_ - w.look.width, 0));
    w.top = std::clamp(top, bar, std::max(height_ - w.look.height, bar));
}

void PreviewStage::showWindow(int window, bool shown) {
    at(window).shown = shown;
}

bool PreviewStage::shown(int window) const {
    return at(window).shown;
}

void PreviewStage::drawPicture(int window, TTC& picture, const PictureFrame& frame,
                               const PictureLook& look) {
    Window& w = at(window);
    drawCanvas_.SetScreenSize(w.back.Width(), w.back.Height());
    std::swap(drawCanvas_.ScreenContext(), w.back);
    pictureDrawer_.forget();
    pictureDrawer_.draw(drawCanvas_, picture, frame, look);
    std::swap(drawCanvas_.ScreenContext(), w.back);
    w.pending = true;
}

void PreviewStage::present(int window, Transition transition, const CanvasRect& area,
                           std::uint32_t seed) {
    Window& w = at(window);
    if (transition == Transition::Cut)
        w.running.reset();
    else
        w.running = Running{w.front, transition, area, seed};
    w.front = w.back;
    w.pending = false;
    w.dirty = true;
    if (w.running)
        progress_ = 0;
}

void PreviewStage::presentPending() {
    for (int window = 0; window < kPlayWindowCount; ++window)
        if (at(window).pending)
            present(window, Transition::Cut, {}, 0);
}

bool PreviewStage::transitionRunning() const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [](const Window& w) { return w.running.has_value(); });
}

void PreviewStage::setTransitionProgress(double progress) {
    progress_ = std::clamp(progress, 0.0, 1.0);
    for (Window& w : windows_) {
        if (!w.running)
            continue;
        w.dirty = true;
        if (progress_ >= 1)
            w.running.reset();
    }
}

void PreviewStage::setText(int window, StageText text) {
    Window& w = at(window);
    w.text = std::move(text);
    w.dirty = true;
}

void PreviewStage::keepText(int window) {
    Window& w = at(window);
    if (!w.text)
        return;
    drawText(w.back, *w.text);
    drawText(w.front, *w.text);
    w.text.reset();
    w.dirty = true;
}

void PreviewStage::clearText(int window) {
    Window& w = at(window);
    w.text.reset();
    w.dirty = true;
}

void PreviewStage::addArea(int window, StageArea area) {
    Window& w = at(window);
    w.areas.push_back(std::move(area));
    w.dirty = true;
}

void PreviewStage::clearAreas(int window) {
    Window& w = at(window);
    w.areas.clear();
    w.dirty = true;
}

void PreviewStage::setAreaState(int window, std::size_t index, AreaState state) {
    Window& w = at(window);
    if (index >= w.areas.size() || w.areas[index].state == state)
        return;
    w.areas[index].state = state;
    w.dirty = true;
}

std::vector<MessagePiece> PreviewStage::layout(const MessageText& message) {
    return messageOut_.layout(message);
}

const std::vector<StageArea>& PreviewStage::areas(int window) const {
    return at(window).areas;
}

void PreviewStage::offerChoices(StageChoices choices) {
    clearChoices();
    const Window& w = at(choices.window);
    int top = choices.frame.top;
    for (const std::string& text : choices.texts) {
        MessageText message;
        message.text = text;
        message.left = choices.frame.left;
        message.top = top;
        message.right = choices.frame.right;
        message.bottom = choices.frame.bottom;
        message.fontName = w.look.fontName;
        message.style = {std::clamp(choices.fontSize, kMinMessageSize, kMaxMessageSize),
                         w.look.bold, w.look.italic};
        message.color = choices.color;
        std::vector<MessagePiece> pieces = messageOut_.layout(message);
        if (pieces.empty())
            break;
        const int bottom = pieces.back().lineBottom;
        choiceRows_.push_back(
            {{choices.frame.left, top, choices.frame.right, bottom - 1}, std::move(pieces)});
        top = bottom;
    }
    at(choices.window).dirty = true;
    choices_ = std::move(choices);
    highlighted_ = 0;
}

void PreviewStage::clearChoices() {
    if (choices_)
        at(choices_->window).dirty = true;
    choices_.reset();
    choiceRows_.clear();
}

std::optional<int> PreviewStage::choiceAt(int x, int y) const {
    if (!choices_ || windowAt(x, y) != playWindowIndex(choices_->window))
        return std::nullopt;
    const CanvasRect window = windowRect(choices_->window);
    const int wx = x - window.left, wy = y - window.top;
    for (std::size_t row = 0; row < choiceRows_.size(); ++row) {
        const PictureFrame& band = choiceRows_[row].band;
        if (wx >= band.left && wx <= band.right && wy >= band.top && wy <= band.bottom)
            return static_cast<int>(row);
    }
    return std::nullopt;
}

void PreviewStage::highlightChoice(int choice) {
    if (!choices_ || choiceRows_.empty())
        return;
    highlighted_ = std::clamp(choice, 0, choiceCount() - 1);
    at(choices_->window).dirty = true;
}

void PreviewStage::setGauge(std::optional<double> left) {
    gauge_ = left ? std::optional<double>(std::clamp(*left, 0.0, 1.0)) : std::nullopt;
}

void PreviewStage::invalidate() {
    for (Window& w : windows_)
        w.dirty = true;
}

void PreviewStage::draw(TTC& frame) {
    frame.SetSize(width_, height_);
    frame.Fill(kBackground);
    for (int windowNo = 0; windowNo < kPlayWindowCount; ++windowNo) {
        Window& w = at(windowNo);
        if (!w.shown)
            continue;
        if (w.dirty)
            compose(windowNo, w);
        if (w.titleBar.Height() > 0)
            w.titleBar.Draw(frame, w.left, w.top - w.titleBar.Height());
        w.composed.Draw(frame, w.left, w.top);
    }
    drawGauge(frame);
}

void PreviewStage::compose(int windowNo, Window& w) {
    if (w.running) {
        w.composed.SetSize(w.front.Width(), w.front.Height());
        drawTransitionFrame(w.running->transition, w.running->before, w.front, w.running->area,
                            progress_, w.running->seed, w.composed);
    } else {
        w.composed = w.front;
    }
    drawAreas(w);
    if (choices_ && playWindowIndex(choices_->window) == windowNo)
        drawChoices(w);
    if (w.text)
        drawText(w.composed, *w.text);
    w.dirty = w.running.has_value();
}

void PreviewStage::drawAreas(Window& w) {
    if (w.areas.empty())
        return;
    drawCanvas_.SetScreenSize(w.composed.Width(), w.composed.Height());
    std::swap(drawCanvas_.ScreenContext(), w.composed);
    for (StageArea& area : w.areas) {
        if (area.image.Height() == 0)
            continue;
        const int parts = std::max(area.area.imageDivision, 1);
        const int partHeight = std::max(area.image.Height() / parts, 1);
        const PlayRect& rect = area.area.rect;
        PictureLook look;
        look.view = {0, areaImagePart(area.area.imageDivision, area.state) * partHeight};
        pictureDrawer_.forget();
        pictureDrawer_.draw(
            drawCanvas_, area.image,
            {rect.left, rect.top, rect.right, std::min(rect.bottom, rect.top + partHeight - 1)},
            look);
    }
    std::swap(drawCanvas_.ScreenContext(), w.composed);
}

void PreviewStage::drawChoices(Window& w) {
    for (std::size_t row = 0; row < choiceRows_.size(); ++row) {
        const PictureFrame& band = choiceRows_[row].band;
        if (static_cast<int>(row) == highlighted_)
            fillRect(w.composed, band.left, band.top, band.width(), band.height(), kHighlightColor);
        drawText(w.composed, {w.look.fontName, choices_->frame, choiceRows_[row].pieces,
                              w.look.shadow, w.look.shadowColor});
    }
}

void PreviewStage::drawText(TTC& canvas, const StageText& text) {
    MessageText frame;
    frame.left = text.frame.left;
    frame.top = text.frame.top;
    frame.right = text.frame.right;
    frame.bottom = text.frame.bottom;
    frame.fontName = text.fontName;
    messageOut_.drawPieces(canvas, frame, text.pieces, text.shadow, text.shadowColor);
}

void PreviewStage::drawGauge(TTC& frame) const {
    if (!gauge_)
        return;
    const Window& main = at(0);
    const int top = main.top + main.look.height - kGaugeHeight;
    fillRect(frame, main.left, top, main.look.width, kGaugeHeight, kGaugeTrack);
    fillRect(frame, main.left, top, static_cast<int>(main.look.width * *gauge_), kGaugeHeight,
             kGaugeFill);
}

} // namespace pagora
