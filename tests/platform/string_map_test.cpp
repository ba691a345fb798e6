#include "platform/string_map.h"

#include <gtest/gtest.h>
#include <string>

namespace pagora {
namespace {

TEST(StringTable, FindsEveryKeyItHoldsAsTheTableGrows) {
    StringTable<int> table;
    EXPECT_EQ(table.find("a"), nullptr);
    int& first = table.emplace("", -1);
    for (int i = 0; i < 5000; ++i)
        table.emplace("key" + std::to_string(i), i);
    EXPECT_EQ(&table.emplace(""), &first); // an existing key keeps its value and place
    EXPECT_EQ(first, -1);
    EXPECT_EQ(table.size(), 5001u);
    for (int i = 0; i < 5000; ++i) {
        const int* found = table.find("key" + std::to_string(i));
        ASSERT_NE(found, nullptr) << i;
        EXPECT_EQ(*found, i);
    }
    for (const char* absent : {"KEY1", "key5000", "key", "key01", "a"})
        EXPECT_EQ(table.find(absent), nullptr) << absent;
    table.clear();
    EXPECT_EQ(table.find("key1"), nullptr);
    EXPECT_EQ(table.emplace("key1", 7), 7);
}

} // namespace
} // namespace pagora
