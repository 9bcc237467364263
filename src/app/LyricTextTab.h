#pragma once
#include <QTextEdit>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;

namespace versilla::song {
class Workspace;
}
namespace versilla::text {
class TQuillonHyphenator;
}

namespace versilla::app {

class TForm1;

/// `s4_text`: a plain-text box that only takes characters the lyric text can
/// hold (Windows-1252). A typed or pasted character outside the code page is
/// dropped and the box beeps once; the rest of a paste goes in.
class LyricTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit LyricTextEdit(QWidget* parent);

    /// `text` with every character the code page cannot hold removed; line
    /// ends (CR LF, CR, LF, paragraph and line separators) become "\n".
    /// `dropped` (optional) counts the removed characters.
    static QString filtered(const QString& text, int* dropped = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

/// Tab 3: the lyric text editor `s4_text` with its column rulers and its eight
/// commands, and the hyphenation command (also on the menu).
///
/// The text is Windows-1252 bytes with CR LF line ends; the box shows one line
/// per CR LF (a lone CR or LF read from a file also starts a new line and is
/// written back as CR LF). Questions go through the main window's Prompter,
/// file and language dialogs through its DialogRunner.
class LyricTextTab : public QWidget {
    Q_OBJECT
public:
    explicit LyricTextTab(QWidget* parent);
    ~LyricTextTab() override;

    /// Shares the button row's width out by the buttons' captions (after a caption change).
    void layoutButtons();
    /// The song the commands work on (null: none); the window sets it once.
    void setWorkspace(song::Workspace* workspace) { m_workspace = workspace; }

    /// The text of `s4_text` as Windows-1252 bytes with CR LF line ends.
    std::string text() const;
    /// Replaces the text of `s4_text` (Windows-1252 bytes; CR LF, CR or LF end a line).
    void setText(std::string_view bytes);

    /// The current text file (empty: none).
    const QString& currentFile() const { return m_currentFile; }
    /// Opening a song forgets the current text file.
    void clearCurrentFile() { m_currentFile.clear(); }

    /// Text from the song: `items` is the song lyric list. With `ask` message
    /// 1/35 is asked first and No leaves the text alone (the button asks,
    /// opening a song does not). False when the user declined.
    bool loadFromSong(const std::vector<std::string>& items, bool ask);

    // Commands (the buttons' handlers).
    void s3_lzClick();
    void s3_bsClick();
    void s3_tlClick();
    void s3_stClick();
    void s4_ladenmidifileClick();
    void s3_ladenClick();
    void s4_speichernClick();
    void s4_speichernunterClick();

    /// Automatic hyphenation ("Silbentrennung" and the menu item "&Automatische
    /// Silbentrennung" on any tab): 1/79 or 1/80 when tab 3 is not shown, 1/78
    /// for a selection not starting at 0, then the language dialog; "&Start"
    /// stores "SPRACHE" and replaces the text with the hyphenated one.
    void hyphenationCommand();

    QFrame* Panel12;
    LyricTextEdit* s4_text;
    QPushButton* s3_lz;
    QPushButton* s3_bs;
    QPushButton* s3_tl;
    QPushButton* s3_st;
    QPushButton* s4_ladenmidifile;
    QPushButton* s3_laden;
    QPushButton* s4_speichern;
    QPushButton* s4_speichernunter;
    /// The red column numbers 1..38 above and below the box.
    std::vector<QLabel*> rulerAbove;
    std::vector<QLabel*> rulerBelow;

private:
    TForm1* host() const;
    bool isShown() const;
    void insertProtected(unsigned char byte);
    /// Writes the text to `path`; shows the failure. True when written.
    bool writeTo(const QString& path);
    void placeRulers();

    song::Workspace* m_workspace = nullptr;
    QString m_currentFile;
    std::unique_ptr<text::TQuillonHyphenator> m_hyphenator;
};

} // namespace versilla::app
