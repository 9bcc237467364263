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
    int y = 8;
    int n = 1;
    for (const QString& line : lines) {
        auto* label = new QLabel(line, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        label->setGeometry(12, y, width - 24, 16);
        y += 16;
    }
    TextSpur = new QComboBox(this);
    TextSpur->setObjectName(QStringLiteral("TextSpur"));
    for (int channel = 1; channel <= 16; ++channel) TextSpur->addItem(QString::number(channel));
    TextSpur->setGeometry(12, y + 6, 60, 22);
    TextSpur->setCurrentIndex(current >= 1 && current <= 16 ? current - 1 : 0);

    speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setGeometry(12, height - 33, 90, 25);
    speichern->setDefault(true);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    abbrechen->setGeometry(width - 102, height - 33, 90, 25);
    connect(speichern, &QPushButton::clicked, this, &ChannelDialog::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &ChannelDialog::abbrechenClick);

    if (localizer) localizer->applyCaptions(formNumber, this);
    TextSpur->setFocus();
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
