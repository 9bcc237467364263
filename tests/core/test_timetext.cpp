#include "core/TimeText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using versilla::core::MsToTimeText;
using versilla::core::ZeroPad;

struct TimeCase {
    std::int32_t ms;
    const char* text;
};

class TimeTextTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeTextTest, FormatsMilliseconds) { EXPECT_EQ(MsToTimeText(GetParam().ms), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Cases, TimeTextTest,
                         ::testing::Values(TimeCase{0, "0:00:00.000"}, TimeCase{61005, "0:01:01.005"},
                                           TimeCase{3723004, "1:02:03.004"}, TimeCase{36000000, "10:00:00.000"},
                                           TimeCase{59999, "0:00:59.999"},  // truncated, never rounded
                                           TimeCase{999, "0:00:00.999"}, TimeCase{3599999, "0:59:59.999"},
                                           TimeCase{std::numeric_limits<std::int32_t>::max(), "596:31:23.647"},
                                           TimeCase{-1, "-0:00:00.001"}, TimeCase{-61005, "-0:01:01.005"},
                                           TimeCase{std::numeric_limits<std::int32_t>::min(), "-596:31:23.648"}));

TEST(ZeroPadTest, PadsToWidthAndNeverCuts) {
    EXPECT_EQ(ZeroPad(5, 3), "005");
    EXPECT_EQ(ZeroPad(0, 2), "00");
    EXPECT_EQ(ZeroPad(1234, 2), "1234");
    EXPECT_EQ(ZeroPad(7, 0), "7");
    EXPECT_EQ(ZeroPad(7, -3), "7");
}

} // namespace
