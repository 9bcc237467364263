#include "song/AutoAssign.h"

#include "core/TMidiFile.h"
#include "core/TimeText.h"
#include "lyrics/AssignmentList.h"
#include "lyrics/Marks.h"
#include "song/SongScan.h"
#include "song/TempoList.h"
#include "song/Workspace.h"

#include <algorithm>

namespace versilla::song {

namespace {

Prompt information(MessageId id, std::string append = {})
{
    Prompt p;
    p.message = id;
    p.appendText = std::move(append);
    p.icon = PromptIcon::Information;
    p.buttons = PromptButtons::Ok;
    p.defaultAnswer = Answer::Ok;
    return p;
}

bool isNoteOn(const core::TMidiEvent& ev) { return ev.Status >= 0x90 && ev.Status <= 0x9F; }

int channelOf(const core::TMidiEvent& ev) { return (ev.Status & 0x0F) + 1; }

lyrics::Row rowAt(std::int32_t ms, std::string text, std::int32_t ticks, std::int32_t start)
{
    lyrics::Row row;
    row.zeit = ms;
    row.text = std::move(text);
    row.strzeit = core::MsToTimeText(ms);
    row.gesticks = ticks;
    row.start = start;
    row.mehrfach = 1;
    return row;
}

// Keeps the views to one reset for the whole run and the save rules in force
// (the bulk-update mark off), whatever way the run ends.
class RunBracket {
public:
    explicit RunBracket(lyrics::AssignmentList& list) : m_list(list), m_bulkMark(list.marks().bulkUpdate)
    {
        m_list.marks().bulkUpdate = false;
        m_list.beginBulk();
    }
    ~RunBracket()
    {
        m_list.endBulk();
        m_list.marks().bulkUpdate = m_bulkMark;
    }
    RunBracket(const RunBracket&) = delete;
    RunBracket& operator=(const RunBracket&) = delete;

private:
    lyrics::AssignmentList& m_list;
    bool m_bulkMark;
};

} // namespace

std::optional<Refusal> writeSyllableRows(lyrics::AssignmentList& list, const lyrics::SyllableStep& step,
                                         std::int32_t ms, std::optional<std::int32_t> ticks, std::int32_t start,
                                         bool* wroteSyllableRow)
{
    if (wroteSyllableRow)
        *wroteSyllableRow = false;
    if (!lyrics::writesAnyRow(step))
        return std::nullopt;
    const std::int32_t g = ticks.value_or(0); // without ticks the save computes them from ZEIT
    if (lyrics::writesSyllableRow(step)) {
        if (auto refusal = list.appendRow(rowAt(ms, lyrics::syllableRowText(step), g, start)))
            return refusal;
        if (wroteSyllableRow)
            *wroteSyllableRow = true;
    }
    if (step.lineBreak) {
        if (auto refusal = list.appendRow(rowAt(ms, std::string(lyrics::kLineBreakText), g, 0)))
            return refusal;
    }
    return std::nullopt;
}

std::string noteChannelList(const core::TMidiFile& song)
{
    std::string list;
    const std::int32_t tracks = song.TrackCount();
    if (tracks > 1) {
        for (std::int32_t t = 0; t < tracks; ++t) {
            const core::TMidiTrack* track = song.GetTrack(t);
            if (!track)
                continue;
            for (const core::TMidiEvent& ev : track->Events) {
                if (isNoteOn(ev)) {
                    list += std::to_string(channelOf(ev)) + " ";
                    break;
                }
            }
        }
    } else if (const core::TMidiTrack* track = song.GetTrack(0)) {
        std::vector<int> seen;
        for (const core::TMidiEvent& ev : track->Events) {
            if (isNoteOn(ev) && std::find(seen.begin(), seen.end(), channelOf(ev)) == seen.end()) {
                seen.push_back(channelOf(ev));
                list += std::to_string(channelOf(ev)) + " ";
            }
        }
    }
    return list;
}

std::int32_t findMelodyTrack(const core::TMidiFile& song, std::uint8_t status)
{
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (const core::TMidiEvent& ev : track->Events)
            if (ev.Status == status)
                return t;
    }
    return -1;
}

AutoAssignResult autoAssign(Workspace& workspace, const AutoAssignInput& input, Prompter& prompter)
{
    AutoAssignResult result;
    result.nextPosition = input.nextPosition;
    result.selStart = input.selStart;
    result.selLength = input.selLength;
    const std::string_view text = input.text;
    const core::TMidiFile& song = workspace.song();

    if (lyrics::hasEmptyLine(text)) {
        prompter.ask(information(MessageId{1, 72}));
        return result;
    }

    // A blank "MELODIE" names no channel, so no track can hold its notes.
    const std::optional<std::uint8_t> status = melodyStatusByte(workspace.settings().melodie);
    const std::int32_t melodyTrack = status ? findMelodyTrack(song, *status) : -1;
    if (melodyTrack < 0) {
        prompter.ask(information(MessageId{1, 73}, " " + noteChannelList(song)));
        return result;
    }

    Prompt question;
    question.message = MessageId{1, 74};
    question.icon = PromptIcon::Question;
    question.buttons = PromptButtons::YesNo;
    question.defaultAnswer = Answer::Yes;
    if (prompter.ask(question) != Answer::Yes) {
        result.outcome = AutoAssignOutcome::Stopped;
        return result;
    }

    if (input.selLength > 0 && input.selStart != 0) {
        prompter.ask(information(MessageId{1, 75}));
        return result;
    }

    lyrics::AssignmentList& list = workspace.list();
    std::optional<RunBracket> bracket(std::in_place, list);
    if (auto st = list.zap(); !st) {
        result.outcome = AutoAssignOutcome::Failed;
        result.error = st.message();
        return result;
    }

    // The intro: its words at one quarter note, never sung.
    const std::int32_t division = song.Division();
    const std::int32_t t0 = ticksToMs(workspace.tempoList(), division);
    int position = 0;
    std::optional<Refusal> refusal;
    if (input.selLength > 0) {
        const std::size_t end = std::min(text.size(), static_cast<std::size_t>(input.selLength));
        std::string word;
        for (std::size_t k = 0; k < end && !refusal; ++k) {
            const char c = text[k];
            if (c == '\n')
                continue;
            if (c == ' ') {
                refusal = list.appendRow(rowAt(t0, word, division, 0));
                word.clear();
            } else if (c == lyrics::kLineBreak) {
                refusal = list.appendRow(rowAt(t0, word, division, 0));
                if (!refusal)
                    refusal = list.appendRow(rowAt(t0, std::string(lyrics::kLineBreakText), division, 0));
                word.clear();
            } else {
                word += c; // a word the selection cuts off is not written
            }
        }
        position = static_cast<int>(end);
        if (end > 0 && text[end - 1] == lyrics::kLineBreak)
            ++position; // its line feed belongs to the intro too
    }
    result.nextPosition = position;

    // One syllable per melody note.
    MelodyNoteList notes;
    std::int32_t previousTick = 0;
    bool firstRow = true;
    const bool gleich = workspace.settings().gleich;
    const core::TMidiTrack* track = song.GetTrack(melodyTrack);
    for (const core::TMidiEvent& ev : track->Events) {
        if (ev.Status != *status || ev.Data2 == 0 || (ev.Ticks == previousTick && !gleich))
            continue;
        previousTick = ev.Ticks;
        const StaffPitch pitch = pitchOf(ev.Data1);
        notes.push_back(MelodyNote{ev.Ticks, ev.Data1, pitch.position, pitch.sharp});
        if (refusal)
            continue; // the run has ended; the note list is completed all the same
        ++result.notesTaken;
        const std::int32_t t = ticksToMs(workspace.tempoList(), ev.Ticks);
        const lyrics::SyllableStep step = lyrics::syllableStep(text, position);
        position = step.nextPosition;
        result.nextPosition = position;
        result.selStart = step.selStart;
        result.selLength = step.selLength;
        if (step.text.empty()) {
            ++result.emptySyllables;
            continue;
        }
        bool wroteSyllable = false;
        refusal = writeSyllableRows(list, step, t, ev.Ticks, firstRow ? 1 : 0, &wroteSyllable);
        if (wroteSyllable)
            firstRow = false;
    }
    workspace.setMelodyNotes(std::move(notes));
    bracket.reset(); // the views catch up before the window moves on

    if (refusal) {
        result.outcome = AutoAssignOutcome::Refused;
        result.refusal = std::move(refusal);
        return result;
    }
    result.outcome = AutoAssignOutcome::Done;
    result.showStaffTab = true;
    if (input.beforeReport)
        input.beforeReport();
    prompter.ask(information(MessageId{1, 77}, " " + std::to_string(result.emptySyllables)));
    return result;
}

} // namespace versilla::song
