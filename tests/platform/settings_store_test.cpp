#include "platform/settings_store.h"

#include <gtest/gtest.h>

namespace pagora {
namespace {

TEST(SettingsStore, ReadsTypedValuesWithFallbacks) {
    MemorySettingsStore store;
    EXPECT_EQ(store.readText("UserName", "nobody"), "nobody");
    EXPECT_EQ(store.readInt("Version", 7), 7);
    store.writeText("UserName", "Hanako");
    store.writeInt("Version", 1410);
    store.writeFlag("ShowCmdIcon", true);
    store.writeText("Broken", "many");
    EXPECT_EQ(store.readText("UserName", ""), "Hanako");
    EXPECT_EQ(store.readInt("Version", 0), 1410);
    EXPECT_TRUE(store.readFlag("ShowCmdIcon", false));
    EXPECT_EQ(store.readInt("Broken", 3), 3);
}

TEST(SettingsStore, WritesAtExitOnlyWhatStillExists) {
    MemorySettingsStore store;
    store.writeInt("Top", 10);
    store.eraseAll();
    store.writeIntIfPresent("Top", 20);
    store.writeTextIfPresent("UserName", "x");
    store.writeFlagIfPresent("PlugInUse", true);
    EXPECT_FALSE(store.contains("Top"));
    EXPECT_FALSE(store.contains("UserName"));
    EXPECT_FALSE(store.contains("PlugInUse"));

    store.writeInt("Top", 10);
    store.writeIntIfPresent("Top", 20);
    EXPECT_EQ(store.readInt("Top", 0), 20);
}

} // namespace
} // namespace pagora
