#include "app/StaffTab.h"

#include "app/Widgets.h"

#include <QComboBox>
#include <QPainter>

namespace versilla::app {

NoteShape::NoteShape(QWidget* parent) : QWidget(parent), m_fill(Qt::blue) {
    resize(7, 7);
}

void NoteShape::setFill(const QColor& colour) {
    m_fill = colour;
    update();
}

void NoteShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_fill);
    painter.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}

StaffPanel::StaffPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("s6_panel"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
}

void StaffPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    for (int system = 0; system < 2; ++system) {
        const int dy = system * 160;
        painter.setPen(QPen(QColor(192, 192, 192), 1));
        for (int y : {13, 21, 29, 37, 85, 93, 101, 109}) painter.drawLine(60, y + dy, 700, y + dy);
        painter.drawLine(60, 13 + dy, 60, 140 + dy);
        painter.drawLine(700, 13 + dy, 700, 140 + dy);
        painter.setPen(QPen(Qt::black, 1));
        for (int y : {45, 53, 61, 69, 77}) painter.drawLine(60, y + dy, 700, y + dy);
        painter.drawLine(60, 45 + dy, 60, 77 + dy);
        painter.drawLine(700, 45 + dy, 700, 77 + dy);
        painter.drawLine(60, 140 + dy, 700, 140 + dy);
        for (int x = 100; x <= 660; x += 40) painter.drawLine(x, 140 + dy - 11, x, 140 + dy);
    }
}

StaffTab::StaffTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet6"));
    s6_panel = new StaffPanel(this);
    s6_panel->setGeometry(0, 0, 754, 368);
    QPalette palette = s6_panel->palette();
    palette.setColor(QPalette::Window, colourFromInt(14087678));
    s6_panel->setPalette(palette);

    QFont bold = font();
    bold.setBold(true);
    s6_achtel1 = placeLabel(s6_panel, "s6_achtel1", QStringLiteral("1"), 5, 133, 50, 14);
    s6_achtel2 = placeLabel(s6_panel, "s6_achtel2", QStringLiteral("17"), 5, 294, 50, 14);
    for (QLabel* label : {s6_achtel1, s6_achtel2}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(bold);
    }
    s6_taktzeiger = placed<QFrame>(s6_panel, "s6_taktzeiger", 60, 13, 1, 142);
    s6_taktzeiger->setAutoFillBackground(true);
    QPalette red = s6_taktzeiger->palette();
    red.setColor(QPalette::Window, Qt::red);
    s6_taktzeiger->setPalette(red);
    s6_taktzeiger->hide();

    int x = 8;
    auto pagingButton = [&](const char* name, const char* caption, int w) {
        QPushButton* button = placeButton(s6_panel, name, QString::fromUtf8(caption), x, 310, w, 23);
        x += w + 4;
        return button;
    };
    s6_abAnfang = pagingButton("s6_abAnfang", "zum Anfang", 66);
    s6_seiterueck = pagingButton("s6_seiterueck", "Seite zurück", 66);
    s6_zeilerueck = pagingButton("s6_zeilerueck", "Zeile zurück", 66);
    s6_oktave = placed<QComboBox>(s6_panel, "s6_oktave", x, 310, 44, 23);
    s6_oktave->addItems({QStringLiteral("+1"), QStringLiteral(" 0"), QStringLiteral("-1")});
    s6_oktave->setCurrentIndex(1);
    x += 48;
    s6_zeilevor = pagingButton("s6_zeilevor", "Zeile vor", 66);
    s6_seitevor = pagingButton("s6_seitevor", "Seite vor", 66);
    s6_zumEnde = pagingButton("s6_zumEnde", "zum Ende", 66);
    s6_auto = placeButton(s6_panel, "s6_auto", QStringLiteral("Zuordnung automatisch nach Noten aktualisieren"), x,
                          310, 746 - x, 23);
    s6_auto->setToolTip(s6_auto->text());
    s6_hilfetext = placeLabel(s6_panel, "s6_hilfetext",
                              QStringLiteral("HILFE: Doppelklick: Als Startzeit übernehmen          Mausklick "
                                             "rechts auf Wort: Wort bearbeiten          Mausklick rechts auf freie "
                                             "Stelle über Linie: Wort neu"),
                              8, 335, 738, 30);
    s6_hilfetext->setWordWrap(true);
}

void StaffTab::createSlots() {
    if (hasSlots()) return;
    const QFont arial = arialFont(8);
    for (int n = 1; n <= 64; ++n) {
        auto* lyric = new QLabel(s6_panel);
        lyric->setObjectName(QStringLiteral("s6_lyric%1").arg(n));
        lyric->setFont(arial);
        lyric->move(0, 0);
        lyric->hide();
        m_lyrics[static_cast<std::size_t>(n - 1)] = lyric;

        auto* note = new NoteShape(s6_panel);
        note->setObjectName(QStringLiteral("s6_note%1").arg(n));
        note->setGeometry(0, 0, 7, 7);
        note->hide();
        m_notes[static_cast<std::size_t>(n - 1)] = note;

        auto* sharp = new QLabel(QStringLiteral("#"), s6_panel);
        sharp->setObjectName(QStringLiteral("s6_vorz%1").arg(n));
        sharp->move(0, 0);
        sharp->hide();
        m_sharps[static_cast<std::size_t>(n - 1)] = sharp;
    }
}

void StaffTab::freeSlots() {
    for (std::size_t i = 0; i < 64; ++i) {
        delete m_lyrics[i];
        delete m_notes[i];
        delete m_sharps[i];
        m_lyrics[i] = nullptr;
        m_notes[i] = nullptr;
        m_sharps[i] = nullptr;
    }
}

} // namespace versilla::app
