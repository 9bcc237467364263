#include <gtest/gtest.h>

#include <thread>

#include "player/PendingLyrics.h"

namespace versilla::player {
namespace {

TEST(PendingLyrics, TakesEveryTextOnceInOrderAcrossThreads)
{
    PendingLyrics pending;
    constexpr int kCount = 20000;
    std::thread producer([&] {
        for (int i = 0; i < kCount; ++i)
            pending.push(std::to_string(i), i);
    });
    std::vector<std::string> got;
    while (static_cast<int>(got.size()) < kCount) {
        auto taken = pending.takeAll();
        if (!taken.texts.empty()) {
            EXPECT_GE(taken.lastEventTick, std::stoi(taken.texts.back()));
        }
        got.insert(got.end(), taken.texts.begin(), taken.texts.end());
    }
    producer.join();
    ASSERT_EQ(static_cast<int>(got.size()), kCount);
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(got[static_cast<std::size_t>(i)], std::to_string(i));
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(pending.lastEventTick(), kCount - 1);
}

TEST(PendingLyrics, ClearKeepsTheLastTick)
{
    PendingLyrics pending;
    pending.push("a", 10);
    pending.clear();
    EXPECT_TRUE(pending.takeAll().texts.empty());
    EXPECT_EQ(pending.lastEventTick(), 10);
}

} // namespace
} // namespace versilla::player
