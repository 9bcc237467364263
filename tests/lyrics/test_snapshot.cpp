#include "ListFixture.h"

namespace versilla::lyrics::test {
namespace {

std::vector<std::string> snapTexts(const RowSnapshot& s)
{
    std::vector<std::string> out;
    for (const TLyrics& e : s)
        out.push_back(e.text);
    return out;
}

class SnapshotTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        for (int i = 0; i < 5; ++i) {
            Row r = makeRow(1000 * (i + 1), std::string(1, static_cast<char>('a' + i)));
            r.start = i == 1 ? 1 : 0;
            r.mehrfach = i + 1;
            r.strzeit = label("t", i);
            ASSERT_FALSE(list.appendRow(r).has_value());
        }
        snapshot.clear();
        list.takeSnapshot(snapshot, SnapshotMode::Other);
    }
    RowSnapshot snapshot;
};

TEST_F(SnapshotTest, HoldsEveryRowInListOrder)
{
    ASSERT_EQ(snapshot.size(), 5u);
    const TLyrics& b = snapshot[1];
    EXPECT_EQ(b.text, "b");
    EXPECT_EQ(b.zeit, 2000);
    EXPECT_EQ(b.gesticks, 1920);
    EXPECT_EQ(b.strzeit, "t1");
    EXPECT_EQ(b.start, 1);
    EXPECT_EQ(b.mehrfach, 2);
    EXPECT_EQ(list.positionOfRecNo(static_cast<std::uint32_t>(b.recNo)), 1);
}

TEST_F(SnapshotTest, AfterOneDeleteModeOneIsExactlyTheTable)
{
    ASSERT_TRUE(list.setCurrentPosition(2));
    ASSERT_TRUE(list.removeCurrent());
    list.takeSnapshot(snapshot, SnapshotMode::AfterDelete);
    EXPECT_EQ(snapTexts(snapshot), (std::vector<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(list.currentPosition(), 0);
}

TEST_F(SnapshotTest, AfterTwoRemovalsModeTwoKeepsThePreviousLastTwo)
{
    ASSERT_TRUE(list.removeAt(0));
    ASSERT_TRUE(list.removeAt(0));
    list.takeSnapshot(snapshot, SnapshotMode::Other);
    EXPECT_EQ(snapTexts(snapshot), (std::vector<std::string>{"c", "d", "e", "d", "e"}));
}

TEST_F(SnapshotTest, CarriedOverCountDependsOnTheMode)
{
    struct Case {
        SnapshotMode mode;
        int removed;
        std::size_t expected;
    };
    for (const Case c : {Case{SnapshotMode::AfterAdd, 1, 4 + 2}, Case{SnapshotMode::AfterDelete, 2, 3 + 1},
                         Case{SnapshotMode::AfterAdd, 5, 0 + 5}, Case{SnapshotMode::Other, 0, 5}}) {
        SetUp();
        for (int i = 0; i < c.removed; ++i)
            ASSERT_TRUE(list.removeAt(0));
        list.takeSnapshot(snapshot, c.mode);
        EXPECT_EQ(snapshot.size(), c.expected) << static_cast<int>(c.mode) << " " << c.removed;
        TearDown();
    }
}

} // namespace
} // namespace versilla::lyrics::test
