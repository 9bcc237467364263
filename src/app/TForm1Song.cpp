// The song commands of the main window: open, write, undo, close, save, tempo,
// start time and the song name. The workspace runs each command; here its
// result becomes widget states, boxes and the window caption.
#include "app/TForm1.h"

#include "app/AssignmentTab.h"
#include "app/DialogRunner.h"
#include "app/KaraokeTab.h"
#include "app/LyricTextTab.h"
#include "app/MainMenu.h"
#include "app/PlayerPanel.h"
#include "app/SongFactsPanel.h"
#include "app/StaffTab.h"
#include "app/TForm5.h"
#include "app/TMidi.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "app/WordTableTab.h"
#include "app/WritingPanel.h"
#include "app/controls/TNumEditVelk.h"
#include "core/Prompter.h"
#include "core/TimeText.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

namespace versilla::app {

namespace {

constexpr int kTextTab = 2;  // "Text bearbeiten (&3)"
constexpr int kStaffTab = 4; // "Zuordnungstabelle grafisch bearbeiten (&5)"

QString timeText(std::int32_t ms) {
    return QString::fromStdString(core::MsToTimeText(ms));
}

// Before the save dialog shows, a text assignment in progress is ended.
class EndingAssignmentChooser : public song::SongFileChooser {
public:
    EndingAssignmentChooser(song::SongFileChooser& inner, QPushButton* endAssignment)
        : m_inner(inner), m_end(endAssignment) {}
    std::optional<std::string> chooseSongToOpen(const std::string& preset) override {
        return m_inner.chooseSongToOpen(preset);
    }
    std::optional<std::string> chooseSaveName(const std::string& folder, const std::string& proposedName) override {
        if (m_end->isEnabled()) m_end->click();
        return m_inner.chooseSaveName(folder, proposedName);
    }

private:
    song::SongFileChooser& m_inner;
    QPushButton* m_end;
};

} // namespace

bool TForm1::songOpen() const {
    return m_workspace && m_workspace->flags().songOpen;
}

bool TForm1::listChanged() const {
    return m_workspace && m_workspace->list().marks().listChanged;
}

bool TForm1::songUnsaved() const {
    return m_workspace && m_workspace->flags().songUnsaved;
}

void TForm1::connectSongCommands() {
    connect(Panel1->s1_oeffnen, &QPushButton::clicked, this, [this] { s1_oeffnenClick(); });
    connect(MainMenu1->Oeffnen1, &QAction::triggered, this, [this] { s1_oeffnenClick(); });
    connect(Panel1->s1_speichern, &QPushButton::clicked, this, [this] { Speichern1Click(); });
    connect(MainMenu1->Speichern1, &QAction::triggered, this, [this] { Speichern1Click(); });
    connect(MainMenu1->Schliessen1, &QAction::triggered, this, [this] { Schlieen1Click(); });
    connect(Panel9->s1_eintragen, &QPushButton::clicked, this, [this] { s1_eintragenClick(); });
    connect(Panel9->s1_rueckgaengig, &QPushButton::clicked, this, [this] { s5_rueckgaengigClick(); });
    connect(Panel1->s1_tempoauswahl, &QPushButton::clicked, this, [this] { s1_tempoauswahlClick(); });
    connect(Panel2->s1_st, &QPushButton::clicked, this, [this] { s1_stClick(); });
    // Only the user's edits count; the commands fill the field without a change.
    connect(Panel1->s1_spurname, &QLineEdit::textEdited, this, [this] { s1_spurnameChange(); });
    PageControl1->canChange = [this](int index) { return PageControl1Changing(index); };
    connect(PageControl1, &PageControl::changedByUser, this, &TForm1::PageControl1Change);
}

void TForm1::syncWorkspaceSettings() {
    song::WorkspaceSettings settings;
    settings.melodie = static_cast<std::int32_t>(m_settings.integer("MELODIE"));
    settings.gleich = m_state.gleich;
    settings.textspur = static_cast<std::int32_t>(m_settings.integer("TEXTSPUR"));
    settings.runEvents = m_settings.boolean("RUNEVENTS");
    settings.copyright = m_state.copyright;
    m_workspace->setSettings(settings);
}

bool TForm1::report(const song::CommandResult& result) {
    if (result.message)
        showRefusal(*m_prompter, *result.message);
    if (!result.error.empty()) m_dialogs->showEngineError(this, QString::fromStdString(result.error));
    return result.done();
}

void TForm1::informationBusy(std::string_view textKey, bool disableWindow) {
    // Keys " 5text1" .. " 5text7": the number names the text of the window.
    const int n = textKey.empty() ? 0 : textKey.back() - '0';
    m_info->showText(n);
    if (disableWindow) {
        Panel10->setEnabled(false);
        MainMenu1->setEnabled(false);
    }
}

void TForm1::informationIdle() {
    m_info->hideText();
    // Always usable again, also after a command that failed half-way.
    Panel10->setEnabled(true);
    MainMenu1->setEnabled(true);
}

void TForm1::showFacts() {
    const song::SongFacts& facts = m_workspace->facts();
    Panel1->s1_spurname->setText(toQString(facts.songName));
    Panel1->s1_tempo->setText(QString::fromStdString(facts.tempoText()));
    Panel1->s1_taktart->setText(toQString(facts.taktart));
    Panel1->s1_dauer->setText(QString::fromStdString(facts.dauerText()));
    Panel1->s1_format->setText(QString::fromStdString(facts.formatText()));
}

void TForm1::setSongCaption() {
    setWindowTitle(title + QStringLiteral(", Midifile: ") + QString::fromStdString(m_workspace->facts().path));
}

void TForm1::fillPanes() {
    std::vector<std::string> texts;
    texts.reserve(m_workspace->rowSnapshot().size());
    for (const lyrics::TLyrics& entry : m_workspace->rowSnapshot()) texts.push_back(entry.text);
    m_karaoke.setList(player::songLyricListOfTexts(texts));
    m_karaoke.fill();
    TabSheet1->showPanes(m_karaoke);
}

void TForm1::mirrorListMarks() {
    if (!m_workspace) return;
    const bool on = m_workspace->list().marks().writeUndoEnabled && songOpen() && !m_state.playing;
    Panel9->s1_eintragen->setEnabled(on);
    Panel9->s1_rueckgaengig->setEnabled(on);
    const bool afterWrite = std::string_view(m_workspace->undoHintKey()) == song::kUndoHintAfterWrite;
    Panel9->s1_rueckgaengig->setToolTip(afterWrite ? texts.undoHint2 : texts.undoHint1);
}

void TForm1::setSpurnameEditable(bool editable) {
    QLineEdit* name = Panel1->s1_spurname;
    name->setEnabled(editable);
    name->setReadOnly(!editable);
    setFieldColour(name, editable ? QColor(Qt::white) : colourFromInt(m_state.readOnlyColour));
}

// ---- open ----------------------------------------------------------------------------

void TForm1::s1_oeffnenClick() {
    if (!m_workspace || m_state.playing) return;
    syncWorkspaceSettings();
    const song::CommandResult result = m_workspace->open(*m_prompter, *m_chooser);
    if (result.done()) afterOpen();
    report(result);
}

void TForm1::openSongFile(const std::string& path) {
    if (!m_workspace || m_state.playing) return;
    syncWorkspaceSettings();
    const song::CommandResult result = m_workspace->openFile(path);
    if (result.done()) afterOpen();
    report(result);
}

void TForm1::afterOpen() {
    // A text assignment in progress ends with the song it belonged to.
    if (TabSheet5->s5_abbrechen->isEnabled()) TabSheet5->s5_abbrechen->click();
    setSongCaption();
    PageControl1->setCurrentIndex(0);
    showFacts();
    fillPanes();

    // A fresh song: tab 4 rebuilds its assignment text from whatever tab 3 then holds.
    TabSheet4->clearCurrentFile();
    TabSheet5->forgetHandedText();
    Panel2->s1_startzeit->setText(timeText(0));
    Panel2->s1_aktzeit->clear();
    TabSheet2->s2_suchwort->clear();
    TabSheet2->s2_zielzeit->clear();
    TabSheet2->s2_schiebenzeit->clear();

    for (QWidget* on : {static_cast<QWidget*>(Panel2->s1_abspielen), static_cast<QWidget*>(Panel2->s1_st),
                        static_cast<QWidget*>(Panel1->s1_tempoauswahl), static_cast<QWidget*>(Panel1->s1_speichern)})
        on->setEnabled(true);
    for (QWidget* off : {static_cast<QWidget*>(Panel2->s1_stopp), static_cast<QWidget*>(Panel2->s1_weiter)})
        off->setEnabled(false);
    MainMenu1->Schliessen1->setEnabled(true);
    MainMenu1->Speichern1->setEnabled(true);
    mirrorListMarks();

    TabSheet4->s4_text->clear();
    TabSheet5->s5_text->clear();
    setSpurnameEditable(m_workspace->facts().format == 0);
    // "Text aus Midifile" without its question: the song's lyrics become the lyric text.
    TabSheet4->loadFromSong(m_karaoke.list(), false);

    // Staff view back to its first page and no octave shift.
    if (const int zero = TabSheet6->s6_oktave->findText(QStringLiteral("0"), Qt::MatchContains); zero >= 0)
        TabSheet6->s6_oktave->setCurrentIndex(zero);
    // Multiselect off.
    TabSheet2->setMultiSelect(false);
    TabSheet2->s2_multiselect->setText(texts.multiselectOnCaption);
    TabSheet2->s2_multiselect->setToolTip(texts.multiselectOnHint);

    Panel2->s1_abspielen->setFocus();
}

// ---- writing, undo ---------------------------------------------------------------------

void TForm1::s1_eintragenClick() {
    if (!m_workspace || !songOpen() || m_state.playing) return;
    syncWorkspaceSettings();
    const song::CommandResult result = m_workspace->writeLyrics();
    if (result.done()) afterWrite();
    report(result);
}

void TForm1::afterWrite() {
    showFacts();
    fillPanes();
    // Play follows the tab rules: never on the lyric text tab.
    Panel2->s1_abspielen->setEnabled(PageControl1->currentIndex() != kTextTab);
    Panel1->s1_tempoauswahl->setEnabled(true);
    Panel2->s1_st->setEnabled(true);
    Panel2->s1_stopp->setEnabled(false);
    Panel2->s1_weiter->setEnabled(false);
    Panel2->s1_aktzeit->clear();
    TabSheet4->clearCurrentFile();
    mirrorListMarks();
    if (m_workspace->facts().format == 0) Panel1->s1_spurname->setFocus();
    if (TabSheet5->s5_abbrechen->isEnabled()) TabSheet5->s5_abbrechen->click();
    QTextCursor cursor = TabSheet5->s5_text->textCursor();
    cursor.clearSelection();
    TabSheet5->s5_text->setTextCursor(cursor);
}

void TForm1::s5_rueckgaengigClick() {
    if (!m_workspace || !songOpen() || m_state.playing) return;
    const song::CommandResult result = m_workspace->undo(*m_prompter);
    if (result.done()) afterUndo();
    report(result);
}

void TForm1::afterUndo() {
    showFacts();
    fillPanes();
    Panel2->s1_startzeit->setText(timeText(0));
    if (TabSheet5->s5_abbrechen->isEnabled()) TabSheet5->s5_abbrechen->click();
    Panel2->s1_abspielen->setEnabled(PageControl1->currentIndex() != kTextTab);
    Panel2->s1_stopp->setEnabled(false);
    Panel2->s1_weiter->setEnabled(false);
    Panel2->s1_st->setEnabled(true);
    Panel1->s1_tempoauswahl->setEnabled(true);
    if (PageControl1->currentIndex() == kStaffTab) {
        // The staff shown takes the restored rows at once.
        m_workspace->list().takeSnapshot(m_workspace->rowSnapshot(), lyrics::SnapshotMode::Other);
        m_workspace->list().marks().staffRefresh = false;
    }
    mirrorListMarks();
    if (Panel1->s1_spurname->isEnabled()) Panel1->s1_spurname->setFocus();
}

// ---- close --------------------------------------------------------------------------------

bool TForm1::Schlieen1Click() {
    if (!m_workspace || !songOpen() || m_state.playing) return false;
    const song::CommandResult result = m_workspace->close(*m_prompter);
    if (result.outcome == song::Outcome::Cancelled) return false;
    afterClose();
    report(result);
    return true;
}

void TForm1::afterClose() {
    m_karaoke.setList({});
    m_karaoke.clearPanes();
    TabSheet1->showPanes(m_karaoke);
    Panel1->s1_spurname->clear();
    setSpurnameEditable(false);
    for (QLineEdit* field : {Panel1->s1_taktart, Panel1->s1_dauer, Panel1->s1_format, Panel2->s1_startzeit,
                             Panel2->s1_aktzeit})
        field->clear();
    Panel1->s1_tempo->setText(QStringLiteral("60"));
    for (QWidget* off : {static_cast<QWidget*>(Panel2->s1_st), static_cast<QWidget*>(Panel1->s1_tempoauswahl),
                         static_cast<QWidget*>(Panel2->s1_abspielen), static_cast<QWidget*>(Panel2->s1_stopp),
                         static_cast<QWidget*>(Panel2->s1_weiter), static_cast<QWidget*>(Panel9->s1_eintragen),
                         static_cast<QWidget*>(Panel9->s1_rueckgaengig), static_cast<QWidget*>(Panel1->s1_speichern)})
        off->setEnabled(false);
    MainMenu1->Schliessen1->setEnabled(false);
    MainMenu1->Speichern1->setEnabled(false);
    setWindowTitle(title);
    PageControl1->setCurrentIndex(0);
}

// ---- save ----------------------------------------------------------------------------------

void TForm1::Speichern1Click() {
    if (!m_workspace || m_state.playing) return;
    syncWorkspaceSettings();
    const bool changedBefore = listChanged();
    const std::int32_t bpmBefore = m_workspace->facts().shownBpm;
    EndingAssignmentChooser chooser(*m_chooser, TabSheet5->s5_abbrechen);
    const song::CommandResult result = m_workspace->save(*m_prompter, chooser, texts.copyText.toStdString());
    // Saving may have written the lyrics first (1/57) or put the opening tempo back (1/59).
    if (changedBefore && !listChanged()) afterWrite();
    if (songOpen()) showFacts();
    if (m_workspace->facts().shownBpm != bpmBefore) Panel2->s1_weiter->setEnabled(false);
    if (result.done()) setSongCaption();
    report(result);
}

// ---- tempo and start time ---------------------------------------------------------------------

void TForm1::s1_tempoauswahlClick() {
    if (!m_workspace || !songOpen() || m_state.playing) return;
    const bool several = m_workspace->tempoList().size() != 1;
    const std::optional<int> chosen =
        m_dialogs->chooseTempo(this, *m_prompter, m_workspace->facts().shownBpm, several);
    if (!chosen) return;
    syncWorkspaceSettings();
    const song::CommandResult result = m_workspace->changeTempo(*chosen);
    if (result.done()) {
        Panel2->s1_weiter->setEnabled(false);
        if (PageControl1->currentIndex() == kStaffTab) TabSheet6->s6_taktzeiger->hide();
        afterWrite();
    } else {
        showFacts();
    }
    report(result);
}

void TForm1::s1_stClick() {
    if (!m_workspace || !songOpen() || m_state.playing) return;
    const std::optional<int> chosen = m_dialogs->chooseStartTime(this, *m_prompter, m_workspace->startTimeMs(),
                                                                 m_workspace->facts().songLengthMs);
    if (!chosen) return;
    m_workspace->setStartTime(*chosen);
    Panel2->s1_startzeit->setText(timeText(*chosen));
}

void TForm1::s1_spurnameChange() {
    if (!m_workspace || !songOpen()) return;
    m_workspace->songNameChanged(fromQString(Panel1->s1_spurname->text()));
}

} // namespace versilla::app
