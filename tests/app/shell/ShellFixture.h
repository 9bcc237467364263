#pragma once
#include "RecordingPort.h"
#include "ScriptedPrompter.h"
#include "app/DialogRunner.h"
#include "app/TForm1.h"
#include "storage/Table.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace versilla::app::testing {

/// Dialogs answered from the test: each choice is programmed beforehand, and
/// every call is counted.
class FakeDialogs : public DialogRunner {
public:
    std::optional<int> device, textChannel, melodyChannel, language;
    std::optional<bool> runningMode, equalTime;
    std::optional<qint64> readOnlyColour, backgroundColour;
    int deviceCalls = 0, languageCalls = 0, aboutCalls = 0, colourCalls = 0, backgroundCalls = 0;
    std::vector<QString> helpPages;
    std::vector<QString> engineErrors;

    std::optional<int> deviceCurrent;
    std::optional<int> chooseDevice(QWidget*, player::TMidiOutput&, std::optional<int> current,
                                    std::function<void()>) override {
        ++deviceCalls;
        deviceCurrent = current;
        return device;
    }
    std::optional<int> chooseTextChannel(QWidget*, int) override { return textChannel; }
    std::optional<int> chooseMelodyChannel(QWidget*, int) override { return melodyChannel; }
    std::optional<bool> chooseRunningMode(QWidget*, bool) override { return runningMode; }
    std::optional<bool> chooseEqualTime(QWidget*, bool) override { return equalTime; }
    std::optional<qint64> chooseReadOnlyColour(QWidget*, qint64) override { ++colourCalls; return readOnlyColour; }
    std::optional<qint64> chooseBackgroundColour(QWidget*, qint64) override {
        ++backgroundCalls;
        return backgroundColour;
    }
    std::optional<int> chooseLanguage(QWidget*, int) override { ++languageCalls; return language; }
    void showAbout(QWidget*) override { ++aboutCalls; }
    void showHelp(QWidget*, const QString& page) override { helpPages.push_back(page); }
    void showEngineError(QWidget*, const QString& text) override { engineErrors.push_back(text); }

    // Lyric text editor dialogs: the answer to give and what the dialog was shown with.
    std::optional<QString> textToOpen, textSaveName;
    std::optional<int> hyphenationLanguage;
    int textOpenCalls = 0, textSaveCalls = 0, hyphenationCalls = 0;
    QString textSaveCurrent;
    int hyphenationCurrent = -1;
    std::optional<QString> chooseTextToOpen(QWidget*) override {
        ++textOpenCalls;
        return textToOpen;
    }
    std::optional<QString> chooseTextSaveName(QWidget*, const QString& current) override {
        ++textSaveCalls;
        textSaveCurrent = current;
        return textSaveName;
    }
    std::optional<int> chooseHyphenationLanguage(QWidget*, int current) override {
        ++hyphenationCalls;
        hyphenationCurrent = current;
        return hyphenationLanguage;
    }

    std::optional<int> tempo, startTime;
    int tempoCalls = 0, startTimeCalls = 0;
    int tempoCurrent = 0, startTimeCurrent = 0, songLength = 0;
    bool severalTempi = false;
    std::optional<int> chooseTempo(QWidget*, Prompter&, int current, bool several) override {
        ++tempoCalls;
        tempoCurrent = current;
        severalTempi = several;
        return tempo;
    }
    std::optional<int> chooseStartTime(QWidget*, Prompter&, int currentMs, int songLengthMs) override {
        ++startTimeCalls;
        startTimeCurrent = currentMs;
        songLength = songLengthMs;
        return startTime;
    }
};

/// A temporary copy of the built data folder, with helpers to change its tables
/// before the window starts.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;

    QString data() const { return m_dir.path(); }
    std::filesystem::path folder() const { return m_dir.path().toStdString(); }

    /// Creates the window over the copy with `devices` recording devices.
    std::unique_ptr<TForm1> makeWindow(int devices = 3, int screenWidth = 1024);
    /// Creates and starts the window; fails the test when start-up fails.
    std::unique_ptr<TForm1> startedWindow(int devices = 3);

    /// Opens a table of the copy for writing.
    storage::Table openTable(const char* alias);
    /// Sets one settings field ("" blanks it).
    void setSetting(const char* field, const std::string& value);
    /// Writes a small format-0 song (one track, one tempo, four quarter notes on
    /// channel 1, no lyrics) into the temporary folder; returns its path.
    std::string writeSmallSong(const char* name = "klein.mid") const;
    /// Opens the small song in `window`'s workspace and writes its (empty)
    /// lyrics, so the song counts as unsaved.
    void makeSongUnsaved(TForm1& window);
    /// Sets CAPTION and HINT of an existing caption row, or appends the row.
    void setCaptionRow(int language, int form, const char* object, const std::string& caption,
                       const std::string& hint);

    QTemporaryDir m_dir;
    testsupport::ScriptedPrompter prompter;
    FakeDialogs dialogs;
    /// The song file dialogs the window gets (null: the toolkit's own).
    song::SongFileChooser* chooser = nullptr;
    std::vector<std::shared_ptr<testsupport::RecordingPort>> ports;
};

} // namespace versilla::app::testing
