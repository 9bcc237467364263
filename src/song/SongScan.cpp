#include "song/SongScan.h"

#include "core/TMidiFile.h"

#include <array>
#include <cctype>

namespace versilla::song {

namespace {

// Staff positions of notes 48..91; the sharp notes share the position below.
struct PitchRow {
    std::int8_t position;
    bool sharp;
};
constexpr std::array<PitchRow, 44> kPitchTable{{
    {104, false}, {104, true}, {100, false}, {100, true}, {96, false}, {92, false}, // 48-53
    {92, true},   {88, false}, {88, true},   {84, false}, {80, true},  {76, false}, // 54-59
    {72, false},  {72, true},  {68, false},  {68, true},  {64, false}, {60, false}, // 60-65
    {60, true},   {56, false}, {56, true},   {52, false}, {52, true},  {48, false}, // 66-71
    {44, false},  {44, true},  {40, false},  {40, true},  {36, false}, {32, false}, // 72-77
    {32, true},   {28, false}, {28, true},   {24, false}, {24, true},  {20, false}, // 78-83
    {16, false},  {16, true},  {12, false},  {12, true},  {8, false},  {4, false},  // 84-89
    {4, true},    {0, false},                                                      // 90-91
}};

constexpr std::uint8_t kMetaTimeSignature = 0x58;

} // namespace

StaffPitch pitchOf(std::int32_t note)
{
    if (note < 48 || note > 91)
        return {0, false};
    const PitchRow& row = kPitchTable[static_cast<std::size_t>(note - 48)];
    return {row.position, row.sharp};
}

std::optional<std::uint8_t> melodyStatusByte(std::int32_t melodie)
{
    if (melodie < 1 || melodie > 16)
        return std::nullopt;
    return static_cast<std::uint8_t>(0x90 + melodie - 1);
}

MelodyNoteList collectMelodyNotes(const core::TMidiFile& song, std::optional<std::uint8_t> status, bool gleich)
{
    MelodyNoteList notes;
    if (!status)
        return notes;
    std::int32_t previousTick = 0;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (const core::TMidiEvent& ev : track->Events) {
            if (ev.Status != *status || ev.Data2 == 0)
                continue;
            if (ev.Ticks == previousTick && !gleich)
                continue;
            const StaffPitch pitch = pitchOf(ev.Data1);
            notes.push_back({ev.Ticks, ev.Data1, pitch.position, pitch.sharp});
            previousTick = ev.Ticks;
        }
    }
    return notes;
}

std::string timeSignatureText(const TimeSignature& ts)
{
    return std::to_string(ts.numerator) + "/" + std::to_string(ts.denominator);
}

TimeSignatureScan scanTimeSignatures(const core::TMidiFile& song)
{
    TimeSignatureScan scan;
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const core::TMidiTrack* track = song.GetTrack(t);
        if (!track)
            continue;
        for (const core::TMidiEvent& ev : track->Events) {
            if (!ev.isMeta(kMetaTimeSignature))
                continue;
            scan.list.emplace_back(ev.Data);
            applyTimeSignature(ev.Data, scan.last);
            if (scan.list.size() == 1)
                scan.firstShown = timeSignatureText(scan.last);
        }
    }
    return scan;
}

std::string withMidExtension(std::string path)
{
    std::string upper = path;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.find(".MID") == std::string::npos)
        path += ".mid";
    return path;
}

std::string shownSongName(const core::TMidiFile& song)
{
    if (song.Format() == 0) {
        const core::TMidiTrack* track = song.GetTrack(0);
        return track ? track->GetName() : std::string();
    }
    return kNoNameText;
}

} // namespace versilla::song
