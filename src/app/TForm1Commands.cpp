// Keys and menu commands of the main window.
#include "app/TForm1.h"

#include "app/AssignmentTab.h"
#include "app/DialogRunner.h"
#include "app/SongFactsPanel.h"
#include "app/WordTableTab.h"
#include "core/Prompter.h"
#include "player/TMidiOutput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

namespace versilla::app {

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_firstActivationPending) {
        // Let the window finish showing before the first boxes appear.
        QMetaObject::invokeMethod(this, [this] { firstActivation(); }, Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && handleKey(widget, static_cast<QKeyEvent*>(event))) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::handleKey(QWidget* target, QKeyEvent* key) {
    if (m_state.manualMode) return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

    if (key->key() == Qt::Key_F1) {
        if (!m_state.playing) showHelp();
        return true;
    }
    if (mods == all && key->key() == Qt::Key_C) {
        toggleCopyright();
        return true;
    }
    if (mods == all && key->key() == Qt::Key_X) {
        backgroundColourDialog();
        return true;
    }
    if ((mods & Qt::ControlModifier) && key->key() == Qt::Key_V) {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (!data || !data->hasText() || data->text().isEmpty()) {
            Prompt prompt;
            prompt.message = MessageId{1, 61};
            prompt.icon = PromptIcon::Information;
            m_prompter->ask(prompt);
            return true;
        }
        return false;
    }

    // Enter in a grid counts as Down; Up and Down move the focus between edit
    // fields and grids.
    QWidget* focus = QApplication::focusWidget();
    if (!focus) focus = target;
    const bool isGrid = qobject_cast<QAbstractItemView*>(focus) != nullptr;
    const bool isEdit = qobject_cast<QLineEdit*>(focus) != nullptr;
    int code = key->key();
    if (isGrid && mods == Qt::NoModifier && (code == Qt::Key_Return || code == Qt::Key_Enter)) code = Qt::Key_Down;
    if ((isGrid || isEdit) && mods == Qt::NoModifier && (code == Qt::Key_Up || code == Qt::Key_Down)) {
        QWidget* next = code == Qt::Key_Up ? focus->previousInFocusChain() : focus->nextInFocusChain();
        while (next && next != focus && (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() ||
                                         !next->isEnabled() || next->window() != this))
            next = code == Qt::Key_Up ? next->previousInFocusChain() : next->nextInFocusChain();
        if (next && next != focus) next->setFocus(code == Qt::Key_Up ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }
    return false;
}

void TForm1::showHelp() {
    m_dialogs->showHelp(this, m_helpPage);
}

void TForm1::toggleCopyright() {
    const bool value = !m_state.copyright;
    if (!store(m_settings.writeBoolean("COPYRIGHT", value))) return;
    m_state.copyright = value;
    Panel1->caus->setVisible(!value);
}

void TForm1::backgroundColourDialog() {
    const std::optional<qint64> colour = m_dialogs->chooseBackgroundColour(this, m_state.backgroundColour);
    if (!colour) return;
    if (!store(m_settings.writeInteger("FARBEBACK", *colour))) return;
    // The panels keep their colour until the next start; dialogs use it at once.
    m_state.backgroundColour = *colour;
}

void TForm1::Beenden1Click() {
    // Ends through the close query, so unwritten lyrics and unsaved songs are
    // asked about and the working copies are cleaned up.
    close();
}

void TForm1::MidiAusgabegeraet1Click() {
    std::optional<int> current;
    if (!m_settings.isBlank("DEVICENR")) current = static_cast<int>(m_settings.integer("DEVICENR"));
    const std::optional<int> device = m_dialogs->chooseDevice(this, *m_port, current, [this] {
        // A cancel puts the device that was open back.
        openOutput(m_state.deviceNr);
    });
    m_state.portOpen = m_port->isOpen();
    if (!device) return;
    if (!store(m_settings.writeInteger("DEVICENR", *device))) return;
    m_state.deviceNr = *device;
    m_state.deviceChosen = true;
    m_port->close();
    openOutput(*device);
}

bool TForm1::openOutput(int device) {
    m_state.portOpen = m_port->selectDevice(device) && m_port->open();
    if (!m_state.portOpen) {
        Prompt prompt;
        prompt.message = MessageId{1, 3};
        prompt.icon = PromptIcon::Error;
        m_prompter->ask(prompt);
    }
    return m_state.portOpen;
}

void TForm1::FarbeSchreibgeschuetzt1Click() {
    const std::optional<qint64> colour = m_dialogs->chooseReadOnlyColour(this, m_state.readOnlyColour);
    if (!colour) return;
    if (!store(m_settings.writeInteger("FARBE", *colour))) return;
    m_state.readOnlyColour = *colour;
    applyReadOnlyColour(*colour);
}

void TForm1::RunningMode1Click() {
    const std::optional<bool> value = m_dialogs->chooseRunningMode(this, m_settings.boolean("RUNEVENTS"));
    if (value) store(m_settings.writeBoolean("RUNEVENTS", *value));
}

void TForm1::TextAusgabekanal1Click() {
    const std::optional<int> channel =
        m_dialogs->chooseTextChannel(this, static_cast<int>(m_settings.integer("TEXTSPUR")));
    if (channel) store(m_settings.writeInteger("TEXTSPUR", *channel));
}

void TForm1::Melodiekanal1Click() {
    const std::optional<int> channel =
        m_dialogs->chooseMelodyChannel(this, static_cast<int>(m_settings.integer("MELODIE")));
    if (channel) store(m_settings.writeInteger("MELODIE", *channel));
}

void TForm1::GleicheZeit1Click() {
    const std::optional<bool> value = m_dialogs->chooseEqualTime(this, m_settings.boolean("GLEICH"));
    if (!value) return;
    if (store(m_settings.writeBoolean("GLEICH", *value))) m_state.gleich = *value;
}

void TForm1::SpracheEinstellen1Click() {
    const int current = static_cast<int>(m_settings.integer("INSTLANG"));
    const std::optional<int> language = m_dialogs->chooseLanguage(this, current);
    if (!language || *language == current) return;
    if (!store(m_settings.writeInteger("INSTLANG", *language))) return;
    mainWindowTexts();
}

void TForm1::Hilfe1Click() {
    showHelp();
}

void TForm1::UeberVersilla1Click() {
    m_dialogs->showAbout(this);
}

} // namespace versilla::app
