#include "app/PlayerPanel.h"

#include "app/Widgets.h"

namespace versilla::app {

namespace {

// Display fields are disabled but must stay readable on the read-only colour.
void readableWhenDisabled(QLineEdit* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    field->setPalette(palette);
}

} // namespace

PlayerPanel::PlayerPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel2"));
    setGeometry(345, 0, 313, 88);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    s1_playertext = placeLabel(this, "s1_playertext", QStringLiteral("Midifile-Player"), 7, 6, 100, 16);
    QFont bold = s1_playertext->font();
    bold.setBold(true);
    s1_playertext->setFont(bold);

    s1_anzeigetext =
        placeLabel(this, "s1_anzeigetext", QStringLiteral("manuelle Textzuordnung gestartet"), 110, 5, 198, 17);
    s1_anzeigetext->setAlignment(Qt::AlignCenter);
    s1_anzeigetext->setAutoFillBackground(true);
    QPalette palette = s1_anzeigetext->palette();
    palette.setColor(QPalette::Window, QColor(0, 255, 0));
    palette.setColor(QPalette::WindowText, Qt::red);
    s1_anzeigetext->setPalette(palette);
    s1_anzeigetext->setFont(bold);
    s1_anzeigetext->hide();

    s1_st = placeButton(this, "s1_st", QStringLiteral("Startzeit"), 6, 28, 66, 23);
    s1_startzeit = placeDisplay(this, "s1_startzeit", 76, 29, 80, 21);
    s1_aktzeittext = placeLabel(this, "s1_aktzeittext", QStringLiteral("aktuelle Zeit"), 160, 32, 66, 16);
    s1_aktzeit = placeDisplay(this, "s1_aktzeit", 227, 29, 80, 21);

    s1_abspielen = placeButton(this, "s1_abspielen", QStringLiteral("&Abspielen"), 6, 57, 97, 25);
    s1_stopp = placeButton(this, "s1_stopp", QStringLiteral("&Stopp"), 108, 57, 97, 25);
    s1_weiter = placeButton(this, "s1_weiter", QStringLiteral("&Weiter"), 210, 57, 97, 25);
    for (QLineEdit* field : {s1_startzeit, s1_aktzeit}) readableWhenDisabled(field);
}

} // namespace versilla::app
