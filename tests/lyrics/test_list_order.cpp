#include "ListFixture.h"

#include <algorithm>
#include <random>

namespace versilla::lyrics::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(ListTest, EqualTimesKeepTheOrderTheyWereAdded)
{
    for (const auto& [ms, text] : std::vector<std::pair<int, std::string>>{{500, "b"}, {100, "a"}, {500, "c"}, {300, "x"}})
        ASSERT_FALSE(list.appendRow(makeRow(ms, text)).has_value());
    EXPECT_EQ(texts(), (Texts{"a", "x", "b", "c"}));
    // Moved onto an equal time, a row goes by when it was added: after b and c.
    ASSERT_TRUE(list.setCurrentPosition(1));
    ASSERT_TRUE(list.setZeit(500));
    ASSERT_FALSE(list.post().has_value());
    EXPECT_EQ(texts(), (Texts{"a", "b", "c", "x"}));
    EXPECT_EQ(list.currentPosition(), 3); // the cursor stays on the saved row
    // Moved in front of everything.
    ASSERT_TRUE(list.setZeit(0));
    ASSERT_FALSE(list.post().has_value());
    EXPECT_EQ(texts(), (Texts{"x", "a", "b", "c"}));
    EXPECT_EQ(list.currentPosition(), 0);
    // The table's own index agrees with the list.
    ASSERT_TRUE(list.attach(dir));
    EXPECT_EQ(texts(), (Texts{"x", "a", "b", "c"}));
}

TEST_F(ListTest, IndexOffKeepsRecordOrderWhileTimesAreRewritten)
{
    for (const auto& [ms, text] : std::vector<std::pair<int, std::string>>{{300, "a"}, {100, "b"}, {200, "c"}})
        ASSERT_FALSE(list.appendRow(makeRow(ms, text)).has_value());
    list.marks().bulkUpdate = true;
    ASSERT_TRUE(list.setIndexActive(false));
    EXPECT_EQ(texts(), (Texts{"a", "b", "c"}));
    // Rewrite every row in stored order, as a tempo change does.
    ASSERT_TRUE(list.first());
    std::int32_t ms = 1000;
    do {
        ASSERT_TRUE(list.setZeit(ms));
        ms -= 100;
        ASSERT_FALSE(list.post().has_value());
    } while (list.next());
    EXPECT_EQ(texts(), (Texts{"a", "b", "c"}));
    ASSERT_TRUE(list.setIndexActive(true));
    EXPECT_EQ(texts(), (Texts{"c", "b", "a"}));
    EXPECT_EQ(list.currentPosition(), 0);
    EXPECT_TRUE(list.bof());
}

TEST_F(ListTest, CursorFollowsNextAndStaysAtTheEnd)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(list.appendRow(makeRow(i * 10, "s")).has_value());
    ASSERT_TRUE(list.first());
    EXPECT_TRUE(list.bof());
    EXPECT_TRUE(list.next());
    EXPECT_FALSE(list.bof());
    EXPECT_TRUE(list.next());
    EXPECT_FALSE(list.next());
    EXPECT_EQ(list.currentPosition(), 2);
    // No cursor moves while a row is edited.
    ASSERT_TRUE(list.edit());
    EXPECT_FALSE(list.setCurrentPosition(0));
    EXPECT_FALSE(list.first());
    list.cancel();
    EXPECT_TRUE(list.setCurrentPosition(0));
}

/// Replays the notifications on its own copy of the record numbers, the way an
/// item model's persistent rows follow, and counts them.
struct ShadowView : ListListener {
    explicit ShadowView(const AssignmentList& l) : list(l) {}
    const AssignmentList& list;
    std::vector<std::uint32_t> recs;
    int resets = 0, aboutResets = 0, perRow = 0;
    int sizeAtAbout = -1;

    void aboutToReset() override { ++aboutResets; }
    void reset() override
    {
        ++resets;
        recs.clear();
        for (int i = 0; i < list.rowCount(); ++i)
            recs.push_back(list.row(i).recNo);
    }
    void aboutToInsert(int pos) override
    {
        ++perRow;
        EXPECT_EQ(list.rowCount(), static_cast<int>(recs.size()));
        EXPECT_LE(pos, static_cast<int>(recs.size()));
    }
    void inserted(int pos) override
    {
        ASSERT_EQ(list.rowCount(), static_cast<int>(recs.size()) + 1);
        recs.insert(recs.begin() + pos, list.row(pos).recNo);
    }
    void aboutToRemove(int pos) override
    {
        ++perRow;
        EXPECT_EQ(list.rowCount(), static_cast<int>(recs.size()));
        EXPECT_LT(pos, static_cast<int>(recs.size()));
    }
    void removed(int pos) override
    {
        ASSERT_EQ(list.rowCount(), static_cast<int>(recs.size()) - 1);
        recs.erase(recs.begin() + pos);
    }
    void aboutToMove(int from, int to) override
    {
        ++perRow;
        EXPECT_NE(from, to);
    }
    void moved(int from, int to) override
    {
        const std::uint32_t r = recs[static_cast<std::size_t>(from)];
        recs.erase(recs.begin() + from);
        recs.insert(recs.begin() + to, r);
    }
    void changed(int pos) override
    {
        ++perRow;
        ASSERT_LT(pos, static_cast<int>(recs.size()));
        recs[static_cast<std::size_t>(pos)] = list.row(pos).recNo;
    }
};

std::vector<std::uint32_t> recNos(const AssignmentList& list)
{
    std::vector<std::uint32_t> out;
    for (int i = 0; i < list.rowCount(); ++i)
        out.push_back(list.row(i).recNo);
    return out;
}

TEST_F(ListTest, ViewsFollowEveryRowChange)
{
    ShadowView view(list);
    list.addListener(&view);
    std::mt19937 rng(7);
    for (int step = 0; step < 400; ++step) {
        const int op = static_cast<int>(rng() % 5);
        const auto ms = static_cast<std::int32_t>(rng() % 50) * 100; // many equal times
        if (op <= 1 || list.rowCount() == 0) {
            ASSERT_FALSE(list.appendRow(makeRow(ms, label("s", step))).has_value());
        } else if (op == 2) {
            ASSERT_TRUE(list.setCurrentPosition(static_cast<int>(rng() % static_cast<unsigned>(list.rowCount()))));
            ASSERT_TRUE(list.setZeit(ms));
            ASSERT_FALSE(list.post().has_value());
        } else if (op == 3) {
            ASSERT_TRUE(list.removeAt(static_cast<int>(rng() % static_cast<unsigned>(list.rowCount()))));
        } else {
            ASSERT_TRUE(list.appendBlankRow());
            ASSERT_TRUE(list.setZeit(ms));
            list.cancel();
        }
        ASSERT_EQ(view.recs, recNos(list)) << "step " << step;
    }
    EXPECT_EQ(view.resets, 0);
    // Every position agrees with positionOfRecNo, and the list is in order.
    for (int i = 0; i < list.rowCount(); ++i) {
        EXPECT_EQ(list.positionOfRecNo(list.row(i).recNo), i);
        if (i > 0) {
            const Row& a = list.row(i - 1);
            const Row& b = list.row(i);
            EXPECT_TRUE(a.zeit < b.zeit || (a.zeit == b.zeit && a.recNo < b.recNo));
        }
    }
    // The table read afresh gives the same order.
    const auto mirrored = recNos(list);
    list.removeListener(&view);
    ASSERT_TRUE(list.attach(dir));
    EXPECT_EQ(recNos(list), mirrored);
}

TEST_F(ListTest, BulkChangeSendsOneResetAndNothingElse)
{
    ShadowView view(list);
    list.addListener(&view);
    list.marks().bulkUpdate = true;
    list.beginBulk();
    list.beginBulk(); // nested brackets still give one reset
    ASSERT_TRUE(list.zap());
    // 3 000 rows, newest time first, with every tenth time repeated.
    for (int i = 0; i < 3000; ++i)
        ASSERT_FALSE(list.appendRow(makeRow((3000 - i) / 10 * 10, label("r", i))).has_value());
    ASSERT_TRUE(list.setIndexActive(true));
    list.endBulk();
    EXPECT_EQ(view.resets, 0);
    list.endBulk();
    EXPECT_EQ(view.aboutResets, 1);
    EXPECT_EQ(view.resets, 1);
    EXPECT_EQ(view.perRow, 0);
    ASSERT_EQ(list.rowCount(), 3000);
    EXPECT_EQ(view.recs, recNos(list));
    for (int i = 0; i < list.rowCount(); ++i) {
        const Row& r = list.row(i);
        EXPECT_EQ(list.positionOfRecNo(r.recNo), i);
        if (i > 0) {
            const Row& p = list.row(i - 1);
            ASSERT_TRUE(p.zeit < r.zeit || (p.zeit == r.zeit && p.recNo < r.recNo)) << i;
        }
    }
    EXPECT_EQ(list.row(0).text, "r2991"); // time 0: the last ten rows, first added first
    EXPECT_EQ(list.row(2999).text, "r0");
    list.removeListener(&view);
}

} // namespace
} // namespace versilla::lyrics::test
