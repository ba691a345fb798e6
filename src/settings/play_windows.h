#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pagora {

class TComicFileCtrl;

// The six windows a comic plays in (0 main, 1 message, 2 select, 3 to 5 the
// user windows), as the header describes them.
inline constexpr int kPlayWindowCount = 6;

struct PlayWindowLook {
    int width = 640;
    int height = 480;
    std::string fontName; // CP932
    bool bold = true;
    bool italic = false;
    bool shadow = true;
    std::uint32_t shadowColor = 0xC0C0C0; // 0x00BBGGRR
};

// The window a window number stands for: a number outside 0 to 5 stands for
// the main window.
int playWindowIndex(int windowNo);

// The header block of a window: "Comic" for the main window,
// "MessageWindow", "SelectWindow", "UserWindow1" … for the others.
std::string_view playWindowBlock(int windowNo);

// A window's size, font and shadow from its header block. A missing key or
// a size that is not a number takes the window's default; a style is on
// when its value is a number above 0; a shadow colour that does not parse
// is silver.
PlayWindowLook readPlayWindow(const TComicFileCtrl& comic, int windowNo);

} // namespace pagora
