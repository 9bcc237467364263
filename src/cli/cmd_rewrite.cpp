// versilla-cli rewrite IN OUT [--running-status]
// Reads IN and writes every track back with its own events through the song file
// writer (tempo and time-signature lists built from IN). OUT is replaced atomically.
#include "Command.h"

#include "core/TMidiFile.h"
#include "song/SongWriter.h"
#include "song/TempoList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace versilla::cli {
namespace {

constexpr const char* kName = "rewrite";

int fail(const std::string& message)
{
    std::fprintf(stderr, "versilla-cli %s: %s\n", kName, message.c_str());
    return 1;
}

int rewrite(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    song::SongWriteOptions options;
    for (const std::string& arg : args) {
        if (arg == "--running-status")
            options.runningStatus = true;
        else if (arg.size() > 1 && arg[0] == '-')
            return usageError(kName, "unknown option '" + arg + "'");
        else
            paths.push_back(arg);
    }
    if (paths.size() != 2)
        return usageError(kName, "expected IN and OUT");

    std::ifstream in(paths[0], std::ios::binary);
    if (!in)
        return fail(paths[0] + ": cannot open: " + std::strerror(errno));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return fail(paths[0] + ": cannot read");

    core::TMidiFile midi;
    midi.AdoptBytes(std::move(buffer).str());

    const song::TempoList tempoList = song::buildTempoList(midi);
    const song::TimeSignatureList timeSignatures = song::readTimeSignatures(midi);
    const std::vector<song::WriteList> lists = song::writeListsOfSong(midi);
    const song::SongStatus status =
        song::writeSongFile(paths[1], midi, lists, tempoList, timeSignatures, options);
    if (!status)
        return fail(paths[0] + " -> " + paths[1] + ": " + status.message());
    return 0;
}

const Command reg(kName, "IN OUT [--running-status]", &rewrite);

} // namespace
} // namespace versilla::cli
