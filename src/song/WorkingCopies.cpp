#include "song/WorkingCopies.h"

#include "song/SongWriter.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

namespace versilla::song {

namespace {

std::string describe(const std::filesystem::path& path, const std::string& what, const std::error_code& ec = {})
{
    std::string text = path.string() + ": " + what;
    if (ec)
        text += ": " + ec.message();
    return text;
}

SongStatus renameFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec)
        return SongStatus::failure(describe(from, "cannot be renamed to " + to.filename().string(), ec));
    return SongStatus::success();
}

} // namespace

SongStatus writeWorkingFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::error_code statError;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, statError)))
        return SongStatus::failure(describe(path, "cannot be replaced: it is a folder"));
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return SongStatus::failure(describe(temp, "cannot be created",
                                                std::make_error_code(static_cast<std::errc>(errno))));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return SongStatus::failure(describe(temp, "cannot be written"));
        }
    }
    // The old file is moved aside first: renaming over an existing file makes some
    // file systems (ext4) flush the new data to disk, which working copies do not need.
    std::error_code ec;
    std::error_code ignored;
    std::filesystem::path aside = path;
    aside += ".old";
    const bool hadOld = std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
    if (hadOld) {
        std::filesystem::remove(aside, ignored);
        std::filesystem::rename(path, aside, ec);
        if (ec) {
            std::filesystem::remove(temp, ignored);
            return SongStatus::failure(describe(path, "cannot be replaced", ec));
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        if (hadOld)
            std::filesystem::rename(aside, path, ignored);
        std::filesystem::remove(temp, ignored);
        return SongStatus::failure(describe(path, "cannot be replaced", ec));
    }
    if (hadOld)
        std::filesystem::remove(aside, ignored);
    return SongStatus::success();
}

SongStatus readFileBytes(const std::filesystem::path& path, std::string& out)
{
    out.clear();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return SongStatus::failure(describe(path, "is a folder, not a file"));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return SongStatus::failure(describe(path, "cannot be opened for reading",
                                            std::make_error_code(static_cast<std::errc>(errno))));
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || !in)
        return SongStatus::failure(describe(path, "cannot be read"));
    out.resize(static_cast<std::size_t>(size));
    in.read(out.data(), static_cast<std::streamsize>(out.size()));
    if (in.gcount() != static_cast<std::streamsize>(out.size())) {
        out.clear();
        return SongStatus::failure(describe(path, "cannot be read completely"));
    }
    return SongStatus::success();
}

SongStatus removeAndWait(const std::filesystem::path& path, std::chrono::milliseconds limit)
{
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
        return SongStatus::success();
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
        return SongStatus::failure(describe(path, "cannot be deleted: it is a folder"));
    std::filesystem::remove(path, ec);
    if (ec)
        return SongStatus::failure(describe(path, "cannot be deleted", ec));
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        if (std::chrono::steady_clock::now() >= deadline)
            return SongStatus::failure(describe(path, "is still there after being deleted"));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return SongStatus::success();
}

std::optional<std::string> WorkingCopies::lastChosenPath() const
{
    std::ifstream in(lastTxt(), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string line;
    if (!std::getline(in, line))
        return std::nullopt;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return line;
}

SongStatus WorkingCopies::rememberChosenPath(std::string_view path) const
{
    std::string content(path);
    content += "\r\n";
    return writeWorkingFile(lastTxt(), content);
}

SongStatus WorkingCopies::rotate() const
{
    std::error_code ec;
    auto dropNew = [&] { std::filesystem::remove(sylo2(), ec); };
    if (SongStatus s = removeAndWait(sylo3(), deleteLimit); !s) {
        dropNew();
        return s;
    }
    const bool hadWorkingCopy = std::filesystem::exists(sylo1(), ec);
    if (hadWorkingCopy) {
        if (SongStatus s = renameFile(sylo1(), sylo3()); !s) {
            dropNew();
            return s;
        }
    }
    if (SongStatus s = renameFile(sylo2(), sylo1()); !s) {
        if (hadWorkingCopy)
            (void)renameFile(sylo3(), sylo1());
        dropNew();
        return s;
    }
    return SongStatus::success();
}

SongStatus WorkingCopies::removeAll() const
{
    SongStatus first = SongStatus::success();
    for (const auto& path : {sylo1(), sylo3(), sylo2()}) {
        SongStatus s = removeAndWait(path, deleteLimit);
        if (!s && first)
            first = std::move(s);
    }
    return first;
}

} // namespace versilla::song
