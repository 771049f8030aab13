// The bitmap cache: one object per identifier, nothing cached for missing ones, safe
// from two threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "controls/BitmapCache.h"

namespace {

// Every bitmap of the skin.
const int kSkinIds[] = {137, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 155, 156,
                        158, 159, 160, 162, 163, 164, 165, 166, 167, 172, 173, 174, 175, 179, 180,
                        181, 182, 183, 184, 185, 186, 187, 189, 190, 191, 192, 194, 195, 196, 197,
                        198, 199, 200, 203, 204, 205, 209, 210, 212, 213, 216, 217};
constexpr int kSkinCount = static_cast<int>(sizeof kSkinIds / sizeof kSkinIds[0]);

// Identifiers that no bitmap resource has, inside and outside the skin's range.
const int kMissingIds[] = {138, 139, 999, 0, -1};

class BitmapCache : public ::testing::Test {
protected:
    void SetUp() override { FreeSkinBitmaps(); }
    void TearDown() override { FreeSkinBitmaps(); }
};

}  // namespace

TEST_F(BitmapCache, SameIdentifierGivesTheSameObjectLoadedOnce) {
    CSkinBitmap* first = LoadSkinBitmap(159);
    ASSERT_NE(first, nullptr);
    const HGDIOBJ handle = first->GetSafeHandle();
    EXPECT_EQ(LoadSkinBitmap(159), first);
    EXPECT_EQ(first->GetSafeHandle(), handle);
    EXPECT_EQ(CountSkinBitmaps(), 1);
}

TEST_F(BitmapCache, EveryIdentifierHasItsOwnObject) {
    std::vector<CSkinBitmap*> loaded;
    for (int id : kSkinIds) {
        CSkinBitmap* bitmap = LoadSkinBitmap(id);
        ASSERT_NE(bitmap, nullptr) << id;
        for (CSkinBitmap* other : loaded) EXPECT_NE(bitmap, other) << id;
        loaded.push_back(bitmap);
    }
    EXPECT_EQ(CountSkinBitmaps(), kSkinCount);
    for (int i = 0; i < kSkinCount; ++i) EXPECT_EQ(LoadSkinBitmap(kSkinIds[i]), loaded[i]);
}

TEST_F(BitmapCache, MissingIdentifierGivesNullAndCachesNothing) {
    ASSERT_NE(LoadSkinBitmap(137), nullptr);
    for (int id : kMissingIds) {
        EXPECT_EQ(LoadSkinBitmap(id), nullptr) << id;
        EXPECT_EQ(LoadSkinBitmap(id), nullptr) << id;
        EXPECT_EQ(CountSkinBitmaps(), 1) << id;
    }
}

TEST_F(BitmapCache, FreeEmptiesTheCacheAndLaterCallsLoadAfresh) {
    for (int id : {137, 159, 160}) ASSERT_NE(LoadSkinBitmap(id), nullptr);
    FreeSkinBitmaps();
    EXPECT_EQ(CountSkinBitmaps(), 0);

    CSkinBitmap* again = LoadSkinBitmap(160);
    ASSERT_NE(again, nullptr);
    BITMAP info{};
    ASSERT_NE(again->GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 65);
    EXPECT_EQ(info.bmHeight, 23);
    EXPECT_EQ(CountSkinBitmaps(), 1);
}

TEST_F(BitmapCache, TwoThreadsLoadingTheSameIdentifiersGetOneObjectEach) {
    for (int round = 0; round < 60; ++round) {
        std::atomic<int> ready{0};
        std::vector<CSkinBitmap*> seen[2] = {std::vector<CSkinBitmap*>(kSkinCount), std::vector<CSkinBitmap*>(kSkinCount)};
        auto loader = [&](int which) {
            ready.fetch_add(1);
            while (ready.load() < 2) std::this_thread::yield();
            // One thread walks forwards, the other backwards, so they meet on every identifier.
            for (int i = 0; i < kSkinCount; ++i) {
                const int index = which == 0 ? i : kSkinCount - 1 - i;
                seen[which][index] = LoadSkinBitmap(kSkinIds[index]);
            }
        };
        std::thread first(loader, 0);
        std::thread second(loader, 1);
        first.join();
        second.join();

        ASSERT_EQ(CountSkinBitmaps(), kSkinCount) << "round " << round;
        for (int i = 0; i < kSkinCount; ++i) {
            ASSERT_NE(seen[0][i], nullptr) << kSkinIds[i];
            ASSERT_EQ(seen[0][i], seen[1][i]) << kSkinIds[i] << " in round " << round;
            ASSERT_EQ(LoadSkinBitmap(kSkinIds[i]), seen[0][i]);
        }
        FreeSkinBitmaps();
    }
}

TEST_F(BitmapCache, FreeingWhileAnotherThreadLoadsLeavesAConsistentCache) {
    std::atomic<bool> done{false};
    std::atomic<int> failures{0};
    std::thread loader([&] {
        for (int pass = 0; pass < 40; ++pass) {
            for (int id : kSkinIds) {
                if (LoadSkinBitmap(id) == nullptr) failures.fetch_add(1);
            }
        }
        done.store(true);
    });
    while (!done.load()) FreeSkinBitmaps();
    loader.join();

    EXPECT_EQ(failures.load(), 0);

    for (int id : kSkinIds) ASSERT_NE(LoadSkinBitmap(id), nullptr);
    EXPECT_EQ(CountSkinBitmaps(), kSkinCount);
}
