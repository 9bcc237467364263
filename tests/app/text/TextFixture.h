#pragma once
#include "ShellFixture.h"

#include "app/AssignmentTab.h"
#include "app/LyricTextTab.h"
#include "core/TMidiFile.h"
#include "song/Workspace.h"

#include <QTextCursor>
#include <QTextEdit>

#include <filesystem>
#include <memory>
#include <string>

namespace versilla::app::testing {

/// The song open dialog answered from the test.
struct SongChooser : song::SongFileChooser {
    std::optional<std::string> openAnswer;
    std::optional<std::string> chooseSongToOpen(const std::string&) override { return openAnswer; }
    std::optional<std::string> chooseSaveName(const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

/// A started main window (melody channel 1) whose text tabs work on the
/// window's own workspace.
class TextTest : public ShellTest {
protected:
    void SetUp() override;
    void TearDown() override;

    LyricTextTab& tab3() { return *window->TabSheet4; }
    AssignmentTab& tab4() { return *window->TabSheet5; }
    /// Shows the window and makes it the active one.
    void showWindow();
    /// Makes tab `index` (0-based) the active page.
    void showTab(int index);
    /// Selects `length` characters of `edit` from `start`.
    static void select(QTextEdit* edit, int start, int length);

    /// Writes `bytes` as a song file and opens it with the window's open command.
    void openSong(const std::string& bytes);
    /// A tab switch as the user makes it (with the switch rules).
    void userSwitch(int index);
    song::Workspace& ws() { return window->workspace(); }
    /// Writes `bytes` to `name` in the temporary folder; returns the path.
    std::string writeFile(const std::string& name, const std::string& bytes) const;
    static std::string readFile(const std::string& path);

    std::unique_ptr<TForm1> window;
    SongChooser songChooser;
};

} // namespace versilla::app::testing
