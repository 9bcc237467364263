// versilla-cli events FILE: the song as the reader sees it, as one JSON object.
#include "Command.h"

#include "core/TMidiFile.h"
#include "text/CodePage1252.h"

#include <cstdio>
#include <string>

namespace {

using versilla::core::TMidiFile;

void appendJsonString(std::string& out, std::string_view utf8) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += ch;
        }
    }
    out += '"';
}

void appendHex(std::string& out, std::string_view bytes) {
    static const char hex[] = "0123456789abcdef";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        out += hex[c >> 4];
        out += hex[c & 0xF];
    }
}

void flush(std::string& out) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

int events(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return versilla::cli::usageError("events", args.empty() ? "missing FILE" : "exactly one FILE expected");

    // No playback here: the song object's thread only starts when playing.
    TMidiFile song;
    song.SetFileName(args[0]);
    if (!song.ReadFile())
        std::fprintf(stderr, "versilla-cli events: cannot open '%s'; it yields no tracks\n", args[0].c_str());

    std::string out;
    out.reserve(1 << 16);
    out += "{\"format\":" + std::to_string(song.Format());
    out += ",\"trackCount\":" + std::to_string(song.TrackCount());
    out += ",\"division\":" + std::to_string(song.Division());
    out += ",\"bpm\":" + std::to_string(song.Bpm());
    out += ",\"tracks\":[";
    for (std::int32_t t = 0; t < song.TrackCount(); ++t) {
        const auto* track = song.GetTrack(t);
        if (t > 0)
            out += ',';
        out += "{\"name\":";
        appendJsonString(out, versilla::text::cp1252ToUtf8(track->GetName()));
        out += ",\"events\":[";
        for (std::int32_t i = 0; i < track->EventCount(); ++i) {
            const auto& ev = *track->GetEvent(i);
            if (i > 0)
                out += ',';
            out += '[';
            out += std::to_string(ev.Ticks);
            out += ',';
            out += std::to_string(ev.Status);
            out += ',';
            out += std::to_string(ev.Data1);
            out += ',';
            out += std::to_string(ev.Data2);
            out += ",\"";
            appendHex(out, ev.Data);
            out += "\"]";
            if (out.size() > (1 << 16) - 1024)
                flush(out);
        }
        out += "]}";
    }
    out += "]}\n";
    flush(out);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const versilla::cli::Command reg("events", "FILE   print the song's tracks and events as JSON", &events);

} // namespace
