#include "gui/message_fonts.h"

#include "gui/qt_text.h"

#include <QFontInfo>
#include <QStringList>
#include <algorithm>

namespace pagora {
namespace {

bool isMinchoFace(const QString& family) {
    return family.contains(QStringLiteral("明朝")) ||
           family.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive);
}

// Japanese fonts of free desktops, tried in order after the named one.
QStringList japaneseFallbacks(bool serif) {
    if (serif)
        return {QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAPMincho"),
                QStringLiteral("IPAMincho"), QStringLiteral("Source Han Serif JP")};
    return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
            QStringLiteral("IPAGothic"), QStringLiteral("VL PGothic"),
            QStringLiteral("Source Han Sans JP")};
}

QFont makeFont(const QString& family, const MessageStyle& style) {
    const bool serif = isMinchoFace(family);
    QFont font;
    font.setFamilies(QStringList{family} + japaneseFallbacks(serif));
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPixelSize(messagePixelSize(style.size));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return font;
}

int faceKey(const MessageStyle& style) {
    return style.size * 4 + (style.bold ? 2 : 0) + (style.italic ? 1 : 0);
}

} // namespace

MessageFonts::Face::Face(const QFont& made, bool standIn)
    : font(made)
    , metrics(made)
    , extent{metrics.height(), metrics.ascent()} {
    if (standIn)
        extent = {made.pixelSize(), (made.pixelSize() * 86 + 50) / 100};
}

int MessageFonts::textWidth(std::string_view fontName, const MessageStyle& style,
                            std::string_view cp932) {
    Face& found = face(fontName, style);
    if (cp932.size() > 2)
        return found.metrics.horizontalAdvance(qtText(cp932));
    std::uint16_t code = 0;
    for (const char byte : cp932)
        code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(byte));
    const auto [width, added] = found.widths.try_emplace(code, 0);
    if (added)
        width->second = found.metrics.horizontalAdvance(qtText(cp932));
    return width->second;
}

FontExtent MessageFonts::extent(std::string_view fontName, const MessageStyle& style) {
    return face(fontName, style).extent;
}

const QFont& MessageFonts::font(std::string_view fontName, const MessageStyle& style) {
    return face(fontName, style).font;
}

MessageFonts::Face& MessageFonts::face(std::string_view fontName, const MessageStyle& style) {
    if (fontName != fontName_) {
        faces_.clear();
        fontName_ = fontName;
    }
    const int key = faceKey(style);
    auto found = faces_.find(key);
    if (found == faces_.end()) {
        const QString family = qtText(fontName);
        const QFont made = makeFont(family, style);
        const bool standIn = QFontInfo(made).family().compare(family, Qt::CaseInsensitive) != 0;
        found = faces_.try_emplace(key, made, standIn).first;
    }
    return found->second;
}

int messagePixelSize(int points) {
    return std::max(1, (points * 96 + 36) / 72);
}

} // namespace pagora
