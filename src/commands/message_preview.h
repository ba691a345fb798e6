#pragma once

#include "gui/message_out.h"
#include "images/true_canvas.h"

#include <QLabel>
#include <cstdint>
#include <string>

namespace pagora {

class TComicFileCtrl;

// What the message preview draws: a message in its window, at its place.
struct MessageSample {
    std::string text; // CP932, lines joined with "#"
    int windowNo = 0;
    // The message's frame ("/POS:"); one without width or height reaches the
    // window's right or bottom edge, as the layout editor opens it.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int fontSize = 16;
    std::uint32_t color = 0; // 0x00BBGGRR
};

// A small picture of a message as its window shows it at once: the window's
// size, font and shadow from the comic's header, the text drawn by
// TMessageOut, shrunk to fit the label. The window is dark behind light text
// and white behind dark text, so that every colour can be read.
class MessagePreview : public QLabel {
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 320;
    static constexpr int kMaxHeight = 200;

    MessagePreview(const TComicFileCtrl& comic, QWidget* parent = nullptr);

    void draw(const MessageSample& sample);
    // The window's picture at its own size, as last drawn.
    const TTC& window() const { return window_; }

    // The background behind text of that colour (pixels 0x00RRGGBB).
    static std::uint32_t backgroundFor(std::uint32_t textColor);

private:
    const TComicFileCtrl& comic_;
    TMessageOut messageOut_;
    TTC window_;
};

} // namespace pagora
