// Start-up, first activation, close query and close of the main window.
#include "app/TForm1.h"

#include "app/AssignmentTab.h"
#include "app/DialogRunner.h"
#include "app/LyricTextTab.h"
#include "app/MainMenu.h"
#include "app/PlayerPanel.h"
#include "app/SongFactsPanel.h"
#include "app/StaffTab.h"
#include "app/TMidi.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "app/WordTableTab.h"
#include "app/WritingPanel.h"
#include "core/Prompter.h"
#include "core/TMidiFile.h"
#include "player/TMidiOutput.h"
#include "storage/Schemas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStyle>

namespace versilla::app {

namespace {

// Theme mode: on unless the application runs in the classic look (the
// "Windows" style), where the window keeps its designed panels.
bool themedStyle() {
    const QStyle* style = QApplication::style();
    return style && style->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0;
}

} // namespace

void TForm1::endProgram() {
    m_ended = true;
    m_firstActivationPending = false;
    QCoreApplication::exit(1);
}

bool TForm1::fail(MessageId message) {
    Prompt prompt;
    prompt.message = message;
    prompt.icon = PromptIcon::Error;
    m_prompter->ask(prompt);
    endProgram();
    return false;
}

void TForm1::endWith(MessageId message) {
    (void)fail(message);
}

bool TForm1::store(const storage::Status& status) {
    if (status) return true;
    m_dialogs->showEngineError(this, QString::fromStdString(status.message()));
    return false;
}

bool TForm1::startUp() {
    // 1-2: theme mode, song object, staff timer, cursor.
    m_state.themeMode = themedStyle();
    m_song = std::make_unique<TMidi>();
    m_staffTimer.stop();
    m_savedCursor = cursor();

    // 3-4: the data folder and its settings table.
    const QDir data(m_dataDir);
    const std::filesystem::path folder = m_dataDir.toStdString();
    if (!data.exists(QStringLiteral("Versilla.dbf"))) return fail(MessageId{1, 6});
    m_workspace = std::make_unique<song::Workspace>(*m_song, folder);
    m_observer = std::make_unique<SongObserver>(*this);
    m_workspace->setObserver(m_observer.get());
    m_workspace->list().addListener(m_observer.get());
    TabSheet2->bind(m_workspace->list(), *m_prompter);
    TabSheet4->setWorkspace(m_workspace.get());
    TabSheet5->setWorkspace(m_workspace.get());
    TabSheet2->bind(m_workspace->list(), *m_prompter);

    // 5: the old assignment list and its index go.
    const QString list = data.filePath(QStringLiteral("texte.dbf"));
    if (QFile::exists(list) && !QFile::remove(list)) return fail(MessageId{1, 7});
    for (const char* index : {"texte.tags", "texte.cdx"}) {
        const QString path = data.filePath(QString::fromLatin1(index));
        if (QFile::exists(path) && !QFile::remove(path)) return fail(MessageId{1, 8});
    }

    // 6: working tables from their templates.
    // The assignment list is the workspace's: re-created from its template and open for the run.
    if (!m_workspace->createList()) return fail(MessageId{1, 9});
    if (!storage::copyStructure(folder, storage::kTempoTemplateAlias, storage::kTempoAlias))
        return fail(MessageId{1, 10});

    // 7: settings and tempo tables, exclusive for the whole run.
    if (!store(m_settings.open(folder))) {
        endProgram();
        return false;
    }
    storage::OpenOptions exclusive;
    if (!store(m_tempo.open(folder, storage::kTempoAlias, exclusive)) || !store(m_tempo.setTag(storage::kPrimaryTag))) {
        endProgram();
        return false;
    }

    // 8: exactly one settings row.
    if (!store(m_settings.ensureOneRow())) {
        endProgram();
        return false;
    }

    // 9: colours and the theme look.
    m_state.readOnlyColour = m_settings.integer("FARBE");
    applyReadOnlyColour(m_state.readOnlyColour);
    m_state.backgroundColour = m_settings.integer("FARBEBACK");
    if (m_state.backgroundColour == 0) m_state.backgroundColour = Settings::kStandardBackground;
    if (m_state.themeMode) restyleForTheme();

    // 10: copyright switch and its indicator.
    m_state.copyright = m_settings.boolean("COPYRIGHT");
    Panel1->caus->setVisible(!m_state.copyright);

    // 11: nothing to play, write or undo yet.
    for (QWidget* widget : {static_cast<QWidget*>(Panel2->s1_abspielen), static_cast<QWidget*>(Panel2->s1_stopp),
                            static_cast<QWidget*>(Panel2->s1_weiter), static_cast<QWidget*>(Panel2->s1_st),
                            static_cast<QWidget*>(Panel1->s1_tempoauswahl),
                            static_cast<QWidget*>(Panel9->s1_eintragen),
                            static_cast<QWidget*>(Panel9->s1_rueckgaengig)})
        widget->setEnabled(false);
    MainMenu1->Schliessen1->setEnabled(false);
    MainMenu1->Speichern1->setEnabled(false);
    Panel2->s1_anzeigetext->hide();
    QPalette staff = TabSheet6->s6_panel->palette();
    staff.setColor(QPalette::Window, colourFromInt(14087678));
    TabSheet6->s6_panel->setPalette(staff);

    // 12-14: staff slots, equal-time setting, texts of the language.
    TabSheet6->createSlots();
    m_state.gleich = m_settings.boolean("GLEICH");
    mainWindowTexts();

    // 15: help pages of the language.
    const QString language = m_settings.isBlank("INSTLANG") ? QStringLiteral("0")
                                                            : QString::number(m_settings.integer("INSTLANG"));
    m_helpPage = data.filePath(QStringLiteral("help/%1/1001.html").arg(language));

    // 16.
    m_firstActivationPending = true;
    return true;
}

bool TForm1::firstActivation() {
    if (!m_firstActivationPending) return !m_ended;
    m_firstActivationPending = false;
    ++m_firstActivationRuns;

    if (m_screenWidth() < 800) return fail(MessageId{1, 11});
    const int devices = m_port->deviceCount();
    if (devices == 0) return fail(MessageId{1, 12});

    if (m_settings.isBlank("INSTLANG")) {
        if (!store(m_settings.writeInteger("INSTLANG", 0))) {
            endProgram();
            return false;
        }
        SpracheEinstellen1Click();
    }

    bool chosen = !m_settings.isBlank("DEVICENR");
    int device = static_cast<int>(m_settings.integer("DEVICENR"));
    if (chosen && device != -1 && device >= devices) {
        // The device has gone: choose again.
        if (!store(m_settings.writeBlank("DEVICENR"))) {
            endProgram();
            return false;
        }
        chosen = false;
    }
    if (!chosen) {
        const std::optional<int> choice = m_dialogs->chooseDevice(this, *m_port, std::nullopt, {});
        if (!choice) return fail(MessageId{1, 16});
        device = *choice;
        if (!store(m_settings.writeInteger("DEVICENR", device))) {
            endProgram();
            return false;
        }
    }
    m_state.deviceNr = device;
    m_state.deviceChosen = true;

    if (!m_port->selectDevice(device) || !m_port->open()) return fail(MessageId{1, 3});
    m_state.portOpen = true;
    return true;
}

bool TForm1::closeQuery() {
    Prompt prompt;
    if (m_state.playing) {
        prompt.message = MessageId{1, 51};
        prompt.icon = PromptIcon::Information;
        m_prompter->ask(prompt);
        return false;
    }
    if (!listChanged() && !songUnsaved()) return true;
    prompt.message = listChanged() ? MessageId{1, 52} : MessageId{1, 53};
    prompt.icon = PromptIcon::Question;
    prompt.buttons = PromptButtons::YesNo;
    prompt.defaultAnswer = Answer::No;
    return m_prompter->ask(prompt) == Answer::Yes;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    if (!m_ended && !closeQuery()) {
        event->ignore();
        return;
    }
    closeSteps();
    event->accept();
}

void TForm1::closeSteps() {
    m_closed = true;
    // Nothing can play before playback control exists; the port is silenced anyway.
    if (m_port && m_port->isOpen()) m_port->allSoundOff();
    m_settings.close();
    (void)m_tempo.close();
    if (m_port) m_port->close();
    m_state.portOpen = false;
    if (m_workspace) (void)m_workspace->list().close();
    const QDir data(m_dataDir);
    QFile::remove(data.filePath(QStringLiteral("Sylo1.dbf")));
    QFile::remove(data.filePath(QStringLiteral("Sylo3.dbf")));
    TabSheet6->freeSlots();
}

} // namespace versilla::app
