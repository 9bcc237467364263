#include "song/Workspace.h"

#include "core/TMidiFile.h"
#include "core/TimeText.h"
#include "song/LyricForms.h"
#include "song/LyricWriting.h"
#include "song/SongWriter.h"
#include "song/TempoChange.h"

#include <algorithm>
#include <unordered_set>

namespace versilla::song {

namespace {

constexpr std::uint8_t kMetaLyric = 0x05;
constexpr std::size_t kSongNameMax = 50;

/// Shows the information window for the life of a command; idle() on every way out.
class BusyScope {
public:
    BusyScope(WorkspaceObserver* observer, std::string_view key, bool disable) : m_observer(observer)
    {
        if (m_observer)
            m_observer->busy(key, disable);
    }
    ~BusyScope()
    {
        if (m_observer)
            m_observer->idle();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    WorkspaceObserver* m_observer;
};

/// The views of the list get one reset instead of a call per row.
class ViewBracket {
public:
    explicit ViewBracket(lyrics::AssignmentList& list) : m_list(list) { m_list.beginBulk(); }
    ~ViewBracket() { m_list.endBulk(); }
    ViewBracket(const ViewBracket&) = delete;
    ViewBracket& operator=(const ViewBracket&) = delete;

private:
    lyrics::AssignmentList& m_list;
};

/// The bulk-update mark is set from here to the end of the scope, whatever way it is left.
class BulkMark {
public:
    explicit BulkMark(lyrics::AssignmentList& list) : m_list(list) { m_list.marks().bulkUpdate = true; }
    ~BulkMark() { m_list.marks().bulkUpdate = false; }
    BulkMark(const BulkMark&) = delete;
    BulkMark& operator=(const BulkMark&) = delete;

private:
    lyrics::AssignmentList& m_list;
};

std::string_view withoutFinalNoSpace(std::string_view text)
{
    if (!text.empty() && text.back() == lyrics::kNoSpace)
        text.remove_suffix(1);
    return text;
}

std::string fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string folderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

} // namespace


// ---- facts ------------------------------------------------------------------------

std::string SongFacts::formatText() const { return std::to_string(format); }
std::string SongFacts::dauerText() const { return core::MsToTimeText(songLengthMs); }
std::string SongFacts::tempoText() const { return std::to_string(shownBpm); }

// ---- construction ----------------------------------------------------------------

Workspace::Workspace(core::TMidiFile& song, std::filesystem::path dataFolder)
    : m_song(song), m_copies(std::move(dataFolder))
{
    lyrics::SaveContext context;
    context.songLengthMs = [this] { return m_facts.songLengthMs; };
    context.msToTicks = [this](std::int32_t ms) { return song::msToTicks(m_tempoList, ms); };
    m_list.setSaveContext(std::move(context));
}

Workspace::~Workspace() = default;

storage::Status Workspace::createList() { return m_list.create(m_copies.folder()); }

double Workspace::achtelOf(std::int32_t ticks) const
{
    return m_facts.ticksPerEighth > 0 ? static_cast<double>(ticks) / m_facts.ticksPerEighth : 0.0;
}

void Workspace::rebuildMelodyNotes()
{
    m_melodyNotes = collectMelodyNotes(m_song, melodyStatusByte(m_settings.melodie), m_settings.gleich);
}

std::optional<Refusal> Workspace::appendImported(const ImportRow& row)
{
    lyrics::Row r;
    r.zeit = row.zeit;
    r.text = row.text;
    r.strzeit = core::MsToTimeText(row.zeit);
    r.gesticks = row.gesticks;
    r.start = row.start;
    r.mehrfach = row.mehrfach;
    r.achtel = achtelOf(row.gesticks);
    auto refusal = m_list.appendRow(r);
    if (refusal)
        m_list.cancel();
    return refusal;
}

void Workspace::takeFreshSnapshot()
{
    m_rowSnapshot.clear();
    m_list.takeSnapshot(m_rowSnapshot, lyrics::SnapshotMode::Other);
}

// The list now holds what the song holds: nothing to write, nothing to undo, and
// the staff must take it again.
void Workspace::listMatchesSong()
{
    lyrics::ListMarks& marks = m_list.marks();
    marks.listChanged = false;
    marks.staffRefresh = true;
    marks.writeUndoEnabled = false;
    m_list.first();
    m_list.notifyMarksChanged();
}

void Workspace::deriveTempoFacts()
{
    m_facts.endTick = endTick(m_song);
    const std::int32_t perEighth = m_facts.ticksPerEighth;
    m_facts.eighthCount = perEighth > 0 && m_facts.endTick > 0 ? (m_facts.endTick + perEighth - 1) / perEighth : 0;
    m_facts.songLengthMs = songLengthMs(m_tempoList, m_facts.endTick);
}

// The lists writing and undo take again from the song: time signatures, the tempo
// list (the list as read at opening stays), end tick, length, format, name.
void Workspace::rebuildFromSong(bool undoMode)
{
    TimeSignatureScan scan = scanTimeSignatures(m_song);
    m_timeSignatures = std::move(scan.list);
    m_facts.timeSignature = scan.last;
    if (!scan.firstShown.empty())
        m_facts.taktart = scan.firstShown;
    m_facts.format = m_song.Format();
    m_facts.trackCount = m_song.TrackCount();
    m_tempoList = buildTempoList(readTempoList(m_song), m_song.Division());
    deriveTempoFacts();
    m_facts.songName = shownSongName(m_song);
    if (undoMode) {
        m_facts.shownBpm = m_tempoList.front().bpm;
        m_facts.bpmOffset = 0;
    }
}

// ---- open ---------------------------------------------------------------------------

CommandResult Workspace::open(Prompter& prompter, SongFileChooser& chooser)
{
    const Prompt guard{MessageId{1, 17}, {}, PromptIcon::Question, PromptButtons::YesNo, Answer::No};
    if (m_list.marks().listChanged) {
        if (prompter.ask(guard) != Answer::Yes)
            return CommandResult::cancelled();
    } else if (m_flags.songUnsaved) {
        Prompt unsaved = guard;
        unsaved.message = MessageId{1, 18};
        if (prompter.ask(unsaved) != Answer::Yes)
            return CommandResult::cancelled();
    }
    const auto chosen = chooser.chooseSongToOpen(m_copies.lastChosenPath().value_or(std::string()));
    if (!chosen)
        return CommandResult::cancelled();
    return openFile(*chosen);
}

CommandResult Workspace::openFile(const std::string& chosen)
{
    if (!m_list.isOpen())
        return CommandResult::failed("the assignment list \"texte\" is not open");
    // The preset of the next open dialog; a failure here costs only that convenience.
    (void)m_copies.rememberChosenPath(chosen);

    BusyScope busy(m_observer, " 5text2", true);
    std::string bytes;
    if (SongStatus s = readFileBytes(chosen, bytes); !s)
        return CommandResult::failed(s.message());

    // The song object reads the file; a refused or unusable file puts the previous
    // song back, so the open song, its working copy and its lists stay as they were.
    std::string previous(m_song.FileBytes());
    const std::string previousName = m_song.FileName();
    auto restorePrevious = [&] {
        m_song.AdoptBytes(std::move(previous));
        m_song.SetFileName(previousName);
    };
    m_song.AdoptBytes(std::move(bytes));
    if (m_song.Format() == 2) {
        restorePrevious();
        return CommandResult::refused(Refusal{MessageId{1, 19}, {}, {}, PromptIcon::Error});
    }
    if (m_song.TrackCount() == 0) {
        restorePrevious();
        return CommandResult::failed(chosen + ": holds no MIDI track");
    }
    if (SongStatus s = writeWorkingFile(m_copies.sylo1(), m_song.FileBytes()); !s) {
        restorePrevious();
        return CommandResult::failed(s.message());
    }
    m_song.SetFileName(m_copies.sylo1().string());

    ViewBracket views(m_list);
    std::optional<Refusal> importRefusal;
    {
        BulkMark bulk(m_list);

        // Facts.
        m_facts = SongFacts{};
        m_facts.path = withMidExtension(chosen);
        m_facts.format = m_song.Format();
        m_facts.trackCount = m_song.TrackCount();
        m_facts.ticksPerQuarter = m_song.Division();
        m_facts.ticksPerEighth = m_facts.ticksPerQuarter / 2;
        m_facts.songName = shownSongName(m_song);

        // Time signatures, tempo lists, length, melody notes.
        TimeSignatureScan scan = scanTimeSignatures(m_song);
        m_timeSignatures = std::move(scan.list);
        m_facts.timeSignature = scan.last;
        m_facts.taktart = scan.firstShown.empty() ? std::string(kNoTimeSignatureText) : scan.firstShown;
        // The tempo table only brings the entries into tick order; a stable sort in
        // memory gives the same order (equal ticks in reading order).
        m_tempoList = buildTempoList(m_song, &m_tempoAsRead);
        m_facts.openingBpm = m_tempoList.front().bpm;
        m_facts.bpmOffset = 0;
        m_facts.firstTempo = m_tempoList.front().tempo;
        m_facts.shownBpm = m_facts.firstTempo > 0 ? roundHalfEven(60000000.0 / m_facts.firstTempo) : 0;
        deriveTempoFacts();
        rebuildMelodyNotes();

        // The lyrics already in the song.
        m_copyrights.clear();
        const std::vector<ImportRow> rows = importSongLyrics(m_song, m_tempoList, &m_copyrights);
        (void)m_list.zap();
        for (const ImportRow& row : rows)
            if (auto refusal = appendImported(row); refusal && !importRefusal)
                importRefusal = std::move(refusal);

        takeFreshSnapshot();
        m_undoSnapshot = m_rowSnapshot;
    }

    // A fresh song.
    m_startTimeMs = 0;
    m_textTrack = -1;
    m_flags.songOpen = true;
    m_flags.lyricsWritten = false;
    m_flags.songUnsaved = false;
    m_flags.continueAllowed = false;
    m_undoHint = kUndoHintAfterOpen;
    listMatchesSong();

    CommandResult result;
    if (m_melodyNotes.empty())
        result.message = Refusal{MessageId{1, 20}, {}, {}, PromptIcon::Warning};
    else if (importRefusal)
        result.message = std::move(importRefusal);
    return result;
}

void Workspace::songNameChanged(std::string name)
{
    if (name.size() > kSongNameMax)
        name.resize(kSongNameMax);
    m_facts.songName = std::move(name);
    lyrics::ListMarks& marks = m_list.marks();
    if (marks.bulkUpdate)
        return;
    marks.listChanged = true;
    marks.writeUndoEnabled = true;
    m_list.notifyMarksChanged();
}

// ---- writing the lyrics into the song ---------------------------------------------------

CommandResult Workspace::writeLyrics() { return writeLyricsImpl(m_settings.copyright); }

CommandResult Workspace::writeLyricsImpl(bool copyrightSetting)
{
    if (!m_flags.songOpen)
        return CommandResult::failed("no song is open");
    auto choice = chooseTextTrack(m_song, m_settings.textspur);
    if (auto* refusal = std::get_if<Refusal>(&choice))
        return CommandResult::refused(std::move(*refusal));
    const std::int32_t textTrack = std::get<std::int32_t>(choice);

    BusyScope busy(m_observer, " 5text1", true);
    ViewBracket views(m_list);

    // The rows before any notice is put back: START and MEHRFACH come back from it.
    m_list.takeSnapshot(m_rowSnapshot, lyrics::SnapshotMode::Other);
    const lyrics::RowSnapshot before = m_rowSnapshot;

    // Copyright notices the user deleted come back, each followed by a line break.
    std::optional<Refusal> noticeRefusal;
    std::unordered_set<std::uint32_t> noticeRecs;
    if (copyrightSetting) {
        for (const CopyrightEntry& entry : m_copyrights) {
            const std::string_view wanted = trimTrailingBlanks(entry.text);
            bool present = false;
            for (int i = 0; i < m_list.rowCount() && !present; ++i)
                present = withoutFinalNoSpace(m_list.row(i).text) == wanted;
            if (present)
                continue;
            for (const std::string_view text : {std::string_view(entry.text), lyrics::kLineBreakText}) {
                lyrics::Row row;
                row.zeit = entry.ms;
                row.text = std::string(text);
                row.strzeit = core::MsToTimeText(entry.ms);
                row.gesticks = song::msToTicks(m_tempoList, entry.ms);
                row.mehrfach = 1;
                if (auto refusal = m_list.appendRow(row)) {
                    m_list.cancel();
                    if (!noticeRefusal)
                        noticeRefusal = std::move(refusal);
                    break;
                }
                noticeRecs.insert(m_list.row(m_list.currentPosition()).recNo);
            }
        }
    }
    const std::size_t added = noticeRecs.size();

    // Write lists: every row in list order goes into the text track.
    const std::vector<lyrics::Row> rows = m_list.rows();
    std::vector<RowToWrite> toWrite;
    toWrite.reserve(rows.size());
    for (const lyrics::Row& r : rows)
        toWrite.push_back({r.gesticks, r.text});
    bool noticesFirst = true;
    for (std::size_t i = 0; i < added && noticesFirst; ++i)
        noticesFirst = i < rows.size() && noticeRecs.count(rows[i].recNo) != 0;
    const std::vector<WriteList> lists = buildLyricWriteLists(m_song, textTrack, toWrite);

    // What each written lyric carries, for matching when the notices are not first.
    struct Written {
        std::int32_t ticks;
        std::string_view text;
        std::int32_t start;
        std::int32_t mehrfach;
    };
    std::vector<Written> written;
    if (!noticesFirst) {
        const WriteList& textList = lists[static_cast<std::size_t>(textTrack)];
        written.reserve(textList.lyricCount());
        for (const WriteItem& item : textList.items()) {
            if (!item.isLyric())
                continue;
            const auto n = static_cast<std::size_t>(item.lyricNumber());
            written.push_back({item.ticks, textList.lyric(item.lyricNumber()), rows[n].start, rows[n].mehrfach});
        }
    }

    SongWriteOptions options;
    options.runningStatus = m_settings.runEvents;
    if (m_song.Format() == 0)
        options.trackName = m_facts.songName;
    std::string bytes;
    if (SongStatus s = writeSong(m_song, lists, m_tempoList, m_timeSignatures, options, bytes); !s)
        return CommandResult::failed(s.message());
    if (SongStatus s = writeWorkingFile(m_copies.sylo2(), bytes); !s)
        return CommandResult::failed(s.message());

    // The tempo values written already hold any tempo change.
    m_facts.bpmOffset = 0;

    // The new song becomes the working copy and is read back.
    const std::string previous(m_song.FileBytes());
    if (SongStatus s = m_copies.rotate(); !s)
        return CommandResult::failed(s.message());
    m_song.SetFileName(m_copies.sylo1().string());
    if (!m_song.ReadFile()) {
        std::error_code ec;
        std::filesystem::rename(m_copies.sylo3(), m_copies.sylo1(), ec);
        m_song.AdoptBytes(std::string(previous));
        return CommandResult::failed(m_copies.sylo1().string() + ": cannot be read back after writing");
    }

    BulkMark bulk(m_list);
    rebuildFromSong(false);

    // The list is what the text track now holds.
    std::optional<Refusal> importRefusal;
    (void)m_list.zap();
    if (const core::TMidiTrack* track = m_song.GetTrack(textTrack)) {
        std::vector<ImportedLyric> pieces;
        std::size_t n = 0;
        std::size_t cursor = 0;
        for (const core::TMidiEvent& ev : track->Events) {
            if (!ev.isMeta(kMetaLyric))
                continue;
            const std::string_view text = core::EventText(ev);
            std::int32_t start = 0;
            std::int32_t mehrfach = 1;
            if (noticesFirst) {
                if (n >= added && n - added < before.size()) {
                    start = before[n - added].start;
                    mehrfach = before[n - added].mehrfach;
                }
            } else {
                for (std::size_t j = cursor; j < written.size(); ++j) {
                    if (written[j].ticks == ev.Ticks && written[j].text == text) {
                        start = written[j].start;
                        mehrfach = written[j].mehrfach;
                        cursor = j + 1;
                        break;
                    }
                }
            }
            ++n;
            pieces.clear();
            importLyricText(text, false, pieces);
            const std::int32_t ms = ticksToMs(m_tempoList, ev.Ticks);
            for (std::size_t p = 0; p < pieces.size(); ++p) {
                // A line break split off the front of a text is a row of its own.
                const bool splitBreak = pieces.size() > 1 && p == 0;
                const ImportRow row{ms, std::move(pieces[p].text), ev.Ticks, splitBreak ? 0 : start,
                                    splitBreak ? 1 : mehrfach};
                if (auto refusal = appendImported(row); refusal && !importRefusal)
                    importRefusal = std::move(refusal);
            }
        }
    }

    takeFreshSnapshot();
    m_undoSnapshot = m_rowSnapshot;

    m_textTrack = textTrack;
    m_flags.songOpen = true;
    m_flags.lyricsWritten = true;
    m_flags.songUnsaved = true;
    m_undoHint = kUndoHintAfterWrite;
    listMatchesSong();

    CommandResult result;
    result.message = noticeRefusal ? std::move(noticeRefusal) : std::move(importRefusal);
    return result;
}

// ---- undo and close ----------------------------------------------------------------

CommandResult Workspace::undo(Prompter& prompter)
{
    if (!m_flags.songOpen)
        return CommandResult::failed("no song is open");
    const Prompt question{m_flags.lyricsWritten ? MessageId{1, 50} : MessageId{1, 49}, {}, PromptIcon::Question,
                          PromptButtons::YesNo, Answer::Yes};
    if (prompter.ask(question) != Answer::Yes)
        return CommandResult::cancelled();

    BusyScope busy(m_observer, " 5text4", false);
    ViewBracket views(m_list);
    std::optional<Refusal> refusal;
    {
        BulkMark bulk(m_list);
        rebuildFromSong(true);
        (void)m_list.zap();
        for (const lyrics::TLyrics& entry : m_undoSnapshot) {
            lyrics::Row r;
            r.zeit = entry.zeit;
            r.strzeit = entry.strzeit;
            r.text = entry.text;
            r.gesticks = entry.gesticks;
            r.achtel = achtelOf(entry.gesticks);
            r.start = entry.start;
            r.mehrfach = entry.mehrfach;
            if (auto rejected = m_list.appendRow(r)) {
                m_list.cancel();
                if (!refusal)
                    refusal = std::move(rejected);
            }
        }
        // The same rows as the undo snapshot, with the record numbers they have now.
        takeFreshSnapshot();
    }

    m_startTimeMs = 0;
    m_flags.continueAllowed = false;
    m_flags.songOpen = true;
    m_flags.lyricsWritten = false;
    listMatchesSong();
    CommandResult result;
    result.message = std::move(refusal);
    return result;
}

CommandResult Workspace::close(Prompter& prompter)
{
    Prompt question{MessageId{1, 54}, {}, PromptIcon::Question, PromptButtons::YesNo, Answer::No};
    if (m_list.marks().listChanged && prompter.ask(question) != Answer::Yes)
        return CommandResult::cancelled();
    question.message = MessageId{1, 55};
    if (m_flags.songUnsaved && prompter.ask(question) != Answer::Yes)
        return CommandResult::cancelled();

    {
        ViewBracket views(m_list);
        (void)m_list.zap();
    }
    m_flags.songOpen = false;
    m_flags.songUnsaved = false;
    m_flags.continueAllowed = false;
    lyrics::ListMarks& marks = m_list.marks();
    marks.listChanged = false;
    marks.staffRefresh = false;
    marks.writeUndoEnabled = false;
    m_list.notifyMarksChanged();

    CommandResult result;
    if (SongStatus s = m_copies.removeAll(); !s) {
        result.outcome = Outcome::Failed;
        result.error = s.message();
    }
    return result;
}

// ---- tempo --------------------------------------------------------------------------------

std::optional<Refusal> Workspace::rescaleRows(std::int32_t d, const std::vector<std::int32_t>& newStarts,
                                              const TempoList& oldList)
{
    std::optional<Refusal> refusal;
    ViewBracket views(m_list);
    BulkMark bulk(m_list);
    // Record order while the times change, so every row is visited once.
    (void)m_list.setIndexActive(false);
    for (int pos = 0; pos < m_list.rowCount(); ++pos) {
        if (!m_list.setCurrentPosition(pos))
            break;
        const std::int32_t zeit = rescaledTime(oldList, newStarts, m_list.row(pos).zeit, d);
        m_list.setZeit(zeit);
        m_list.setStrzeit(core::MsToTimeText(zeit));
        if (auto rejected = m_list.post()) {
            m_list.cancel();
            refusal = std::move(rejected);
            break;
        }
    }
    (void)m_list.setIndexActive(true);
    m_list.first();
    return refusal;
}

CommandResult Workspace::changeTempo(std::int32_t newBpm)
{
    if (!m_flags.songOpen)
        return CommandResult::failed("no song is open");
    const bool several = m_tempoList.size() != 1;
    const Refusal invalid{several ? MessageId{11, 1} : MessageId{3, 1}, {}, "NewTempo", PromptIcon::Error};
    if (newBpm < kMinTempo || newBpm > kMaxTempo)
        return CommandResult::refused(invalid);
    const std::int32_t old = m_facts.shownBpm;
    const std::int32_t d = newBpm - old;
    // Every later tempo moves by the same amount and must stay a tempo.
    if (!tempoShiftPossible(m_tempoList, d))
        return CommandResult::refused(invalid);

    m_facts.shownBpm = newBpm;
    m_facts.bpmOffset = newBpm - m_facts.openingBpm;
    if (d == 0)
        return {Outcome::Unchanged, std::nullopt, {}};

    m_flags.continueAllowed = false;
    {
        BusyScope busy(m_observer, " 5text3", false);
        const TempoList oldList = m_tempoList;
        const std::vector<std::int32_t> newStarts = rescaledStartMs(oldList, d);
        if (auto refusal = rescaleRows(d, newStarts, oldList))
            return CommandResult::refused(std::move(*refusal));
        applyTempoShift(m_tempoList, newStarts, d, m_facts.ticksPerQuarter);
        m_facts.songLengthMs = rescaledSongLength(m_tempoList, m_facts.endTick);
    }
    CommandResult result = writeLyricsImpl(false);
    m_list.marks().writeUndoEnabled = false;
    m_list.notifyMarksChanged();
    return result;
}

// ---- save ------------------------------------------------------------------------------------

CommandResult Workspace::restoreOpeningTempo()
{
    const std::int32_t opening = m_facts.openingBpm;
    m_song.SetBpm(static_cast<std::uint32_t>(std::max(opening, 0)));
    const std::int32_t d = opening - m_facts.shownBpm;
    m_facts.shownBpm = opening;
    m_facts.bpmOffset = 0;
    m_flags.continueAllowed = false;

    BusyScope busy(m_observer, " 5text5", false);
    if (tempoShiftPossible(m_tempoList, d)) {
        const TempoList oldList = m_tempoList;
        const std::vector<std::int32_t> newStarts = rescaledStartMs(oldList, d);
        if (auto refusal = rescaleRows(d, newStarts, oldList))
            return CommandResult::refused(std::move(*refusal));
        applyTempoShift(m_tempoList, newStarts, d, m_facts.ticksPerQuarter);
        m_facts.songLengthMs = rescaledSongLength(m_tempoList, m_facts.endTick);
    }

    // The working copy gets the tempo bytes it had when the song was opened.
    std::string patched;
    if (SongStatus s = patchTempoBytes(m_song, m_tempoAsRead, patched); !s)
        return CommandResult::failed(s.message());
    if (SongStatus s = writeWorkingFile(m_copies.sylo1(), patched); !s)
        return CommandResult::failed(s.message());
    m_song.SetFileName(m_copies.sylo1().string());
    if (!m_song.ReadFile())
        m_song.AdoptBytes(std::move(patched));

    m_list.marks().listChanged = false;
    m_list.notifyMarksChanged();
    return {};
}

CommandResult Workspace::save(Prompter& prompter, SongFileChooser& chooser, std::string_view copyCaption)
{
    if (!m_flags.songOpen)
        return CommandResult::refused(Refusal{MessageId{1, 56}, {}, {}, PromptIcon::Information});

    if (m_list.marks().listChanged) {
        const Prompt question{MessageId{1, 57}, {}, PromptIcon::Question, PromptButtons::YesNo, Answer::Yes};
        if (prompter.ask(question) != Answer::Yes)
            return CommandResult::cancelled();
        CommandResult written = writeLyrics();
        if (!written.done())
            return written;
    }

    if (m_facts.openingBpm != m_facts.shownBpm) {
        std::string append(1, ' ');
        append += std::to_string(m_facts.openingBpm);
        append += " (";
        append += std::to_string(m_facts.shownBpm);
        append += ')';
        const Prompt question{MessageId{1, 59}, append, PromptIcon::Question, PromptButtons::YesNo, Answer::Yes};
        if (prompter.ask(question) == Answer::Yes) {
            CommandResult restored = restoreOpeningTempo();
            if (!restored.done())
                return restored;
        }
    }

    const std::string proposed = std::string(copyCaption) + fileNameOf(m_facts.path);
    const auto chosen = chooser.chooseSaveName(folderOf(m_facts.path), proposed);
    if (!chosen)
        return CommandResult::cancelled();
    const std::string target = withMidExtension(*chosen);
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) {
        const Prompt question{MessageId{1, 60}, {}, PromptIcon::Warning, PromptButtons::YesNo, Answer::No};
        if (prompter.ask(question) != Answer::Yes)
            return CommandResult::cancelled();
    }

    // The user's file is replaced only by a complete copy.
    std::string bytes;
    if (SongStatus s = readFileBytes(m_copies.sylo1(), bytes); !s)
        return CommandResult::failed(s.message());
    if (SongStatus s = writeFileAtomically(target, bytes); !s)
        return CommandResult::failed(s.message());
    m_facts.path = target;
    m_flags.songUnsaved = false;
    return {};
}

} // namespace versilla::song
