#include "app/dialogs/ChannelDialog.h"

#include "app/Localizer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace versilla::app {

ChannelDialog::ChannelDialog(QWidget* parent, const char* className, int formNumber, int width, int height,
                             const QStringList& lines, int current, const Localizer* localizer,
                             std::optional<QColor> background)
    : OptionDialog(parent, className, width, height, background) {
    const QList<QLabel*> labels = addLines(lines);
    TextSpur = new QComboBox(this);
    TextSpur->setObjectName(QStringLiteral("TextSpur"));
    for (int channel = 1; channel <= 16; ++channel) TextSpur->addItem(QString::number(channel));
    TextSpur->setCurrentIndex(current >= 1 && current <= 16 ? current - 1 : 0);

    addSaveCancel(speichern, abbrechen);
    connect(speichern, &QPushButton::clicked, this, &ChannelDialog::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &ChannelDialog::abbrechenClick);

    if (localizer) localizer->applyCaptions(formNumber, this);

    placeListDialog(labels, TextSpur, 60, 0, speichern, abbrechen);
}

void ChannelDialog::speichernClick() {
    m_result = TextSpur->currentIndex() + 1;
    accept();
}

void ChannelDialog::abbrechenClick() {
    m_result.reset();
    reject();
}

TForm12::TForm12(QWidget* parent, int current, const Localizer* localizer, std::optional<QColor> background)
    : ChannelDialog(parent, "TForm12", 12, 215, 115,
                    {QStringLiteral("Wählen Sie den Text-Ausgabekanal"),
                     QStringLiteral("für Midifiles im Format 1 aus:")},
                    current, localizer, background) {
    if (!localizer) setWindowTitle(QStringLiteral("Text-Ausgabekanal festlegen"));
}

std::optional<int> TForm12::choose(QWidget* parent, int current, const Localizer* localizer,
                                   std::optional<QColor> background) {
    TForm12 dialog(parent, current, localizer, background);
    dialog.exec();
    return dialog.result();
}

TForm13::TForm13(QWidget* parent, int current, const Localizer* localizer, std::optional<QColor> background)
    : ChannelDialog(parent, "TForm13", 13, 215, 105, {QStringLiteral("Wählen Sie den Melodiekanal aus:")},
                    current, localizer, background) {
    if (!localizer) setWindowTitle(QStringLiteral("Melodiekanal festlegen"));
}

std::optional<int> TForm13::choose(QWidget* parent, int current, const Localizer* localizer,
                                   std::optional<QColor> background) {
    TForm13 dialog(parent, current, localizer, background);
    dialog.exec();
    return dialog.result();
}

} // namespace versilla::app
