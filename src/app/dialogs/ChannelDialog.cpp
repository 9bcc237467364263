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
    QList<QLabel*> labels;
    int n = 1;
    for (const QString& line : lines) {
        auto* label = new QLabel(line, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        labels << label;
    }
    TextSpur = new QComboBox(this);
    TextSpur->setObjectName(QStringLiteral("TextSpur"));
    for (int channel = 1; channel <= 16; ++channel) TextSpur->addItem(QString::number(channel));
    TextSpur->setCurrentIndex(current >= 1 && current <= 16 ? current - 1 : 0);

    speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setDefault(true);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    connect(speichern, &QPushButton::clicked, this, &ChannelDialog::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &ChannelDialog::abbrechenClick);

    if (localizer) localizer->applyCaptions(formNumber, this);

    // Placed once the texts are final, so a wider desktop font or a longer
    // translation widens the dialog instead of cutting the text off.
    QStringList texts;
    for (QLabel* label : labels) texts << label->text();
    const int line = lineHeight();
    const int listTop = 8 + line * static_cast<int>(labels.size()) + 6;
    growTo(textWidth(texts) + 24, listTop + 22 + 12 + 25 + 8);
    int y = 8;
    for (QLabel* label : labels) {
        label->setGeometry(12, y, this->width() - 24, line);
        y += line;
    }
    TextSpur->setGeometry(12, listTop, 60, 22);
    speichern->setGeometry(12, this->height() - 33, 90, 25);
    abbrechen->setGeometry(this->width() - 102, this->height() - 33, 90, 25);
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
