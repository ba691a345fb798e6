#include "settings/play_windows.h"

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "platform/encoding.h"
#include "platform/numbers.h"

#include <array>
#include <exception>

namespace pagora {
namespace {

struct WindowDefaults {
    std::string_view block;
    int width;
    int height;
};

constexpr std::array<WindowDefaults, kPlayWindowCount> kWindows{{
    {"Comic", 640, 480},
    {"MessageWindow", 520, 110},
    {"SelectWindow", 400, 110},
    {"UserWindow1", 100, 100},
    {"UserWindow2", 100, 100},
    {"UserWindow3", 100, 100},
}};

constexpr std::uint32_t kSilver = 0xC0C0C0;

const WindowDefaults& defaultsOf(int windowNo) {
    return kWindows[static_cast<std::size_t>(playWindowIndex(windowNo))];
}

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

std::string_view playWindowBlock(int windowNo) {
    return defaultsOf(windowNo).block;
}

PlayWindowLook readPlayWindow(const TComicFileCtrl& comic, int windowNo) {
    const WindowDefaults& window = defaultsOf(windowNo);
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
    look.width = number("ImageWidth", window.width);
    look.height = number("ImageHeight", window.height);
    look.fontName = text("FontName", PAGORA_CP932("ＭＳ Ｐゴシック"));
    look.bold = on("FontTypeBold", "1");
    look.italic = on("FontTypeItalic", "0");
    look.shadow = on("FontTypeShadow", "1");
    look.shadowColor = colorOr(text("FontTypeShadowColor", "clSilver"), kSilver);
    return look;
}

} // namespace pagora
