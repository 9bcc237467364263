#pragma once
#include "song/SongStatus.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace versilla::song {

/// The files of the data folder that belong to the open song: the working copy
/// the song object reads ("Sylo1.dbf"), the new song while it is written
/// ("Sylo2.dbf"), the copy before the last writing ("Sylo3.dbf"), and the path
/// last chosen in the open dialog ("Last.txt").
class WorkingCopies {
public:
    WorkingCopies() = default;
    explicit WorkingCopies(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path sylo1() const { return m_folder / "Sylo1.dbf"; }
    std::filesystem::path sylo2() const { return m_folder / "Sylo2.dbf"; }
    std::filesystem::path sylo3() const { return m_folder / "Sylo3.dbf"; }
    std::filesystem::path lastTxt() const { return m_folder / "Last.txt"; }

    /// How long a deleted file may take to disappear before giving up.
    std::chrono::milliseconds deleteLimit{2000};

    /// The first line of "Last.txt"; none when it is missing or unreadable.
    std::optional<std::string> lastChosenPath() const;
    /// Rewrites "Last.txt" with `path` as its one line (CR LF ended).
    SongStatus rememberChosenPath(std::string_view path) const;

    /// Makes "Sylo2.dbf" the working copy: "Sylo3.dbf" is deleted, "Sylo1.dbf"
    /// becomes "Sylo3.dbf" and "Sylo2.dbf" becomes "Sylo1.dbf". On failure the
    /// previous working copy is "Sylo1.dbf" again, "Sylo2.dbf" is removed, and the
    /// status says what failed.
    SongStatus rotate() const;
    /// Deletes "Sylo1.dbf" and "Sylo3.dbf" (and a left-over "Sylo2.dbf"). Missing
    /// files are fine; the status names the first file that could not be deleted.
    SongStatus removeAll() const;

private:
    std::filesystem::path m_folder;
};

/// Writes a working copy: into a temporary file in the same folder, renamed
/// over `path` only when complete (no sync to disk: working copies are
/// scratch files the program re-creates). On failure `path` is left as it was.
SongStatus writeWorkingFile(const std::filesystem::path& path, std::string_view bytes);

/// Reads a whole file. Fails with a text naming the path and the cause.
SongStatus readFileBytes(const std::filesystem::path& path, std::string& out);

/// Deletes `path` if it exists and waits, checking every 10 ms, until it is gone
/// or `limit` has passed. Fails when the file cannot be deleted or is still there
/// after `limit`.
SongStatus removeAndWait(const std::filesystem::path& path, std::chrono::milliseconds limit);

} // namespace versilla::song
