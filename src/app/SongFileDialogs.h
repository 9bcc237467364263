#pragma once
#include "song/Workspace.h"

class QWidget;

namespace versilla::app {

/// The song file dialogs of the main window: `OpenDialog1` and `SaveDialog2`,
/// both with the filter "Midi *.mid|*.mid". Paths are UTF-8 bytes, as the file
/// system takes them.
class QtSongFileChooser : public song::SongFileChooser {
public:
    explicit QtSongFileChooser(QWidget* parent) : m_parent(parent) {}

    /// An existing file; `preset` (the path in "Last.txt") preselects its folder
    /// and name. None when cancelled.
    std::optional<std::string> chooseSongToOpen(const std::string& preset) override;
    /// A file name in `folder`, proposing `proposedName`. None when cancelled.
    /// Replacing an existing file is asked by the save command, not here.
    std::optional<std::string> chooseSaveName(const std::string& folder, const std::string& proposedName) override;

private:
    QWidget* m_parent;
};

} // namespace versilla::app
