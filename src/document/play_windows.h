#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pagora {

class TComicFileCtrl;

// The six windows a comic plays in (0 main, 1 message, 2 select, 3 to 5 the
// user windows), as the header describes them.
inline constexpr int kPlayWindowCount = 6;

// The keys of a window's header block.
inline constexpr std::string_view kFontNameKey = "FontName";
inline constexpr std::string_view kBoldKey = "FontTypeBold";
inline constexpr std::string_view kItalicKey = "FontTypeItalic";
inline constexpr std::string_view kShadowKey = "FontTypeShadow";
inline constexpr std::string_view kShadowColorKey = "FontTypeShadowColor";
inline constexpr std::string_view kWidthKey = "ImageWidth";
inline constexpr std::string_view kHeightKey = "ImageHeight";
inline constexpr std::string_view kLeftKey = "RelativeToMainX"; // not of the main window
inline constexpr std::string_view kTopKey = "RelativeToMainY";  // not of the main window
inline constexpr std::string_view kTitleBarKey = "TitleBar";    // not of the main window

// A window's header block and the defaults of its keys: its size, and its
// place beside the main window where it has one (every window but the main).
struct PlayWindowDefaults {
    std::string_view block;
    int width;
    int height;
    bool placed;
    int left;
    int top;
};

inline constexpr std::uint32_t kDefaultShadowColor = 0xC0C0C0; // silver
// The font of every window unless its block names another (CP932).
const std::string& defaultPlayWindowFontName();

struct PlayWindowLook {
    int width = 640;
    int height = 480;
    std::string fontName; // CP932
    bool bold = true;
    bool italic = false;
    bool shadow = true;
    std::uint32_t shadowColor = kDefaultShadowColor; // 0x00BBGGRR
    // The place beside the main window's top left corner (0, 0 for the main
    // window) and whether the reader can move it by a title bar.
    int left = 0;
    int top = 0;
    bool titleBar = false;
};

// The window a window number stands for: a number outside 0 to 5 stands for
// the main window.
int playWindowIndex(int windowNo);

// The header block of a window: "Comic" for the main window,
// "MessageWindow", "SelectWindow", "UserWindow1" … for the others.
std::string_view playWindowBlock(int windowNo);
const PlayWindowDefaults& playWindowDefaults(int windowNo);

// A window's size, place, font and shadow from its header block. A missing
// key or a size or place that is not a number takes the window's default; a
// style or the title bar is on when its value is a number above 0; a shadow
// colour that does not parse is silver.
PlayWindowLook readPlayWindow(const TComicFileCtrl& comic, int windowNo);

} // namespace pagora
