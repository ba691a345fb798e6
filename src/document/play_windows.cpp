#include "document/play_windows.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/numbers.h"

#include <array>
#include <exception>

namespace pagora {
namespace {

constexpr std::array<PlayWindowDefaults, kPlayWindowCount> kWindows{{
    {"Comic", 640, 480, false, 0, 0},
    {"MessageWindow", 520, 110, true, 60, 350},
    {"SelectWindow", 400, 110, true, 80, 220},
    {"UserWindow1", 100, 100, true, 0, 0},
    {"UserWindow2", 100, 100, true, 0, 0},
    {"UserWindow3", 100, 100, true, 0, 0},
}};

std::uint32_t colorOr(std::string_view text, std::uint32_t fallback) {
    try {
        return TCmdCtrl::ParseColor(text);
    } catch (const std::exception&) {
        return fallback;
    }
}

} // namespace

int playWindowIndex(int windowNo) {
    return windowNo >= 0 && windowNo < kPlayWindowCount ? windowNo : 0;
}

const std::string& defaultPlayWindowFontName() {
    return PAGORA_CP932("ＭＳ Ｐゴシック");
}

const PlayWindowDefaults& playWindowDefaults(int windowNo) {
    return kWindows[static_cast<std::size_t>(playWindowIndex(windowNo))];
}

std::string_view playWindowBlock(int windowNo) {
    return playWindowDefaults(windowNo).block;
}

PlayWindowLook readPlayWindow(const TComicFileCtrl& comic, int windowNo) {
    const PlayWindowDefaults& window = playWindowDefaults(windowNo);
    const auto text = [&](std::string_view key, std::string_view fallback) {
        return comic.ReadHeader(window.block, key, fallback);
    };
    const auto number = [&](std::string_view key, int fallback) {
        return lenientInt(text(key, ""), fallback);
    };
    const auto on = [&](std::string_view key, std::string_view fallback) {
        return lenientInt(text(key, fallback)) > 0;
    };
    PlayWindowLook look;
    look.width = number(kWidthKey, window.width);
    look.height = number(kHeightKey, window.height);
    look.fontName = text(kFontNameKey, defaultPlayWindowFontName());
    look.bold = on(kBoldKey, "1");
    look.italic = on(kItalicKey, "0");
    look.shadow = on(kShadowKey, "1");
    look.shadowColor = colorOr(text(kShadowColorKey, "clSilver"), kDefaultShadowColor);
    if (window.placed) {
        look.left = number(kLeftKey, window.left);
        look.top = number(kTopKey, window.top);
        look.titleBar = on(kTitleBarKey, "1");
    }
    return look;
}

} // namespace pagora
