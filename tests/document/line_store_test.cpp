#include "document/line_store.h"

#include <gtest/gtest.h>
#include <random>

namespace pagora {
namespace {

std::vector<std::string> numbered(int from, int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("line " + std::to_string(from + i));
    return lines;
}

TEST(LineStore, InsertsReplacesAndErasesAroundTheGap) {
    LineStore store;
    store.assign(numbered(0, 5));
    store.insert(2, {"a", "b"});
    store.erase(0, 1);
    store.insert(6, {"end"});
    store.replace(0, "first");
    store.erase(3, 2);
    EXPECT_EQ(store.toVector(), (std::vector<std::string>{"first", "a", "b", "line 4", "end"}));
    EXPECT_EQ(store.size(), 5);
    EXPECT_EQ(store[3], "line 4");
}

// Random edits agree with the same edits on a plain vector.
TEST(LineStore, AgreesWithAVectorOverRandomEdits) {
    std::mt19937 random(1234);
    LineStore store;
    std::vector<std::string> model = numbered(0, 50);
    store.assign(model);
    int next = 1000;
    for (int step = 0; step < 5000; ++step) {
        const int size = static_cast<int>(model.size());
        const int position = static_cast<int>(random() % static_cast<unsigned>(size + 1));
        switch (random() % 3) {
        case 0: {
            const int count = static_cast<int>(random() % 4);
            std::vector<std::string> lines = numbered(next, count);
            next += count;
            model.insert(model.begin() + position, lines.begin(), lines.end());
            store.insert(position, std::move(lines));
            break;
        }
        case 1:
            if (position < size) {
                const int count = std::min(size - position, static_cast<int>(random() % 4));
                model.erase(model.begin() + position, model.begin() + position + count);
                store.erase(position, count);
            }
            break;
        default:
            if (position < size) {
                model[static_cast<std::size_t>(position)] = "replaced " + std::to_string(step);
                store.replace(position, "replaced " + std::to_string(step));
            }
            break;
        }
        ASSERT_EQ(store.size(), static_cast<int>(model.size())) << "step " << step;
        if (!model.empty()) {
            ASSERT_EQ(store[position % store.size()],
                      model[static_cast<std::size_t>(position % store.size())]);
        }
    }
    EXPECT_EQ(store.toVector(), model);
}

} // namespace
} // namespace pagora
