#include "app/dialogs/TForm24.h"

#include "app/controls/ColourValue.h"
#include "app/controls/ControlSeams.h"

#include <QLabel>
#include <QPushButton>

namespace versilla::app {

TForm24::TForm24(QWidget* parent, qint64 currentBackground)
    : OptionDialog(parent, "TForm24", 341, 137, toQColor(currentBackground)), m_current(currentBackground) {
    setWindowTitle(QStringLiteral("Hintergrundfarbe bei XP-Stil oder Vista"));
    const QString lines[] = {
        QStringLiteral("Wenn Sie die Bildschirmanzeige unter XP im \"XP-Stil\" bzw. bei Vista"),
        QStringLiteral("das Design als \"Windows Vista\" eingestellt haben, können Sie hier"),
        QStringLiteral("die Hintergrundfarbe des Programms auswählen."),
    };
    QStringList texts;
    for (const QString& line : lines) texts << line;
    const int line = lineHeight();
    growTo(textWidth(texts) + 20, 6 + 3 * line + 8 + 25 + 15 + 25 + 10);
    const int w = width(), h = height();
    int y = 6;
    int n = 1;
    for (const QString& text : texts) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        label->setGeometry(10, y, w - 20, line);
        y += line;
    }
    const int half = (w - 27) / 2;
    Button1 = new QPushButton(QStringLiteral("Standardfarbe einstellen"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(10, h - 75, half, 25);
    Button2 = new QPushButton(QStringLiteral("Neue Farbe auswählen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(w - 10 - half, h - 75, half, 25);
    speichern = new QPushButton(QStringLiteral("&Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setGeometry(10, h - 35, half, 25);
    abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("abbrechen"));
    abbrechen->setGeometry(w - 10 - half, h - 35, half, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm24::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm24::Button2Click);
    connect(speichern, &QPushButton::clicked, this, &TForm24::speichernClick);
    connect(abbrechen, &QPushButton::clicked, this, &TForm24::abbrechenClick);
}

void TForm24::Button1Click() {
    m_chosen = StandardColour;
    paintIn(toQColor(StandardColour));
}

void TForm24::Button2Click() {
    const qint64 picked = ControlSeams::pickColour(this, m_chosen.value_or(m_current));
    if (picked < 0) return;
    m_chosen = picked;
    // Show the colour that will be stored, also when it is the current one
    // after the standard colour was tried.
    paintIn(toQColor(picked));
}

void TForm24::speichernClick() {
    m_result.reset();
    // Without a choice there is nothing to store: storing "no colour" would
    // paint every later dialog black.
    if (m_chosen && *m_chosen != m_current) {
        m_result = m_chosen;
        ControlSeams::showBox(this, BoxIcon::Information, QStringLiteral("Hinweis"),
                              QStringLiteral("Die neue Hintergrundfarbe wird erst nach einem Neustart von "
                                             "Versilla angezeigt."));
    }
    accept();
}

void TForm24::abbrechenClick() {
    m_result.reset();
    reject();
}

std::optional<qint64> TForm24::choose(QWidget* parent, qint64 currentBackground) {
    TForm24 dialog(parent, currentBackground);
    dialog.exec();
    return dialog.result();
}

} // namespace versilla::app
