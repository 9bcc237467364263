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

/// A started main window with the text tabs, and a song workspace the tabs
/// work on (in a folder of its own next to the data folder copy).
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

    /// Writes `bytes` as a song file and opens it in the workspace.
    void openSong(const std::string& bytes);
    /// Writes `bytes` to `name` in the temporary folder; returns the path.
    std::string writeFile(const std::string& name, const std::string& bytes) const;
    static std::string readFile(const std::string& path);

    std::unique_ptr<TForm1> window;
    std::unique_ptr<core::TMidiFile> midi;
    std::unique_ptr<song::Workspace> ws;
};

} // namespace versilla::app::testing
