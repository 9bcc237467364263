// versilla-cli write SONG ROWS.json -o OUT [--text-channel N] [--running-status] [--copyright]
// Opens SONG, replaces the assignment list by the rows of ROWS.json (the "rows"
// of `versilla-cli lyrics`, or a bare array of them: "zeit" and "text"
// required, "start" and "mehrfach" optional; text in UTF-8), saves each row
// through the save rules, writes them into the song as "Eintragen" does and
// saves the result as OUT (replaced atomically). The text channel defaults to 1.
// A row the save rules refuse: its message on standard error, exit 1, nothing written.
#include "Command.h"
#include "Json.h"
#include "SongSession.h"

#include "song/SongWriter.h"
#include "song/WorkingCopies.h"
#include "text/CodePage1252.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <string>

namespace versilla::cli {
namespace {

constexpr const char* kName = "write";

int fail(const std::string& message)
{
    std::fprintf(stderr, "versilla-cli %s: %s\n", kName, message.c_str());
    return 1;
}

bool parseChannel(const std::string& text, std::int32_t& out)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end && out >= 1 && out <= 16;
}

bool int32Member(const JsonValue& row, const char* name, std::int32_t& out, bool required, std::string& error)
{
    const JsonValue* v = row.find(name);
    if (!v) {
        if (required)
            error = std::string("\"") + name + "\" is missing";
        return !required;
    }
    if (v->kind != JsonValue::Kind::Number || !v->integer || *v->integer < std::numeric_limits<std::int32_t>::min() ||
        *v->integer > std::numeric_limits<std::int32_t>::max()) {
        error = std::string("\"") + name + "\" must be a 32-bit integer";
        return false;
    }
    out = static_cast<std::int32_t>(*v->integer);
    return true;
}

std::string codePointText(char32_t cp)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

/// The rows of the JSON document as assignment-list rows (Windows-1252 text).
bool readRows(const JsonValue& doc, std::vector<lyrics::Row>& rows, std::string& error)
{
    const JsonValue* list = doc.kind == JsonValue::Kind::Array ? &doc : doc.find("rows");
    if (!list || list->kind != JsonValue::Kind::Array) {
        error = "expected an array of rows, or an object with \"rows\"";
        return false;
    }
    for (std::size_t i = 0; i < list->array.size(); ++i) {
        const JsonValue& item = list->array[i];
        const std::string where = "row " + std::to_string(i + 1) + ": ";
        if (item.kind != JsonValue::Kind::Object) {
            error = where + "not an object";
            return false;
        }
        lyrics::Row row;
        row.mehrfach = 1;
        std::string why;
        if (!int32Member(item, "zeit", row.zeit, true, why) || !int32Member(item, "start", row.start, false, why) ||
            !int32Member(item, "mehrfach", row.mehrfach, false, why)) {
            error = where + why;
            return false;
        }
        const JsonValue* text = item.find("text");
        if (!text || text->kind != JsonValue::Kind::String) {
            error = where + "\"text\" must be a string";
            return false;
        }
        const text::Cp1252Result converted = text::utf8ToCp1252(text->string);
        if (!converted.ok) {
            error = where + (converted.offending ? "the character " + codePointText(converted.offending) +
                                                       " has no place in Windows-1252"
                                                 : std::string("\"text\" is not valid UTF-8"));
            return false;
        }
        row.text = converted.bytes;
        rows.push_back(std::move(row));
    }
    return true;
}

int writeCommand(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    std::string out;
    song::WorkspaceSettings settings;
    settings.melodie = 1;
    settings.textspur = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-o") {
            if (i + 1 >= args.size())
                return usageError(kName, "-o takes the output file");
            out = args[++i];
        } else if (arg == "--text-channel") {
            if (i + 1 >= args.size() || !parseChannel(args[i + 1], settings.textspur))
                return usageError(kName, "--text-channel takes a channel from 1 to 16");
            ++i;
        } else if (arg == "--running-status") {
            settings.runEvents = true;
        } else if (arg == "--copyright") {
            settings.copyright = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(kName, "unknown option '" + arg + "'");
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2 || out.empty())
        return usageError(kName, "expected SONG, ROWS.json and -o OUT");

    std::string json;
    if (song::SongStatus s = song::readFileBytes(paths[1], json); !s)
        return fail(s.message());
    std::string error;
    const auto doc = parseJson(json, error);
    if (!doc)
        return fail(paths[1] + ": " + error);
    std::vector<lyrics::Row> rows;
    if (!readRows(*doc, rows, error))
        return fail(paths[1] + ": " + error);

    auto session = SongSession::create(error);
    if (!session)
        return fail(error);
    song::Workspace& ws = session->workspace();
    ws.setSettings(settings);
    song::CommandResult opened = ws.openFile(paths[0]);
    if (opened.outcome == song::Outcome::Failed)
        return fail(opened.error);
    if (opened.outcome == song::Outcome::Refused)
        return fail(paths[0] + ": " + messageText(opened.message->message, opened.message->appendText));

    // The rows replace the list, each through the save rules (GESTICKS from ZEIT).
    lyrics::AssignmentList& list = ws.list();
    if (auto st = list.zap(); !st)
        return fail(st.message());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (auto refusal = list.appendRow(rows[i]))
            return fail(paths[1] + ": row " + std::to_string(i + 1) + ": " +
                        messageText(refusal->message, refusal->appendText));
    }

    const song::CommandResult written = ws.writeLyrics();
    if (written.outcome == song::Outcome::Failed)
        return fail(written.error);
    if (written.outcome == song::Outcome::Refused)
        return fail(messageText(written.message->message, written.message->appendText));
    if (written.message)
        std::fprintf(stderr, "versilla-cli %s: %s\n", kName,
                     messageText(written.message->message, written.message->appendText).c_str());

    std::string bytes;
    if (song::SongStatus s = song::readFileBytes(ws.workingCopies().sylo1(), bytes); !s)
        return fail(s.message());
    if (song::SongStatus s = song::writeFileAtomically(out, bytes); !s)
        return fail(s.message());
    return 0;
}

const Command reg(kName, "SONG ROWS.json -o OUT [--text-channel N] [--running-status] [--copyright]",
                  &writeCommand);

} // namespace
} // namespace versilla::cli
