#include "app/QtDialogRunner.h"

#include "app/HelpWindow.h"
#include "app/Localizer.h"
#include "app/TForm22.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "app/dialogs/ChannelDialog.h"
#include "app/dialogs/ChoiceDialog.h"
#include "app/dialogs/TForm2.h"
#include "app/dialogs/TForm11.h"
#include "app/dialogs/TForm24.h"
#include "app/dialogs/TForm3.h"
#include "app/dialogs/TForm4.h"
#include "app/dialogs/TForm15.h"
#include "app/dialogs/TForm6.h"
#include "player/TMidiOutput.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace versilla::app {

QtDialogRunner::QtDialogRunner(const Localizer& localizer, std::function<std::optional<QColor>()> background)
    : m_localizer(localizer), m_background(std::move(background)) {}

QtDialogRunner::~QtDialogRunner() {
    delete m_help;
}

std::optional<int> QtDialogRunner::chooseDevice(QWidget* parent, player::TMidiOutput& port,
                                                std::optional<int> current, std::function<void()> reopen) {
    return TForm2::choose(parent, port, current, &m_localizer, m_background(), std::move(reopen));
}

std::optional<int> QtDialogRunner::chooseTextChannel(QWidget* parent, int current) {
    return TForm12::choose(parent, current, &m_localizer, m_background());
}

std::optional<int> QtDialogRunner::chooseMelodyChannel(QWidget* parent, int current) {
    return TForm13::choose(parent, current, &m_localizer, m_background());
}

std::optional<bool> QtDialogRunner::chooseRunningMode(QWidget* parent, bool current) {
    return TForm17::choose(parent, current, &m_localizer, m_background());
}

std::optional<bool> QtDialogRunner::chooseEqualTime(QWidget* parent, bool current) {
    return TForm19::choose(parent, current, &m_localizer, m_background());
}

std::optional<qint64> QtDialogRunner::chooseReadOnlyColour(QWidget* parent, qint64 current) {
    const QColor colour = QColorDialog::getColor(colourFromInt(current), parent);
    if (!colour.isValid()) return std::nullopt;
    return colourToInt(colour);
}

std::optional<qint64> QtDialogRunner::chooseBackgroundColour(QWidget* parent, qint64 current) {
    return TForm24::choose(parent, current);
}

std::optional<int> QtDialogRunner::chooseLanguage(QWidget* parent, int current) {
    const std::optional<QColor> background = m_background();
    TForm22 dialog(m_localizer, current, background.value_or(QColor()), parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedLanguage();
}

void QtDialogRunner::showAbout(QWidget* parent) {
    TForm6::showAbout(parent, &m_localizer, m_background());
}

void QtDialogRunner::showHelp(QWidget* parent, const QString& page) {
    if (!m_help) m_help = new HelpWindow(nullptr);
    if (parent) m_help->move(parent->window()->geometry().topLeft() + QPoint(40, 40));
    m_help->showPage(page);
}

void QtDialogRunner::showEngineError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Versilla"), text);
}

namespace {
const QString kTextFilter = QStringLiteral("Text (*.txt)");
}

std::optional<QString> QtDialogRunner::chooseTextToOpen(QWidget* parent) {
    const QString name = QFileDialog::getOpenFileName(parent, QString(), QString(), kTextFilter);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<QString> QtDialogRunner::chooseTextSaveName(QWidget* parent, const QString& current) {
    // The overwrite question is the editor's own (1/27), asked after the ".txt" rule.
    const QString name = QFileDialog::getSaveFileName(parent, QString(), current, kTextFilter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<int> QtDialogRunner::chooseHyphenationLanguage(QWidget* parent, int current) {
    return TForm15::choose(parent, current, &m_localizer, m_background());
}

std::optional<int> QtDialogRunner::chooseTempo(QWidget* parent, Prompter& prompter, int current,
                                               bool severalTempi) {
    if (severalTempi) {
        TForm11 dialog(parent, current, prompter, &m_localizer, m_background());
        dialog.exec();
        return dialog.result();
    }
    TForm3 dialog(parent, current, prompter, &m_localizer, m_background());
    dialog.exec();
    return dialog.result();
}

std::optional<int> QtDialogRunner::chooseStartTime(QWidget* parent, Prompter& prompter, int currentMs,
                                                   int songLengthMs) {
    TForm4 dialog(parent, currentMs, songLengthMs, prompter, &m_localizer, m_background());
    dialog.exec();
    return dialog.result();
}

} // namespace versilla::app
