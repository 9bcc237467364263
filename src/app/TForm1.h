#pragma once
#include "app/Localizer.h"
#include "app/Settings.h"
#include "app/WorkspaceState.h"
#include "core/MessageId.h"

#include <QCursor>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <mutex>

class QLabel;
class QTabWidget;

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

    WorkspaceState& state() { return m_state; }
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
    QTabWidget* PageControl1;
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
    std::unique_ptr<core::TMidiFile> m_song;
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
