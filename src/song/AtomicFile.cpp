#include "song/SongWriter.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define VERSILLA_HAVE_FSYNC 1
#endif

namespace versilla::song {

namespace {

std::string describe(const std::filesystem::path& path, const std::string& what, int err)
{
    std::string text = path.string() + ": " + what;
    if (err != 0)
        text += ": " + std::string(std::strerror(err));
    return text;
}

std::uint64_t processTag()
{
#ifdef VERSILLA_HAVE_FSYNC
    return static_cast<std::uint64_t>(::getpid());
#else
    return 0;
#endif
}

} // namespace

SongStatus writeFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    static std::atomic<std::uint64_t> counter{0};
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");

    // A fresh name in the target's folder, so the final rename never crosses file systems.
    std::FILE* file = nullptr;
    std::filesystem::path temp;
    int err = 0;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = folder / (path.filename().string() + ".tmp-" + std::to_string(processTag()) + "-" +
                         std::to_string(counter.fetch_add(1)));
        errno = 0;
        file = std::fopen(temp.string().c_str(), "wbx");
        err = errno;
        if (!file && err != EEXIST)
            break;
    }
    if (!file)
        return SongStatus::failure(describe(path, "cannot create a temporary file", err));

    bool good = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    err = good ? 0 : errno;
    if (good && std::fflush(file) != 0) {
        good = false;
        err = errno;
    }
#ifdef VERSILLA_HAVE_FSYNC
    if (good && ::fsync(::fileno(file)) != 0) {
        good = false;
        err = errno;
    }
#endif
    if (std::fclose(file) != 0 && good) {
        good = false;
        err = errno;
    }
    std::error_code ec;
    if (!good) {
        std::filesystem::remove(temp, ec);
        return SongStatus::failure(describe(path, "cannot write", err));
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return SongStatus::failure(path.string() + ": cannot replace: " + ec.message());
    }
    return SongStatus::success();
}

} // namespace versilla::song
