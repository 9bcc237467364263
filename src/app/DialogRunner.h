#pragma once
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace versilla {
class Prompter;
}

namespace versilla::player {
class TMidiOutput;
}

namespace versilla::app {

class Localizer;

/// Everything modal the main window opens besides message boxes: the option
/// dialogs, the colour dialog, the device and language dialogs, the about box
/// and help. Each call shows its dialog and returns what the user chose (empty
/// when cancelled); the main window stores the result in the settings. Tests
/// replace the whole runner so no dialog ever blocks them.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    /// Device dialog (form 2): the chosen device number (-1 the mapper).
    /// `current` is the stored setting (nullopt: blank). The dialog closes the
    /// port while it is shown; on a cancel it calls `reopen` to put the old
    /// device back.
    virtual std::optional<int> chooseDevice(QWidget* parent, player::TMidiOutput& port, std::optional<int> current,
                                            std::function<void()> reopen) = 0;
    /// Text output channel dialog (form 12): channel 1..16; `current` 0 = not chosen.
    virtual std::optional<int> chooseTextChannel(QWidget* parent, int current) = 0;
    /// Melody channel dialog (form 13): channel 1..16; `current` 0 = not chosen.
    virtual std::optional<int> chooseMelodyChannel(QWidget* parent, int current) = 0;
    /// Running mode dialog (form 17): true = with running status.
    virtual std::optional<bool> chooseRunningMode(QWidget* parent, bool current) = 0;
    /// Notes at equal times dialog (form 19): true = use them.
    virtual std::optional<bool> chooseEqualTime(QWidget* parent, bool current) = 0;
    /// The colour dialog for the read-only colour (stored colour values).
    virtual std::optional<qint64> chooseReadOnlyColour(QWidget* parent, qint64 current) = 0;
    /// Background colour dialog: the colour to store, only when it differs
    /// from `current` and the user saved.
    virtual std::optional<qint64> chooseBackgroundColour(QWidget* parent, qint64 current) = 0;
    /// Language dialog (form 22): the chosen language number.
    virtual std::optional<int> chooseLanguage(QWidget* parent, int current) = 0;
    /// About box (form 6).
    virtual void showAbout(QWidget* parent) = 0;
    /// Help window at a topic page (an HTML file).
    virtual void showHelp(QWidget* parent, const QString& page) = 0;
    /// A box with the table engine's own error text (error icon, OK).
    virtual void showEngineError(QWidget* parent, const QString& text) = 0;
    /// Tempo dialog (form 3 for one tempo, form 11 for several) opened with
    /// `current`: the accepted tempo (60..260). Out-of-range values are refused
    /// inside the dialog through `prompter`.
    virtual std::optional<int> chooseTempo(QWidget* parent, Prompter& prompter, int current, bool severalTempi) = 0;
    /// Start time dialog (form 4) opened with `currentMs`: the accepted start
    /// time in ms (0..songLengthMs); refusals inside the dialog through `prompter`.
    virtual std::optional<int> chooseStartTime(QWidget* parent, Prompter& prompter, int currentMs,
                                               int songLengthMs) = 0;

    // The lyric text editor's dialogs. The defaults answer "cancelled", so a
    // runner that does not offer them leaves the text commands without effect.

    /// Text open dialog (filter "Text *.txt|*.txt", the file must exist): the
    /// chosen file name.
    virtual std::optional<QString> chooseTextToOpen(QWidget* /*parent*/) { return std::nullopt; }
    /// Text save dialog (filter "Text *.txt|*.txt") proposing `current` (the
    /// current text file, may be empty): the chosen file name.
    virtual std::optional<QString> chooseTextSaveName(QWidget* /*parent*/, const QString& /*current*/) {
        return std::nullopt;
    }
    /// Hyphenation language dialog (form 15) with `current` ("SPRACHE")
    /// preselected: 0 German, 1 English.
    virtual std::optional<int> chooseHyphenationLanguage(QWidget* /*parent*/, int /*current*/) {
        return std::nullopt;
    }
};

} // namespace versilla::app
