#include "package/file_names.h"
#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

struct NameCase {
    std::string_view name; // UTF-8, converted to CP932
    std::string_view filePart;
    bool isMag;
    std::string_view asBmp;
};

std::ostream& operator<<(std::ostream& out, const NameCase& c) {
    return out << c.name;
}

class ScriptNames : public testing::TestWithParam<NameCase> {};

TEST_P(ScriptNames, SplitsAndRenamesTheLastPartOnly) {
    const NameCase& c = GetParam();
    const std::string name = sj(c.name);
    EXPECT_EQ(toUtf8(ScriptFileNamePart(name)), c.filePart);
    EXPECT_EQ(HasExtension(name, ".mag"), c.isMag);
    EXPECT_EQ(toUtf8(ChangeExtension(name, ".bmp")), c.asBmp);
}

// "ソ" and "表" end in the byte of "\" (0x5C); "ア" ends in the byte of "A".
INSTANTIATE_TEST_SUITE_P(
    Table, ScriptNames,
    testing::Values(NameCase{"a.mag", "a.mag", true, "a.bmp"},
                    NameCase{"pict\\A.MAG", "A.MAG", true, "pict\\A.bmp"},
                    NameCase{"pict/sub/b.Mag", "b.Mag", true, "pict/sub/b.bmp"},
                    NameCase{"ソ.mag", "ソ.mag", true, "ソ.bmp"},
                    NameCase{"表\\ソ表.mag", "ソ表.mag", true, "表\\ソ表.bmp"},
                    NameCase{"pict.mag\\photo", "photo", false, "pict.mag\\photo.bmp"},
                    NameCase{"a.mag.jpg", "a.mag.jpg", false, "a.mag.bmp"},
                    NameCase{"a.magx", "a.magx", false, "a.bmp"},
                    NameCase{"music\\", "music", false, "music.bmp\\"},
                    NameCase{"", "", false, ".bmp"}));

TEST(ScriptNames, ANameThatDoesNotDecodeHasNoFilePart) {
    // A lead byte followed by "/": decoded byte by byte, "/" would end a folder.
    const std::string name = "sub\x85/x.mag";
    EXPECT_EQ(ScriptFileNamePart(name), "");
    EXPECT_FALSE(HasExtension(name, ".mag"));
}

TEST(ScriptNames, CaseIsIgnoredForAsciiLettersButNotInsideDoubleByteCharacters) {
    EXPECT_TRUE(SameNameIgnoringCase(sj("Photo.JPG"), sj("photo.jpg")));
    EXPECT_TRUE(SameNameIgnoringCase(sj("絵A.bmp"), sj("絵a.BMP")));
    // 0x83 0x41 ("ア") and 0x83 0x61 ("ヂ") differ only in the case of an ASCII letter.
    EXPECT_FALSE(SameNameIgnoringCase(sj("ア.bmp"), sj("ヂ.bmp")));
    EXPECT_FALSE(SameNameIgnoringCase(sj("a.bmp"), sj("a.bmpx")));
}

} // namespace
} // namespace pagora
