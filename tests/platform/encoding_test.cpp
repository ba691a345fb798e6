#include "platform/encoding.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

TEST(Encoding, RoundTripsJapaneseText) {
    const std::string cp932 = toCp932("スタートページ");
    EXPECT_EQ(cp932, "\x83\x58\x83\x5E\x81\x5B\x83\x67\x83\x79\x81\x5B\x83\x57");
    EXPECT_EQ(toUtf8(cp932), "スタートページ");
}

TEST(Encoding, KeepsBackslashAndTildeAsAscii) {
    EXPECT_EQ(toCp932("pict\\a~b.bmp"), "pict\\a~b.bmp");
    EXPECT_EQ(toUtf8("pict\\a~b.bmp"), "pict\\a~b.bmp");
}

TEST(Encoding, DecodesWindowsExtensionsOfTheCodePage) {
    // NEC special characters and IBM extensions exist only in the Windows code page.
    EXPECT_EQ(toUtf8("\x87\x40"), "①");
    EXPECT_EQ(toCp932("①"), "\x87\x40");
}

TEST(Encoding, ShowsUndecodableBytesAsReplacementCharacters) {
    EXPECT_EQ(toUtf8("a\xFF"
                     "b"),
              "a\xEF\xBF\xBD"
              "b");
    // A lead byte at the very end has no trail byte.
    EXPECT_EQ(toUtf8("a\x83"), "a\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Encoding, RefusesCharactersTheCodePageCannotHoldAndNamesThem) {
    try {
        toCp932("abc😀");
        FAIL() << "expected an EncodingError";
    } catch (const EncodingError& error) {
        EXPECT_NE(std::string(error.what()).find("😀"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("U+1F600"), std::string::npos) << error.what();
    }
    EXPECT_THROW(toCp932("\xC3"), EncodingError); // truncated UTF-8
}

TEST(Encoding, FixedTextHelperConvertsOncePerCallSite) {
    const std::string* first = nullptr;
    for (int i = 0; i < 2; ++i) {
        const std::string& text = PAGORA_CP932("ブック名が重複しています");
        EXPECT_EQ(toUtf8(text), "ブック名が重複しています");
        if (first) {
            EXPECT_EQ(first, &text);
        }
        first = &text;
    }
}

} // namespace
} // namespace pagora
