#include "app/dialogs/ChoiceDialog.h"

#include "app/Localizer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace versilla::app {

ChoiceDialog::ChoiceDialog(QWidget* parent, const char* className, int formNumber, const char* listName,
                           int width, int height, const QStringList& lines, const QStringList& designEntries,
                           bool current, const Localizer* localizer, std::optional<QColor> background,
                           CaptionLookup entries)
    : OptionDialog(parent, className, width, height, background) {
    const QList<QLabel*> labels = addLines(lines);
    m_list = new QComboBox(this);
    m_list->setObjectName(QString::fromLatin1(listName));

    addSaveCancel(speichern, abbrechen);
    connect(speichern, &QPushButton::clicked, this, &ChoiceDialog::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &ChoiceDialog::abbrechenClick);

    if (localizer) localizer->applyCaptions(formNumber, this);
    if (!entries) entries = captionLookupFor(localizer, formNumber);
    QStringList entryTexts;
    for (int i = 0; i < designEntries.size(); ++i) {
        const QString text = entries(QStringLiteral("item%1").arg(i));
        entryTexts << (text.isEmpty() ? designEntries[i] : text);
    }
    m_list->addItems(entryTexts);
    m_list->setCurrentIndex(current ? 1 : 0);

    placeListDialog(labels, m_list, 0, textWidth(entryTexts) + 40, speichern, abbrechen);
}

void ChoiceDialog::speichernClick() {
    m_result = m_list->currentIndex() == 1;
    accept();
}

void ChoiceDialog::abbrechenClick() {
    m_result.reset();
    reject();
}

TForm17::TForm17(QWidget* parent, bool current, const Localizer* localizer, std::optional<QColor> background,
                 CaptionLookup entries)
    : ChoiceDialog(parent, "TForm17", 17, "runevents", 252, 115,
                   {QStringLiteral("Legen Sie die Art der Erzeugung des Midifiles fest:")},
                   {QStringLiteral("Midifile wird OHNE Running Events erzeugt"),
                    QStringLiteral("Midifile wird MIT Running Events erzeugt")},
                   current, localizer, background, std::move(entries)) {
    runevents = list();
    if (!localizer) setWindowTitle(QStringLiteral("Running Mode festlegen"));
}

std::optional<bool> TForm17::choose(QWidget* parent, bool current, const Localizer* localizer,
                                    std::optional<QColor> background) {
    TForm17 dialog(parent, current, localizer, background);
    dialog.exec();
    return dialog.result();
}

TForm19::TForm19(QWidget* parent, bool current, const Localizer* localizer, std::optional<QColor> background,
                 CaptionLookup entries)
    : ChoiceDialog(parent, "TForm19", 19, "gleich", 226, 158,
                   {QStringLiteral("Zeitgleiche Noten in der Melodiespur sind"),
                    QStringLiteral("wahrscheinlich eine oder mehrere zusätzliche"),
                    QStringLiteral("Stimmen. Diese Noten können Sie bei der"),
                    QStringLiteral("automatischen Textzuordnung ausblenden.")},
                   {QStringLiteral("Zeitgleiche Noten ausblenden"), QStringLiteral("Zeitgleiche Noten verwenden")},
                   current, localizer, background, std::move(entries)) {
    gleich = list();
    if (!localizer) setWindowTitle(QStringLiteral("Verhalten bei zeitgleichen Noten"));
}

std::optional<bool> TForm19::choose(QWidget* parent, bool current, const Localizer* localizer,
                                    std::optional<QColor> background) {
    TForm19 dialog(parent, current, localizer, background);
    dialog.exec();
    return dialog.result();
}

} // namespace versilla::app
