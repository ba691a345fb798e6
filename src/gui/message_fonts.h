#pragma once

#include "images/message_layout.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pagora {

// The fonts that message previews are measured and drawn with.
//
// Comics name Windows fonts ("ＭＳ Ｐゴシック"). Where the system has no font
// of that name, a Japanese font of the system stands in (a serif one for a
// Mincho face), so that the preview stays legible. A stand-in keeps its
// glyphs and advances but takes the line of the Windows Japanese fonts, one
// em high with the baseline at 0.86 em, so that a frame holds as many lines
// as in the play window. Sizes in points are set at 96 dots per inch, the
// resolution the play windows draw at.
class MessageFonts : public FontMetrics {
public:
    int textWidth(std::string_view fontName, const MessageStyle& style,
                  std::string_view cp932) override;
    FontExtent extent(std::string_view fontName, const MessageStyle& style) override;

    // The font for this name and style; valid until a font of another name is asked for.
    const QFont& font(std::string_view fontName, const MessageStyle& style);

private:
    struct Face {
        Face(const QFont& made, bool standIn);
        QFont font;
        QFontMetrics metrics;
        FontExtent extent;
        // Advances of single characters by their CP932 code.
        std::unordered_map<std::uint16_t, int> widths;
    };
    Face& face(std::string_view fontName, const MessageStyle& style);

    std::string fontName_; // the name the faces below were made for
    std::unordered_map<int, Face> faces_;
};

// The pixel size of a font of this many points at 96 dots per inch.
int messagePixelSize(int points);

} // namespace pagora
