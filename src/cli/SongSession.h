#pragma once
// The engine's song workspace for one command run: a temporary data folder made
// from the shipped table structures, a song object without playback, and the
// message texts of the built data folder when one sits beside the program.
#include "core/MessageId.h"
#include "core/TMidiFile.h"
#include "song/Workspace.h"

#include <filesystem>
#include <memory>
#include <string>

namespace versilla::cli {

class SongSession {
public:
    /// A fresh temporary data folder with the template "texte0" and an open
    /// assignment list. None (and `error` set) when the folder or table cannot be made.
    static std::unique_ptr<SongSession> create(std::string& error);
    ~SongSession(); ///< closes the list and removes the folder
    SongSession(const SongSession&) = delete;
    SongSession& operator=(const SongSession&) = delete;

    song::Workspace& workspace() { return *m_workspace; }
    core::TMidiFile& song() { return *m_song; }

private:
    SongSession() = default;
    std::filesystem::path m_folder;
    std::unique_ptr<core::TMidiFile> m_song;
    std::unique_ptr<song::Workspace> m_workspace;
};

/// The German text of a message from the "Messages" table of the data folder
/// beside the program (<bin>/../data), in UTF-8, with `append` (Windows-1252)
/// after it; without that table "message g/n" and the appended text.
std::string messageText(MessageId id, const std::string& append);

} // namespace versilla::cli
