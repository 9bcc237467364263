#pragma once
#include "ShellFixture.h"
#include "song/Workspace.h"

#include <optional>
#include <string>
#include <vector>

namespace versilla::app::testing {

/// File dialogs answered from the test; every call is recorded.
class ScriptedChooser : public song::SongFileChooser {
public:
    std::optional<std::string> openPath;
    std::optional<std::string> savePath;
    std::vector<std::string> openPresets;
    std::string saveFolder, saveProposed;
    int saveCalls = 0;

    std::optional<std::string> chooseSongToOpen(const std::string& preset) override {
        openPresets.push_back(preset);
        return openPath;
    }
    std::optional<std::string> chooseSaveName(const std::string& folder, const std::string& proposedName) override {
        ++saveCalls;
        saveFolder = folder;
        saveProposed = proposedName;
        return savePath;
    }
};

/// A window over a temporary data folder whose settings name channel 1 as
/// melody and text channel, with the song dialogs answered by `files`.
class FlowTest : public ShellTest {
protected:
    void SetUp() override;

    /// A real song with 162 lyric events in its second track, all on channel 1,
    /// and 72 tempo changes. Its texts are UTF-8 and come in as their characters;
    /// one event holds only spaces and is left out: kImportedRows rows come in.
    static std::string corpusSong();
    static constexpr int kImportedRows = 161;
    /// Starts a window and opens corpusSong() through "Öffnen".
    std::unique_ptr<TForm1> openedWindow();
    /// The bytes of a file ("" when it cannot be read).
    static QByteArray bytesOf(const QString& path);

    ScriptedChooser files;
};

} // namespace versilla::app::testing
