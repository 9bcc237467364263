// A whole session on a real song: open, edit on the word table, a refused
// writing, write, undo, write again, change the tempo, save; the saved file
// holds exactly the rows as lyric events.
#include "FlowFixture.h"

#include "app/PlayerPanel.h"
#include "app/SongFactsPanel.h"
#include "core/TMidiFile.h"
#include "lyrics/Marks.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace versilla::app::testing {
namespace {

struct Lyric {
    std::int32_t ticks;
    std::string text;
    bool operator==(const Lyric&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Lyric& l) {
    return out << l.ticks << " '" << l.text << "'";
}

// The lyric event a row becomes: no-space mark dropped, otherwise a space
// unless a line break follows; line breaks a carriage return; protected marks
// back to their plain characters.
std::vector<Lyric> expectedEvents(const std::vector<lyrics::Row>& rows) {
    std::vector<Lyric> out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string text = rows[i].text.empty() ? std::string(" ") : rows[i].text;
        if (text.front() == lyrics::kLineBreak) {
            text = "\r";
        } else if (text.back() == lyrics::kNoSpace) {
            text.pop_back();
        } else {
            const bool breakNext = i + 1 < rows.size() && !rows[i + 1].text.empty() &&
                                   rows[i + 1].text.front() == lyrics::kLineBreak;
            if (!breakNext) text += ' ';
        }
        for (char& c : text) {
            if (c == lyrics::kProtectedHyphen) c = '-';
            if (c == lyrics::kProtectedSpace) c = ' ';
        }
        out.push_back({rows[i].gesticks, text});
    }
    return out;
}

std::vector<std::vector<Lyric>> lyricsOf(const std::string& path) {
    core::TMidiFile song;
    song.SetFileName(path);
    EXPECT_TRUE(song.ReadFile()) << path;
    std::vector<std::vector<Lyric>> tracks(static_cast<std::size_t>(song.TrackCount()));
    for (std::int32_t t = 0; t < song.TrackCount(); ++t)
        for (const core::TMidiEvent& event : song.GetTrack(t)->Events)
            if (event.isMeta(0x05)) tracks[static_cast<std::size_t>(t)].push_back({event.Ticks, std::string(core::EventText(event))});
    return tracks;
}

std::int32_t firstTempoOf(const std::string& path) {
    core::TMidiFile song;
    song.SetFileName(path);
    EXPECT_TRUE(song.ReadFile());
    for (std::int32_t t = 0; t < song.TrackCount(); ++t)
        for (const core::TMidiEvent& event : song.GetTrack(t)->Events)
            if (event.isMeta(0x51) && event.Data.size() == 3)
                return (static_cast<unsigned char>(event.Data[0]) << 16) |
                       (static_cast<unsigned char>(event.Data[1]) << 8) | static_cast<unsigned char>(event.Data[2]);
    return 0;
}

std::vector<std::pair<std::int32_t, std::string>> ticksAndTexts(const lyrics::AssignmentList& list) {
    std::vector<std::pair<std::int32_t, std::string>> out;
    for (const lyrics::Row& row : list.rows()) out.emplace_back(row.gesticks, row.text);
    return out;
}

TEST_F(FlowTest, ASessionOnARealSongSavesExactlyTheRows) {
    auto window = openedWindow();
    lyrics::AssignmentList& list = window->workspace().list();
    ASSERT_TRUE(window->PageControl1->userSwitch(1));

    // Edits on the word table: a text, a time, a deleted row.
    ASSERT_TRUE(list.setCurrentPosition(0));
    ASSERT_TRUE(list.setText("LEI\xA4"));
    ASSERT_FALSE(list.post().has_value());
    const std::int32_t movedTo = list.row(4).zeit + 40;
    ASSERT_TRUE(list.setCurrentPosition(4));
    ASSERT_TRUE(list.setZeit(movedTo));
    ASSERT_FALSE(list.post().has_value());
    ASSERT_TRUE(list.removeAt(10).ok());
    const auto edited = ticksAndTexts(list);
    ASSERT_EQ(edited.size(), std::size_t{kImportedRows - 1});

    // Without a text channel the writing is refused and nothing is lost.
    ASSERT_TRUE(window->settings().writeBlank("TEXTSPUR").ok());
    prompter.expect(MessageId{1, 4});
    window->s1_eintragenClick();
    prompter.verify();
    EXPECT_EQ(ticksAndTexts(list), edited);
    EXPECT_TRUE(window->listChanged());

    ASSERT_TRUE(window->settings().writeInteger("TEXTSPUR", 1).ok());
    window->s1_eintragenClick();
    EXPECT_FALSE(window->listChanged());
    EXPECT_EQ(ticksAndTexts(list), edited);

    // An edit thrown away by undo.
    ASSERT_TRUE(list.setCurrentPosition(1));
    ASSERT_TRUE(list.setText("weg"));
    ASSERT_FALSE(list.post().has_value());
    prompter.expect(MessageId{1, 50}, Answer::Yes);
    window->s5_rueckgaengigClick();
    prompter.verify();
    EXPECT_EQ(ticksAndTexts(list), edited);

    // Another edit, written.
    ASSERT_TRUE(list.setCurrentPosition(2));
    ASSERT_TRUE(list.setText("rock\xACn\xB7roll"));
    ASSERT_FALSE(list.post().has_value());
    window->s1_eintragenClick();
    const auto written = ticksAndTexts(list);
    EXPECT_EQ(written[2].second, "rock\xACn\xB7roll"); // stored rows keep no trailing blank

    // Tempo 70 -> 80: every tempo moves by 10, the syllables keep their ticks.
    dialogs.tempo = 80;
    window->s1_tempoauswahlClick();
    EXPECT_EQ(dialogs.tempoCurrent, 70);
    EXPECT_TRUE(dialogs.severalTempi);
    EXPECT_EQ(window->Panel1->s1_tempo->text(), "80");
    EXPECT_EQ(ticksAndTexts(list), written);
    EXPECT_FALSE(window->Panel2->s1_weiter->isEnabled());

    // Save, keeping the new tempo.
    const QString target = QDir(data()).filePath("Ständchen.mid");
    files.savePath = target.toStdString();
    prompter.expect(MessageId{1, 59}, Answer::No);
    window->Speichern1Click();
    prompter.verify();
    ASSERT_TRUE(QFile::exists(target));
    EXPECT_EQ(bytesOf(target), bytesOf(QDir(data()).filePath("Sylo1.dbf")));
    EXPECT_FALSE(window->songUnsaved());

    const auto tracks = lyricsOf(target.toStdString());
    ASSERT_EQ(tracks.size(), 4u);
    EXPECT_TRUE(tracks[0].empty());
    EXPECT_TRUE(tracks[2].empty());
    EXPECT_TRUE(tracks[3].empty());
    EXPECT_EQ(tracks[1], expectedEvents(list.rows()));
    EXPECT_EQ(tracks[1].size(), std::size_t{kImportedRows - 1});
    // 857142 µs per quarter scaled by 70/80, rounded: 80 BPM.
    EXPECT_EQ(firstTempoOf(target.toStdString()), 749999);
}

} // namespace
} // namespace versilla::app::testing
