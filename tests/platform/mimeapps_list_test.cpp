#include "platform/mimeapps_list.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

constexpr std::string_view kType = "application/x-pagora-comic";
constexpr std::string_view kApp = "pagora.desktop";

struct ListEdit {
    const char* name;
    const char* before;
    const char* withDefault;
    const char* afterRemoval; // withDefault with the application taken out again
};

class MimeappsListEdits : public ::testing::TestWithParam<ListEdit> {};

TEST_P(MimeappsListEdits, SetsAndRemovesTheDefaultKeepingTheRest) {
    const ListEdit& edit = GetParam();
    const std::string set = withDefaultApplication(edit.before, kType, kApp);
    EXPECT_EQ(set, edit.withDefault);
    EXPECT_EQ(withDefaultApplication(set, kType, kApp), set) << "setting twice changes nothing";
    EXPECT_EQ(withoutDefaultApplication(set, kType, kApp), edit.afterRemoval);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MimeappsListEdits,
    ::testing::Values(
        ListEdit{"NoFile", "",
                 "[Default Applications]\napplication/x-pagora-comic=pagora.desktop;\n",
                 "[Default Applications]\n"},
        ListEdit{"OtherGroupsStay", "# mine\n[Added Associations]\ntext/plain=a.desktop;\n",
                 "# mine\n[Added Associations]\ntext/plain=a.desktop;\n[Default Applications]\n"
                 "application/x-pagora-comic=pagora.desktop;\n",
                 "# mine\n[Added Associations]\ntext/plain=a.desktop;\n[Default Applications]\n"},
        ListEdit{"AddedAtTheEndOfTheGroupBeforeBlankLines",
                 "[Default Applications]\ntext/plain=a.desktop;\n\n[Removed Associations]\n"
                 "application/x-pagora-comic=b.desktop;\n",
                 "[Default Applications]\ntext/plain=a.desktop;\n"
                 "application/x-pagora-comic=pagora.desktop;\n\n[Removed Associations]\n"
                 "application/x-pagora-comic=b.desktop;\n",
                 "[Default Applications]\ntext/plain=a.desktop;\n\n[Removed Associations]\n"
                 "application/x-pagora-comic=b.desktop;\n"},
        ListEdit{"AnEarlierChoiceStaysBehindAndComesBack",
                 "[Default Applications]\r\napplication/x-pagora-comic = b.desktop;pagora.desktop;"
                 "c.desktop\r\n",
                 "[Default Applications]\r\n"
                 "application/x-pagora-comic=pagora.desktop;b.desktop;c.desktop;\r\n",
                 "[Default Applications]\r\napplication/x-pagora-comic=b.desktop;c.desktop;\r\n"},
        ListEdit{"ALastLineWithoutItsEnd", "[Default Applications]\ntext/plain=a.desktop;",
                 "[Default Applications]\ntext/plain=a.desktop;\n"
                 "application/x-pagora-comic=pagora.desktop;\n",
                 "[Default Applications]\ntext/plain=a.desktop;\n"},
        ListEdit{"ASimilarTypeIsAnotherEntry",
                 "[Default Applications]\napplication/x-pagora-comic-old=a.desktop;\n",
                 "[Default Applications]\napplication/x-pagora-comic-old=a.desktop;\n"
                 "application/x-pagora-comic=pagora.desktop;\n",
                 "[Default Applications]\napplication/x-pagora-comic-old=a.desktop;\n"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(MimeappsList, RemovalLeavesAListWithoutTheApplicationAsItIs) {
    const std::string list = "[Default Applications]\napplication/x-pagora-comic=b.desktop;\n"
                             "[Added Associations]\napplication/x-pagora-comic=pagora.desktop;\n";
    EXPECT_EQ(withoutDefaultApplication(list, kType, kApp), list);
}

} // namespace
} // namespace pagora
