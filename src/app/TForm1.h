#pragma once
#include "app/Localizer.h"
#include "app/PageControl.h"
#include "app/Settings.h"
#include "app/WorkspaceState.h"
#include "core/MessageId.h"
#include "player/KaraokePanes.h"
#include "song/Workspace.h"

#include <QCursor>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <mutex>

class QLabel;

namespace versilla {
class Prompter;
namespace core {
class TMidiFile;
}
namespace player {
class TMidiOutput;
}
} // namespace versilla

namespace versilla::app {

class AssignmentTab;
class DialogRunner;
class HelpWindow;
class KaraokeTab;
class LyricTextTab;
class MainMenu;
class PlayerPanel;
class SongFactsPanel;
class StaffTab;
class TForm5;
class TMidi;
class WordTableTab;
class WritingPanel;

/// The main window: composes the three top panels, the five tabs and the menu,
/// owns the settings row, the output port and the workspace state, and runs
/// start-up, first activation, the hot keys and the close questions.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    /// What the window works with. Empty members get the editor's own: a
    /// QtPrompter, a dialog runner with the real dialogs, the system's MIDI
    /// devices and the primary screen's width.
    struct Services {
        QString dataDir;
        Prompter* prompter = nullptr;
        DialogRunner* dialogs = nullptr;
        std::unique_ptr<player::TMidiOutput> port;
        std::function<int()> screenWidth;
        /// The song open and save dialogs; empty: the file dialogs of the toolkit.
        song::SongFileChooser* chooser = nullptr;
    };

    explicit TForm1(Services services);
    ~TForm1() override;

    /// Start-up steps: tables, settings, look, texts. False when a step failed;
    /// its message was shown and the program is to end.
    bool startUp();
    /// First-activation checks (screen, devices, language, output device); run
    /// once by the first activation. False when the program was ended.
    bool firstActivation();
    bool firstActivationPending() const { return m_firstActivationPending; }
    int firstActivationRuns() const { return m_firstActivationRuns; }
    /// True once a failure ended the program (start-up or first activation).
    bool hasEnded() const { return m_ended; }

    /// Close query: false keeps the window open (asks 1/51, 1/52 or 1/53).
    bool closeQuery();
    /// Main window texts of the language in "INSTLANG".
    void mainWindowTexts();
    /// Colours the read-only fields.
    void applyReadOnlyColour(qint64 colour);
    /// Help topic 1001 of the language's help pages.
    void showHelp();
    /// The help page for topic 1001 chosen at start-up.
    QString helpPage() const { return m_helpPage; }

    // Menu handlers.
    void Beenden1Click();
    void MidiAusgabegeraet1Click();
    void FarbeSchreibgeschuetzt1Click();
    void RunningMode1Click();
    void TextAusgabekanal1Click();
    void Melodiekanal1Click();
    void GleicheZeit1Click();
    void SpracheEinstellen1Click();
    void Hilfe1Click();
    void UeberVersilla1Click();
    // Hot keys.
    void toggleCopyright();
    void backgroundColourDialog();

    // Song commands (the Workspace does the work, these turn its results into
    // widget states, boxes and the window caption).
    /// Open (`s1_oeffnen`, menu "Ö&ffnen").
    void s1_oeffnenClick();
    /// Opens `path` without questions or dialog, with every effect of Open.
    void openSongFile(const std::string& path);
    /// Writing the lyrics into the song ("Eintragen").
    void s1_eintragenClick();
    /// Undo (`s1_rueckgaengig`).
    void s5_rueckgaengigClick();
    /// Close the song (menu "S&chließen"). False when the user kept it open.
    bool Schlieen1Click();
    /// Save (`s1_speichern`, menu "&Speichern").
    void Speichern1Click();
    /// Tempo change (`s1_tempoauswahl`).
    void s1_tempoauswahlClick();
    /// Start time (`s1_st`).
    void s1_stClick();
    /// The song name `s1_spurname` was edited.
    void s1_spurnameChange();

    // Tab switching.
    /// Before a switch to tab `index`: false refuses it (1/28 no song, 1/29 playing).
    bool PageControl1Changing(int index);
    /// After the user switched to tab `index`: the entry rules of the shown tab.
    void PageControl1Change(int index);

    /// Flags kept by the workspace and its list (false before start-up).
    bool songOpen() const;
    bool listChanged() const;
    bool songUnsaved() const;

    WorkspaceState& state() { return m_state; }
    /// The song model; exists after start-up.
    song::Workspace& workspace() { return *m_workspace; }
    player::KaraokeDisplay& karaoke() { return m_karaoke; }
    Settings& settings() { return m_settings; }
    Localizer& localizer() { return m_localizer; }
    Prompter& prompter() { return *m_prompter; }
    DialogRunner& dialogs() { return *m_dialogs; }
    player::TMidiOutput& port() { return *m_port; }
    TForm5& informationWindow() { return *m_info; }
    const QString& dataDir() const { return m_dataDir; }

    // The window's parts.
    MainMenu* MainMenu1;
    QWidget* Panel10;
    QLabel* BackgroundImage;
    SongFactsPanel* Panel1;
    PlayerPanel* Panel2;
    WritingPanel* Panel9;
    PageControl* PageControl1;
    KaraokeTab* TabSheet1;
    WordTableTab* TabSheet2;
    LyricTextTab* TabSheet4;
    AssignmentTab* TabSheet5;
    StaffTab* TabSheet6;

    /// Texts kept by the main window texts for later switching.
    struct SwitchTexts {
        QString multiselectOnCaption, multiselectOnHint;   ///< shown while multiselect is off
        QString multiselectOffCaption, multiselectOffHint; ///< shown while it is on
        QString undoHint1, undoHint2;
        QString copyText;
    } texts;
    QString title; ///< the window caption remembered as title

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void connectMenu();
    void restyleForTheme();
    void applyMenuTexts();
    void applySingleTexts();
    void closeSteps();
    /// Shows message g/n as an error box and ends the program.
    void endWith(MessageId message);
    bool fail(MessageId message);
    void endProgram();
    /// Locked write; an engine failure shows its text.
    bool store(const storage::Status& status);
    std::optional<QColor> dialogBackground() const;
    bool handleKey(QWidget* target, QKeyEvent* key);
    /// Selects and opens the output device; message 1/3 when that fails.
    bool openOutput(int device);

    // Song command helpers (TForm1Song.cpp).
    void connectSongCommands();
    void syncWorkspaceSettings();
    /// Shows a command's box and error; false when the command did not run.
    bool report(const song::CommandResult& result);
    void showFacts();
    void setSongCaption();
    void fillPanes();
    void mirrorListMarks();
    void setSpurnameEditable(bool editable);
    void afterOpen();
    void afterWrite();
    void afterUndo();
    void afterClose();
    void informationBusy(std::string_view textKey, bool disableWindow);
    void informationIdle();
    /// Tab switching helpers (TForm1Tabs.cpp).
    void goBack();
    void freezeDrawing(bool frozen);
    void setUpPlayerButtons(int index);
    void enterAssignmentTab();

    QString m_dataDir;
    Localizer m_localizer;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    std::unique_ptr<DialogRunner> m_ownDialogs;
    DialogRunner* m_dialogs;
    std::unique_ptr<player::TMidiOutput> m_port;
    std::function<int()> m_screenWidth;
    Settings m_settings;
    storage::Table m_tempo;
    WorkspaceState m_state;
    std::unique_ptr<TMidi> m_song;
    std::unique_ptr<song::Workspace> m_workspace;
    player::KaraokeDisplay m_karaoke;
    std::unique_ptr<song::SongFileChooser> m_ownChooser;
    song::SongFileChooser* m_chooser = nullptr;
    /// Long commands show the information window; list marks drive the
    /// "Eintragen" and "rückgängig" buttons.
    class SongObserver : public song::WorkspaceObserver, public lyrics::ListListener {
    public:
        explicit SongObserver(TForm1& window) : m_window(window) {}
        void busy(std::string_view textKey, bool disableWindow) override {
            m_window.informationBusy(textKey, disableWindow);
        }
        void idle() override { m_window.informationIdle(); }
        void marksChanged() override { m_window.mirrorListMarks(); }

    private:
        TForm1& m_window;
    };
    std::unique_ptr<SongObserver> m_observer;
    bool m_drawingFrozen = false;
    std::mutex m_lyricLock;
    QTimer m_staffTimer;
    QCursor m_savedCursor;
    TForm5* m_info = nullptr;
    QString m_helpPage;
    bool m_firstActivationPending = false;
    int m_firstActivationRuns = 0;
    bool m_ended = false;
    bool m_closed = false;
};

} // namespace versilla::app
