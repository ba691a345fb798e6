#include "platform/encoding.h"
#include "platform/script_name.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

std::string sj(std::string_view utf8) {
    return toCp932(utf8);
}

std::vector<std::string> utf8Parts(std::string_view cp932Name) {
    std::vector<std::string> parts;
    const auto cp932Parts = scriptNameParts(cp932Name);
    for (const std::string_view part : cp932Parts.value())
        parts.push_back(toUtf8(part));
    return parts;
}

// "ソ" and "表" end in the byte of "\" (0x5C).
TEST(ScriptNameParts, SplitsAtSeparatorsThatAreCharactersOfTheirOwn) {
    EXPECT_EQ(utf8Parts(sj("pict\\sub/a.bmp")), (std::vector<std::string>{"pict", "sub", "a.bmp"}));
    EXPECT_EQ(utf8Parts(sj("\\\\表\\ソ.bmp\\")), (std::vector<std::string>{"表", "ソ.bmp"}));
    EXPECT_EQ(utf8Parts(""), std::vector<std::string>{});
}

TEST(ScriptNameParts, ANameThatDoesNotDecodeHasNoParts) {
    // 0x85 starts a double-byte character, and "/" cannot end one.
    for (const std::string_view name : {"sub\x85/x.bmp", "a\x85", "\xFF.bmp", "\x81 x"})
        EXPECT_FALSE(scriptNameParts(name).has_value()) << name;
    EXPECT_FALSE(staysInsideFolder("sub\x85/x.bmp"));
}

struct FolderCase {
    std::string_view name;
    bool inside;
};

class LeavingTheFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(LeavingTheFolder, OnlyNamesThatClimbAboveTheirStartLeave) {
    EXPECT_EQ(staysInsideFolder(sj(GetParam().name)), GetParam().inside) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeavingTheFolder,
    testing::Values(FolderCase{"a.bmp", true}, FolderCase{"pict\\a.bmp", true},
                    FolderCase{"pict\\..\\a.bmp", true}, FolderCase{".\\a.bmp", true},
                    FolderCase{"..\\a.bmp", false}, FolderCase{"../a.bmp", false},
                    FolderCase{"./../a.bmp", false}, FolderCase{"pict\\..\\..\\a.bmp", false},
                    FolderCase{"..", false}, FolderCase{"...\\a.bmp", true},
                    FolderCase{"ソ..\\a.bmp", true}));

} // namespace
} // namespace pagora
