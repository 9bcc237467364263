// versilla-cli assign SONG LYRICS -o OUT [--melody N] [--text-channel N] [--gleich]
//                    [--intro-lines K] [--hyphenate de|en] [--encoding cp1252|utf-8]
// The automatic assignment without a window: opens SONG, takes the lyric text
// of LYRICS, optionally splits it into syllables, gives every syllable the time of
// the next note of the melody channel, writes the lyrics into the song as
// "Eintragen" does and saves the result as OUT (replaced atomically).
#include "Command.h"
#include "SongSession.h"

#include "lyrics/AssignmentText.h"
#include "lyrics/Marks.h"
#include "song/AutoAssign.h"
#include "song/LyricTextFile.h"
#include "song/SongWriter.h"
#include "song/WorkingCopies.h"
#include "text/CodePage1252.h"
#include "text/LineEnds.h"
#include "text/Hyphenation.h"
#include "text/TQuillonHyphenator.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace versilla::cli {
namespace {

constexpr const char* kName = "assign";

constexpr const char* kHelp =
    "usage: versilla-cli assign SONG LYRICS -o OUT [--melody N] [--text-channel N] [--gleich]\n"
    "                           [--intro-lines K] [--hyphenate de|en] [--encoding cp1252|utf-8]\n"
    "\n"
    "Gives every syllable of the lyric text LYRICS the time of one note of the\n"
    "melody channel, in order, writes the syllables into SONG as lyric events and\n"
    "saves the result as OUT (SONG itself is never changed).\n"
    "\n"
    "  --melody N         melody channel 1..16 (default 1)\n"
    "  --text-channel N   the lyrics go to the first track with a note-on of channel N\n"
    "                     (default: the melody channel)\n"
    "  --gleich           notes starting at the same tick as the previous note take\n"
    "                     a syllable too (default: they are skipped)\n"
    "  --intro-lines K    the first K lines (title, artist ...) are not sung: their\n"
    "                     words are placed at one quarter note and they are never\n"
    "                     hyphenated (default 0)\n"
    "  --hyphenate de|en  split the words into syllables with German or English\n"
    "                     rules first; without it the text's own \"-\" marks count\n"
    "  --encoding E       LYRICS is Windows-1252 (cp1252, the default, as the\n"
    "                     editor's text files) or UTF-8 (utf-8; a leading byte order\n"
    "                     mark is ignored)\n"
    "\n"
    "Lines may end in CR LF or a bare LF (a bare LF is read as CR LF).\n"
    "Prints one JSON line: {\"rows\":R,\"notesWithoutSyllable\":E,\"syllablesLeft\":S}\n"
    "R rows were written (syllables, line breaks and intro words), E melody notes\n"
    "found no syllable, S syllables were left over when the notes ran out.\n"
    "\n"
    "Exit status: 0 done; 1 refused or failed (no notes on the melody channel, an\n"
    "empty line in the text, a row the save rules refuse, a character outside\n"
    "Windows-1252, a file error) with the reason on standard error and OUT not\n"
    "written; 2 wrong command line.\n";

int fail(const std::string& message)
{
    std::fprintf(stderr, "versilla-cli %s: %s\n", kName, message.c_str());
    return 1;
}

bool parseInt(const std::string& text, int lo, int hi, std::int32_t& out)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end && out >= lo && out <= hi;
}

// Byte length of the first `lines` lines of a CR LF text, without the last one's
// line end; the whole text when it has fewer line ends.
std::size_t lengthOfLines(std::string_view text, int lines)
{
    std::size_t pos = 0;
    for (int n = 0; n < lines; ++n) {
        const std::size_t cr = text.find('\r', pos);
        if (cr == std::string_view::npos)
            return text.size();
        if (n + 1 == lines)
            return cr;
        pos = cr + 1;
    }
    return 0;
}

// Answers 1/74 with Yes; remembers the message that stopped the run.
class CliPrompter : public Prompter {
public:
    Answer ask(const Prompt& prompt) override
    {
        if (prompt.buttons == PromptButtons::YesNo)
            return Answer::Yes;
        if (!(prompt.message == MessageId{1, 77}))
            stop = prompt;
        return Answer::Ok;
    }
    std::optional<Prompt> stop;
};

int assignCommand(const std::vector<std::string>& args)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    std::vector<std::string> paths;
    std::string out;
    song::WorkspaceSettings settings;
    settings.melodie = 1;
    std::int32_t textChannel = 0;
    std::int32_t introLines = 0;
    std::optional<text::HyphenLanguage> hyphenate;
    bool utf8 = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-o") {
            if (!hasValue)
                return usageError(kName, "-o takes the output file");
            out = args[++i];
        } else if (arg == "--melody") {
            if (!hasValue || !parseInt(args[i + 1], 1, 16, settings.melodie))
                return usageError(kName, "--melody takes a channel from 1 to 16");
            ++i;
        } else if (arg == "--text-channel") {
            if (!hasValue || !parseInt(args[i + 1], 1, 16, textChannel))
                return usageError(kName, "--text-channel takes a channel from 1 to 16");
            ++i;
        } else if (arg == "--gleich") {
            settings.gleich = true;
        } else if (arg == "--intro-lines") {
            if (!hasValue || !parseInt(args[i + 1], 0, 1000000, introLines))
                return usageError(kName, "--intro-lines takes a number of lines (0 or more)");
            ++i;
        } else if (arg == "--hyphenate") {
            if (hasValue && args[i + 1] == "de")
                hyphenate = text::HyphenLanguage::German;
            else if (hasValue && args[i + 1] == "en")
                hyphenate = text::HyphenLanguage::English;
            else
                return usageError(kName, "--hyphenate takes de or en");
            ++i;
        } else if (arg == "--encoding") {
            if (hasValue && args[i + 1] == "cp1252")
                utf8 = false;
            else if (hasValue && args[i + 1] == "utf-8")
                utf8 = true;
            else
                return usageError(kName, "--encoding takes cp1252 or utf-8");
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(kName, "unknown option '" + arg + "'");
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2 || out.empty())
        return usageError(kName, "expected SONG, LYRICS and -o OUT");
    settings.textspur = textChannel != 0 ? textChannel : settings.melodie;

    // The lyric text as the editor would hold it.
    const song::LyricTextLoad load = song::loadLyricText(paths[1]);
    if (!load.status)
        return fail(load.status.message());
    std::string lyricText = load.text;
    if (utf8) {
        std::string_view input(lyricText);
        if (input.substr(0, 3) == "\xEF\xBB\xBF")
            input.remove_prefix(3);
        const text::Cp1252Result converted = text::utf8ToCp1252(input);
        if (!converted.ok) {
            char where[96];
            if (converted.offending == 0)
                std::snprintf(where, sizeof where, "invalid UTF-8 at byte %zu", converted.offendingAt);
            else
                std::snprintf(where, sizeof where, "the character U+%04X at byte %zu has no Windows-1252 byte",
                              static_cast<unsigned>(converted.offending), converted.offendingAt);
            return fail(paths[1] + ": " + where);
        }
        lyricText = converted.bytes;
    }
    lyricText = text::bareLfToCrLf(lyricText);
    if (hyphenate) {
        const text::TQuillonHyphenator hyphenator;
        lyricText = text::hyphenateText(lyricText, lengthOfLines(lyricText, introLines), *hyphenate, hyphenator);
    }

    // The assignment text, with the intro lines selected from its beginning.
    const std::string assignmentText = lyrics::buildAssignmentText(lyricText);
    int selLength = 0;
    if (introLines > 0) {
        std::size_t pos = 0;
        for (int n = 0; n < introLines; ++n) {
            const std::size_t mark = assignmentText.find(lyrics::kLineBreak, pos);
            if (mark == std::string::npos)
                return fail(paths[1] + ": --intro-lines " + std::to_string(introLines) +
                            ": the text has fewer lines after the intro");
            pos = mark + 2; // the mark and its line feed
        }
        selLength = static_cast<int>(std::min(pos, assignmentText.size()));
    }

    std::string error;
    auto session = SongSession::create(error);
    if (!session)
        return fail(error);
    song::Workspace& ws = session->workspace();
    ws.setSettings(settings);
    const song::CommandResult opened = ws.openFile(paths[0]);
    if (opened.outcome == song::Outcome::Failed)
        return fail(opened.error);
    if (opened.outcome == song::Outcome::Refused)
        return fail(paths[0] + ": " + messageText(opened.message->message, opened.message->appendText));

    CliPrompter prompter;
    song::AutoAssignInput input;
    input.text = assignmentText;
    input.selStart = 0;
    input.selLength = selLength;
    const song::AutoAssignResult run = song::autoAssign(ws, input, prompter);
    switch (run.outcome) {
    case song::AutoAssignOutcome::Done:
        break;
    case song::AutoAssignOutcome::Stopped:
        if (prompter.stop)
            return fail(messageText(prompter.stop->message, prompter.stop->appendText));
        return fail("the assignment stopped");
    case song::AutoAssignOutcome::Refused:
        return fail(messageText(run.refusal->message, run.refusal->appendText));
    case song::AutoAssignOutcome::Failed:
        return fail(run.error);
    }
    const int rows = static_cast<int>(ws.list().rows().size());
    const int left = lyrics::countSyllablesLeft(assignmentText, run.nextPosition);

    const song::CommandResult written = ws.writeLyrics();
    if (written.outcome == song::Outcome::Failed)
        return fail(written.error);
    if (written.outcome == song::Outcome::Refused)
        return fail(messageText(written.message->message, written.message->appendText));

    std::string bytes;
    if (song::SongStatus s = song::readFileBytes(ws.workingCopies().sylo1(), bytes); !s)
        return fail(s.message());
    if (song::SongStatus s = song::writeFileAtomically(out, bytes); !s)
        return fail(s.message());
    std::printf("{\"rows\":%d,\"notesWithoutSyllable\":%d,\"syllablesLeft\":%d}\n", rows, run.emptySyllables, left);
    return 0;
}

const Command reg(kName,
                  "SONG LYRICS -o OUT [--melody N] [--text-channel N] [--gleich] [--intro-lines K] "
                  "[--hyphenate de|en] [--encoding cp1252|utf-8]   (--help for details)",
                  &assignCommand);

} // namespace
} // namespace versilla::cli
