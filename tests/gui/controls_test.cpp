#include "gui/controls.h"
#include "platform/encoding.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace pagora::test {
namespace {

// A pair of bytes the code page has no character for: shown as something
// else, it must still be chosen and read back as these bytes.
const std::string kUnshownName = "\x85\x40";

std::vector<std::string> names() {
    return {"a", toCp932("天気"), kUnshownName, "b"};
}

struct Preselection {
    std::string chosen;
    int index; // of the item chosen after filling, -1 for none
};

class NameListFill : public ::testing::TestWithParam<Preselection> {};

TEST_P(NameListFill, ChoosesTheNameOnlyWhenTheListHoldsIt) {
    QComboBox list;
    fillNames(list, names(), GetParam().chosen);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.currentIndex(), GetParam().index);
    EXPECT_EQ(chosenName(list), GetParam().index < 0 ? std::string() : GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Names, NameListFill,
                         ::testing::Values(Preselection{"", -1}, Preselection{"b", 3},
                                           Preselection{toCp932("天気"), 1},
                                           Preselection{kUnshownName, 2}, Preselection{"c", -1},
                                           Preselection{"A", -1}));

TEST(NameListRefill, KeepsTheChoiceWhileTheNewNamesHoldIt) {
    QComboBox list;
    fillNames(list, names(), kUnshownName);
    fillNameList(list, {"x", kUnshownName});
    EXPECT_EQ(list.currentIndex(), 1);
    EXPECT_EQ(chosenName(list), kUnshownName);

    fillNameList(list, {"x", "y"});
    EXPECT_EQ(list.currentIndex(), -1) << "the chosen name is gone";
    fillNameList(list, {"x", kUnshownName});
    EXPECT_EQ(list.currentIndex(), -1) << "nothing was chosen to keep";

    selectName(list, "x");
    selectName(list, "");
    EXPECT_EQ(chosenName(list), "") << "an empty name chooses none";
}

} // namespace
} // namespace pagora::test
