#include "app/LyricTextTab.h"

#include "app/Widgets.h"

#include <QTextEdit>

namespace versilla::app {

namespace {

// A row of red column numbers 1 to 38 over the editor's character columns.
void addRuler(QWidget* parent, int y) {
    QFont font = windowFont();
    font.setPixelSize(8);
    for (int column = 1; column <= 38; ++column) {
        const int x = 21 + (column - 1) * (720 - 21) / 37;
        auto* label = new QLabel(QString::number(column), parent);
        label->setFont(font);
        label->setGeometry(x - 6, y, 14, 11);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(palette);
    }
}

} // namespace

LyricTextTab::LyricTextTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet4"));
    Panel12 = placed<QFrame>(this, "Panel12", 0, 0, 754, 368);
    Panel12->setAutoFillBackground(true);

    s4_text = placed<QTextEdit>(Panel12, "s4_text", 12, 12, 730, 295);
    s4_text->setAcceptRichText(false);
    s4_text->setWordWrapMode(QTextOption::NoWrap);
    s4_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    s4_text->setFont(courierFont(32, true));
    s4_text->setToolTip(QStringLiteral("Geben Sie hier den Midifile-Text ein"));
    addRuler(Panel12, 0);
    addRuler(Panel12, 308);

    struct ButtonDef {
        const char* name;
        const char* caption;
        const char* hint;
        QPushButton** slot;
    };
    const ButtonDef buttons[] = {
        {"s3_lz", "geschütztes &Leerzeichen", "Fügt an aktueller Stelle ein geschütztes Leerzeichen ein", &s3_lz},
        {"s3_bs", "geschützter &Bindestrich", "Fügt an aktueller Stelle einen geschützten Bindestrich ein", &s3_bs},
        {"s3_tl", "Text löschen", "Löscht den gesamten Text", &s3_tl},
        {"s3_st", "Silbentrennung", "Führt die automatische Silbentrennung durch", &s3_st},
        {"s4_ladenmidifile", "Text aus Midifile", "Lädt den eingetragenen Text des Midifiles", &s4_ladenmidifile},
        {"s3_laden", "Text aus Datei", "Lädt den Text aus einer Textdatei", &s3_laden},
        {"s4_speichern", "Text speichern", "Speichert den Text in der aktuellen Textdatei", &s4_speichern},
        {"s4_speichernunter", "Speichern unter", "Speichert den Text in einer zu wählenden Textdatei",
         &s4_speichernunter},
    };
    for (const ButtonDef& def : buttons) {
        QPushButton* button = placeButton(Panel12, def.name, QString::fromUtf8(def.caption), 0, 329, 80, 32);
        button->setToolTip(QString::fromUtf8(def.hint));
        *def.slot = button;
    }
    layoutButtons();
}

void LyricTextTab::layoutButtons() {
    // The row spans the editor's width; each button gets room in proportion to its caption.
    QPushButton* row[] = {s3_lz, s3_bs, s3_tl, s3_st, s4_ladenmidifile, s3_laden, s4_speichern, s4_speichernunter};
    const int gap = 2;
    const int total = 730 - gap * 7;
    int textWidth = 0;
    int widths[8];
    for (int i = 0; i < 8; ++i) {
        widths[i] = row[i]->fontMetrics().horizontalAdvance(QString(row[i]->text()).remove(QLatin1Char('&'))) + 12;
        textWidth += widths[i];
    }
    int x = 12;
    for (int i = 0; i < 8; ++i) {
        const int w = i == 7 ? 742 - x : widths[i] * total / textWidth;
        row[i]->setGeometry(x, row[i]->y(), w, 32);
        x += w + gap;
    }
}

} // namespace versilla::app
