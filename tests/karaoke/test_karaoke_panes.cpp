#include <gtest/gtest.h>

#include "lyrics/Marks.h"
#include "player/KaraokePanes.h"

namespace versilla::player {
namespace {

const std::string LB(1, lyrics::kLineBreak);
const std::string NS(1, lyrics::kNoSpace);

std::string rep(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

TEST(SongLyricList, SpaceRule)
{
    EXPECT_EQ(songLyricListOfTexts({"Hal" + NS, "lo", LB, "Welt"}),
              (SongLyricList{"Hal", "lo", LB, "Welt "}));
    // Only an entry that is exactly the line-break mark takes the space away.
    EXPECT_EQ(songLyricListOfTexts({"a", "b", LB, LB, ""}), (SongLyricList{"a ", "b", LB, LB, " "}));
    lyrics::Row r;
    r.text = "Herz" + NS;
    EXPECT_EQ(songLyricList({r}), (SongLyricList{"Herz"}));
}

TEST(PaneFill, EntryIsCutTo38Characters)
{
    KaraokePane p;
    EXPECT_EQ(paneFill(p, {rep('a', 40)}, 0), 1);
    EXPECT_EQ(p.text, rep('a', 38));
    EXPECT_EQ(p.offsets, (std::vector<int>{0}));
}

TEST(PaneFill, The39thCharacterStartsTheNextLine)
{
    KaraokePane p;
    EXPECT_EQ(paneFill(p, {rep('a', 30), rep('b', 8), "c"}, 0), 3);
    EXPECT_EQ(p.text, rep('a', 30) + rep('b', 8) + "\nc");
    EXPECT_EQ(p.offsets, (std::vector<int>{0, 30, 39}));
}

TEST(PaneFill, LineBreakIsAppendedToAFullLine)
{
    KaraokePane p;
    EXPECT_EQ(paneFill(p, {rep('x', 38), LB, "y"}, 0), 3);
    EXPECT_EQ(p.text, rep('x', 38) + LB + "\ny");
    // The line break's offset is where its line ends (the line end itself).
    EXPECT_EQ(p.offsets, (std::vector<int>{0, 39, 40}));
}

TEST(PaneFill, LineBreakOnTheFifthLineCompletesThePane)
{
    SongLyricList list;
    for (int i = 0; i < 5; ++i) {
        list.push_back("w");
        list.push_back(LB);
    }
    list.push_back("danach");
    KaraokePane p;
    EXPECT_EQ(paneFill(p, list, 0), 10);
    EXPECT_EQ(p.offsets.size(), 10u);
    EXPECT_EQ(p.offsets.back(), static_cast<int>(p.text.size()) - 1);
    EXPECT_EQ(p.text.back(), lyrics::kLineBreak);
    KaraokePane next;
    EXPECT_EQ(paneFill(next, list, 10), 11);
    EXPECT_EQ(next.text, "danach");
}

TEST(PaneFill, EntryNotFittingTheFifthLineStartsTheNextPane)
{
    SongLyricList list(5, rep('l', 38));
    list.push_back("z");
    KaraokePane top, bottom;
    EXPECT_EQ(paneFill(top, list, 0), 5);
    EXPECT_EQ(top.text.size(), 5u * 38 + 4);
    EXPECT_EQ(paneFill(bottom, list, 5), 6);
    EXPECT_EQ(bottom.text, "z");
    EXPECT_EQ(bottom.offsets, (std::vector<int>{0}));
}

TEST(PaneFill, PastTheEndReturnsZeroAndChangesNothing)
{
    const SongLyricList list{"eins ", "zwei "};
    KaraokePane p;
    ASSERT_EQ(paneFill(p, list, 0), 2);
    p.entryCounter = 1;
    p.selLength = 4;
    const KaraokePane before = p;
    for (int k : {2, 3}) {
        EXPECT_EQ(paneFill(p, list, k), 0);
        EXPECT_EQ(p.text, before.text);
        EXPECT_EQ(p.offsets, before.offsets);
        EXPECT_EQ(p.entryCounter, 1);
        EXPECT_EQ(p.selLength, 4);
    }
}

TEST(KaraokeDisplay, ListInOnePaneKeepsItsFullHighlight)
{
    KaraokeDisplay d;
    d.setList(songLyricListOfTexts({"Hal" + NS, "lo", LB, "Welt"}));
    d.play();
    EXPECT_EQ(d.top().text, "Hallo" + LB + "\nWelt ");
    EXPECT_TRUE(d.bottom().text.empty());
    EXPECT_EQ(d.nextToFill(), 0);

    d.update({"Hal"});
    EXPECT_EQ(d.top().selLength, 3);
    d.update({"lo", " "}); // a line break arrives as one character
    EXPECT_EQ(d.top().selLength, 7);
    EXPECT_EQ(d.active(), PaneId::Top);
    d.update({"Welt "});
    EXPECT_EQ(d.top().selLength, static_cast<int>(d.top().text.size()));
    EXPECT_EQ(d.active(), PaneId::Bottom);

    // A lyric with no entry left in the active pane: nothing lights up, and
    // singing goes back to the other pane, which keeps its highlight.
    d.update({"extra"});
    EXPECT_EQ(d.active(), PaneId::Top);
    EXPECT_EQ(d.bottom().selLength, 0);
    EXPECT_EQ(d.top().selLength, static_cast<int>(d.top().text.size()));
}

TEST(KaraokeDisplay, FinishedPaneIsRefilledWithWhatFollows)
{
    // Three panes' worth: 5 full lines, 5 full lines, then "end".
    SongLyricList list(10, rep('s', 38));
    list.push_back("end");
    KaraokeDisplay d;
    d.setList(list);
    d.play();
    EXPECT_EQ(d.nextToFill(), 10);
    std::vector<std::string> pane(5, rep('s', 38));

    d.update(pane);
    EXPECT_EQ(d.active(), PaneId::Bottom);
    EXPECT_EQ(d.top().text, "end"); // refilled, highlight removed
    EXPECT_EQ(d.top().selLength, 0);
    EXPECT_EQ(d.nextToFill(), 11);

    d.update({rep('s', 38)});
    EXPECT_EQ(d.bottom().selLength, 38);
    d.update(std::vector<std::string>(4, rep('s', 38)));
    EXPECT_EQ(d.active(), PaneId::Top);
    // Nothing follows any more: the finished bottom pane is emptied instead of
    // showing sung lines again without their highlight.
    EXPECT_EQ(d.nextToFill(), 0);
    EXPECT_TRUE(d.bottom().text.empty());
    EXPECT_EQ(d.bottom().selLength, 0);

    d.update({"end"});
    EXPECT_EQ(d.top().selLength, 3);
    EXPECT_EQ(d.active(), PaneId::Bottom);
    EXPECT_EQ(d.top().text, "end"); // last pane keeps its highlight
}

TEST(KaraokeDisplay, RemoveHighlightsAndEmptyList)
{
    KaraokeDisplay d;
    d.play();
    EXPECT_TRUE(d.top().text.empty());
    EXPECT_EQ(d.nextToFill(), 0);
    d.setList({"a ", "b "});
    d.play();
    d.update({"a "});
    EXPECT_EQ(d.top().selLength, 2);
    d.removeHighlights();
    EXPECT_EQ(d.top().selLength, 0);
    EXPECT_EQ(d.top().entryCounter, 1); // singing goes on where it was
}

} // namespace
} // namespace versilla::player
