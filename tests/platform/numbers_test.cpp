#include "platform/errors.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

struct IntCase {
    const char* text;
    std::optional<int> value;
};

class ParseInt : public testing::TestWithParam<IntCase> {};

TEST_P(ParseInt, ReadsIntegersAsTheFormatWritesThem) {
    EXPECT_EQ(parseInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseInt,
                         testing::Values(IntCase{"0", 0}, IntCase{"15", 15}, IntCase{"-7", -7},
                                         IntCase{"+3", 3}, IntCase{"  42", 42}, IntCase{"$1F", 31},
                                         IntCase{"0x10", 16}, IntCase{"0xFFFFFFFF", -1},
                                         IntCase{"2147483647", 2147483647},
                                         IntCase{"-2147483648", -2147483647 - 1},
                                         IntCase{"2147483648", std::nullopt},
                                         IntCase{"", std::nullopt}, IntCase{"-", std::nullopt},
                                         IntCase{"12 ", std::nullopt}, IntCase{"abc", std::nullopt},
                                         IntCase{"1e3", std::nullopt}, IntCase{"0x", std::nullopt},
                                         IntCase{"99999999999999999999", std::nullopt}));

TEST(StrictInt, ThrowsTheConversionErrorNamingTheText) {
    EXPECT_EQ(strictInt("12"), 12);
    try {
        strictInt("abc");
        FAIL() << "expected a ConversionError";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
    }
}

TEST(LenientInt, FallsBack) {
    EXPECT_EQ(lenientInt("x"), 0);
    EXPECT_EQ(lenientInt("x", 15), 15);
    EXPECT_EQ(lenientInt("16", 15), 16);
}

} // namespace
} // namespace pagora
