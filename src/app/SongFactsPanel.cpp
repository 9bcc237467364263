#include "app/SongFactsPanel.h"

#include "app/Widgets.h"

#include <QPainter>
#include <QPixmap>

namespace versilla::app {

namespace {

// The logo: the program's name on a small staff, drawn rather than shipped.
QPixmap drawLogo(int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(120, 120, 160), 1));
    for (int i = 0; i < 5; ++i) painter.drawLine(0, 4 + i * 4, w, 4 + i * 4);
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(h - 6);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(128, 0, 128));
    painter.drawText(QRect(0, 0, w, h), Qt::AlignCenter, QStringLiteral("Versilla"));
    return pixmap;
}


// Display fields are disabled but must stay readable on the read-only colour.
void readableWhenDisabled(QLineEdit* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    field->setPalette(palette);
}

} // namespace

SongFactsPanel::SongFactsPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    setGeometry(0, 0, 345, 88);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    s1_oeffnen = placeButton(this, "s1_oeffnen", QStringLiteral("Ö&ffnen"), 5, 5, 72, 24);
    s1_speichern = placeButton(this, "s1_speichern", QStringLiteral("S&peichern"), 5, 32, 72, 24);
    logo = placed<QLabel>(this, "Image1", 5, 60, 72, 24);
    logo->setPixmap(drawLogo(72, 24));

    s1_nametext = placeLabel(this, "s1_nametext", QStringLiteral("Name"), 84, 9, 40, 16);
    s1_spurname = placeDisplay(this, "s1_spurname", 128, 6, 211, 21);
    s1_spurname->setReadOnly(false);
    s1_spurname->setMaxLength(50);

    s1_tempotext = placeLabel(this, "s1_tempotext", QStringLiteral("Tempo"), 84, 36, 40, 16);
    s1_tempo = placeDisplay(this, "s1_tempo", 128, 33, 52, 21);
    s1_tempoauswahl = placeButton(this, "s1_tempoauswahl", QStringLiteral("Tempo"), 184, 32, 54, 23);
    s1_taktarttext = placeLabel(this, "s1_taktarttext", QStringLiteral("Taktart"), 244, 36, 44, 16);
    s1_taktart = placeDisplay(this, "s1_taktart", 289, 33, 50, 21);

    s1_dauertext = placeLabel(this, "s1_dauertext", QStringLiteral("Dauer"), 84, 63, 40, 16);
    s1_dauer = placeDisplay(this, "s1_dauer", 128, 60, 86, 21);
    s1_formattext = placeLabel(this, "s1_formattext", QStringLiteral("Format"), 220, 63, 42, 16);
    s1_format = placeDisplay(this, "s1_format", 262, 60, 22, 21);
    caus = placeLabel(this, "caus", QStringLiteral("(c) aus"), 290, 62, 49, 17);
    caus->setAlignment(Qt::AlignCenter);
    caus->setAutoFillBackground(true);
    QPalette palette = caus->palette();
    palette.setColor(QPalette::Window, Qt::yellow);
    palette.setColor(QPalette::WindowText, QColor(128, 0, 128));
    caus->setPalette(palette);
    QFont bold = caus->font();
    bold.setBold(true);
    caus->setFont(bold);
    for (QLineEdit* field : {s1_spurname, s1_tempo, s1_taktart, s1_dauer, s1_format}) readableWhenDisabled(field);
}

} // namespace versilla::app
