#pragma once
#include "lyrics/AssignmentText.h"

#include <QWidget>

#include <string>

class QFrame;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTextEdit;

namespace versilla::song {
class Workspace;
}

namespace versilla::app {

class TDBNavigatorVelk;
class TForm1;

/// Tab 4: the assignment text `s5_text`, the list grid `s5_grid` and the
/// assignment commands.
class AssignmentTab : public QWidget {
    Q_OBJECT
public:
    explicit AssignmentTab(QWidget* parent);

    /// The song the automatic assignment works on (null: none); set once by the window.
    void setWorkspace(song::Workspace* workspace) { m_workspace = workspace; }

    /// Tab 4 became the active page with `lyricText` (the text of `s4_text`,
    /// CR LF line ends). When it differs from the text handed over last time,
    /// `s5_text` shows the rebuilt assignment text with the caret at 0,
    /// `s5_eintragen` is disabled, the manual assignment mode ends and the next
    /// syllable is the first; returns true then. Otherwise nothing changes.
    bool enterTab(const std::string& lyricText);
    /// Opening a song: the next visit of tab 4 rebuilds the assignment text.
    void forgetHandedText() { m_textState.forget(); }
    /// The assignment text and the next-syllable position.
    lyrics::AssignmentTextState& textState() { return m_textState; }
    /// Highlights `length` characters of `s5_text` from `start` (positions of
    /// the assignment text) and keeps them in view.
    void showSelection(int start, int length);

    /// `s5_auto`: the automatic assignment of the assignment text to the melody
    /// notes. At its end `s5_abbrechen` is clicked when enabled, tab 5 becomes
    /// the active page and `s5_text` shows the last syllable assigned. A row the
    /// save refuses shows its message and is then dropped (rows before it stay).
    void s5_autoClick();

    QFrame* Panel5;
    QTextEdit* s5_text;
    QFrame* Panel8;
    QPushButton* s5_eintragen;
    QFrame* Panel6;
    QTableView* s5_grid;
    QStandardItemModel* gridModel;
    TDBNavigatorVelk* wwDBNavigator1; ///< bound with bindAssignmentGrid() (page step 13)
    QPushButton* s5_zeit;
    QPushButton* s5_loeschen;
    QFrame* Panel7;
    QPushButton* s5_auto;
    QPushButton* s5_synchro;
    QPushButton* s5_abbrechen;

signals:
    /// The automatic assignment has rebuilt the melody note list and is about
    /// to show tab 5 (the staff view applies its octave shift here).
    void autoAssignFinishing();

private:
    TForm1* host() const;

    song::Workspace* m_workspace = nullptr;
    lyrics::AssignmentTextState m_textState;
};

} // namespace versilla::app
