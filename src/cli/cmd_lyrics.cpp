// versilla-cli lyrics FILE [--melody N] [--gleich]
// Opens FILE as the editor does (on a temporary data folder) and prints what
// opening derives as one JSON object in UTF-8: song length, end tick, time
// signature, shown BPM, tempo list, melody notes, copyright list and the rows of
// the assignment list in list order.
#include "Command.h"
#include "Json.h"
#include "SongSession.h"

#include "text/CodePage1252.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace versilla::cli {
namespace {

constexpr const char* kName = "lyrics";

bool parseChannel(const std::string& text, std::int32_t& out)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end && out >= 1 && out <= 16;
}

std::string u8(std::string_view cp1252) { return jsonString(text::cp1252ToUtf8(cp1252)); }

std::string render(const song::Workspace& ws)
{
    const song::SongFacts& f = ws.facts();
    std::string out = "{";
    out += "\"songLengthMs\":" + std::to_string(f.songLengthMs);
    out += ",\"endTick\":" + std::to_string(f.endTick);
    out += ",\"timeSignature\":" + u8(f.taktart);
    out += ",\"shownBpm\":" + std::to_string(f.shownBpm);
    out += ",\"tempo\":[";
    bool first = true;
    for (const song::TempoEntry& e : ws.tempoList()) {
        out += first ? "" : ",";
        first = false;
        out += "{\"tick\":" + std::to_string(e.startTick) + ",\"ms\":" + std::to_string(e.startMs) +
               ",\"tempo\":" + std::to_string(e.tempo) + ",\"bpm\":" + std::to_string(e.bpm) + "}";
    }
    out += "],\"melody\":[";
    first = true;
    for (const song::MelodyNote& n : ws.melodyNotes()) {
        out += first ? "" : ",";
        first = false;
        out += '[';
        out += std::to_string(n.tick);
        out += ',';
        out += std::to_string(n.note);
        out += ',';
        out += std::to_string(n.position);
        out += n.sharp ? ",true]" : ",false]";
    }
    out += "],\"copyright\":[";
    first = true;
    for (const song::CopyrightEntry& c : ws.copyrights()) {
        out += first ? "" : ",";
        first = false;
        out += '[';
        out += u8(c.text);
        out += ',';
        out += std::to_string(c.ms);
        out += ']';
    }
    out += "],\"rows\":[";
    first = true;
    for (const lyrics::Row& r : ws.list().rows()) {
        out += first ? "" : ",";
        first = false;
        out += "{\"zeit\":" + std::to_string(r.zeit) + ",\"strzeit\":" + u8(r.strzeit) + ",\"text\":" + u8(r.text) +
               ",\"gesticks\":" + std::to_string(r.gesticks) + "}";
    }
    out += "]}\n";
    return out;
}

int lyricsCommand(const std::vector<std::string>& args)
{
    std::string file;
    song::WorkspaceSettings settings;
    settings.melodie = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--gleich") {
            settings.gleich = true;
        } else if (arg == "--melody") {
            if (i + 1 >= args.size() || !parseChannel(args[i + 1], settings.melodie))
                return usageError(kName, "--melody takes a channel from 1 to 16");
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(kName, "unknown option '" + arg + "'");
        } else if (file.empty()) {
            file = arg;
        } else {
            return usageError(kName, "expected one FILE");
        }
    }
    if (file.empty())
        return usageError(kName, "expected FILE");

    std::string error;
    auto session = SongSession::create(error);
    if (!session) {
        std::fprintf(stderr, "versilla-cli %s: %s\n", kName, error.c_str());
        return 1;
    }
    song::Workspace& ws = session->workspace();
    ws.setSettings(settings);
    const song::CommandResult result = ws.openFile(file);
    if (result.outcome == song::Outcome::Failed) {
        std::fprintf(stderr, "versilla-cli %s: %s\n", kName, result.error.c_str());
        return 1;
    }
    if (result.outcome == song::Outcome::Refused) {
        std::fprintf(stderr, "versilla-cli %s: %s: %s\n", kName, file.c_str(),
                     messageText(result.message->message, result.message->appendText).c_str());
        return 1;
    }
    const std::string json = render(ws);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command reg(kName, "FILE [--melody N] [--gleich]", &lyricsCommand);

} // namespace
} // namespace versilla::cli
