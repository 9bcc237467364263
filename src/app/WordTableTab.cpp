#include "app/WordTableTab.h"

#include "app/Widgets.h"

#include <QHeaderView>
#include <QIntValidator>
#include <QStandardItemModel>
#include <QTableView>

namespace versilla::app {

WordTableTab::WordTableTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));

    wwDBGrid2 = placed<QTableView>(this, "wwDBGrid2", 4, 4, 436, 238);
    gridModel = new QStandardItemModel(0, 3, wwDBGrid2);
    wwDBGrid2->setModel(gridModel);
    wwDBGrid2->setAlternatingRowColors(true);
    wwDBGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    wwDBGrid2->verticalHeader()->setDefaultSectionSize(18);

    wwRecordViewPanel1 = placed<QFrame>(this, "wwRecordViewPanel1", 4, 246, 436, 86);
    wwRecordViewPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    static const char* fieldNames[3] = {"ZEIT", "TEXT", "STRZEIT"};
    for (int i = 0; i < 3; ++i) {
        recordTitles[i] = placeLabel(wwRecordViewPanel1, nullptr, QString(), 6, 6 + i * 26, 80, 18);
        recordTitles[i]->setObjectName(QString());
        recordFields[i] = placed<QLineEdit>(wwRecordViewPanel1, fieldNames[i], 90, 4 + i * 26, 100, 21);
        recordFields[i]->setObjectName(QString());
        recordFields[i]->setProperty("field", QString::fromLatin1(fieldNames[i]));
    }
    recordFields[2]->setReadOnly(true);

    CBPost1 = placed<QFrame>(this, "CBPost1", 4, 335, 436, 30);
    saveButton = placeButton(CBPost1, "CBPost1Save", QStringLiteral("Speichern "), 0, 2, 100, 26);
    cancelButton = placeButton(CBPost1, "CBPost1Cancel", QStringLiteral("Abbrechen "), 104, 2, 100, 26);

    Panel3 = placePanel(this, "Panel3", 446, 4, 304, 110);
    s2_aktuellestext =
        placeLabel(Panel3, "s2_aktuellestext", QStringLiteral("Bearbeiten Sie hier das aktuelle Wort"), 8, 6, 288, 16);
    s2_neuanlage = placeButton(Panel3, "s2_neuanlage", QStringLiteral("&Neues Wort"), 8, 26, 140, 24);
    s2_loeschen = placeButton(Panel3, "s2_loeschen", QStringLiteral("Wort &löschen"), 156, 26, 140, 24);
    s2_zs = placeButton(Panel3, "s2_zs", QString(QChar(0xB6)) + QStringLiteral("ZS"), 8, 54, 68, 24);
    s2_lz = placeButton(Panel3, "s2_lz", QString(QChar(0xA4)) + QStringLiteral("Ohne LZ"), 80, 54, 68, 24);
    s2_alsstartzeit = placeButton(Panel3, "s2_alsstartzeit", QStringLiteral("als Startzeit"), 156, 54, 140, 24);

    Panel4 = placePanel(this, "Panel4", 446, 118, 304, 150);
    s2_bereichtext = placeLabel(Panel4, "s2_bereichtext", QStringLiteral("Bereichsfunktionen"), 8, 6, 288, 16);
    s2_multiselect = placeButton(Panel4, "s2_multiselect", QStringLiteral("Multiselect ein"), 8, 26, 288, 24);
    s2_multiselect->setToolTip(QStringLiteral("Schaltet Mehrfachmarkierung ein und aus"));
    s2_zielzeit = placed<QLineEdit>(Panel4, "s2_zielzeit", 8, 57, 140, 22);
    s2_zielzeit->setValidator(new QIntValidator(0, 2147483647, s2_zielzeit));
    s2_kopieren = placeButton(Panel4, "s2_kopieren", QStringLiteral("Kopieren"), 156, 56, 140, 24);
    s2_schiebenzeit = placed<QLineEdit>(Panel4, "s2_schiebenzeit", 8, 87, 140, 22);
    s2_schiebenzeit->setValidator(new QIntValidator(-1000000, 2147483647, s2_schiebenzeit));
    s2_verschieben = placeButton(Panel4, "s2_verschieben", QStringLiteral("Verschieben"), 156, 86, 140, 24);
    s2_blockloeschen = placeButton(Panel4, "s2_blockloeschen", QStringLiteral("Löschen"), 156, 116, 140, 24);

    Panel11 = placePanel(this, "Panel11", 446, 272, 304, 94);
    s2_suchwort = placed<QLineEdit>(Panel11, "s2_suchwort", 8, 8, 288, 22);
    s2_suchwort->setToolTip(QStringLiteral("Suchwort oder Silbe"));
    s2_vomanfang = placeButton(Panel11, "s2_vomanfang", QStringLiteral("Suchen vom Anfang"), 8, 36, 140, 24);
    s2_abposition = placeButton(Panel11, "s2_abposition", QStringLiteral("Suchen ab Position"), 156, 36, 140, 24);
    s2_ersetzen = placeButton(Panel11, "s2_ersetzen", QStringLiteral("Ersetzen"), 8, 64, 288, 24);

    setColumns(QStringLiteral("Zeit"), QStringLiteral("Text"), QStringLiteral("Zeit als Text"));
}

void WordTableTab::setColumns(const QString& zeit, const QString& text, const QString& strzeit) {
    const QString titles[3] = {zeit, text, strzeit};
    static const int widths[3] = {10, 41, 11};
    const int charWidth = wwDBGrid2->fontMetrics().averageCharWidth();
    gridModel->setHorizontalHeaderLabels({titles[0], titles[1], titles[2]});
    int x = 90;
    for (int i = 0; i < 3; ++i) {
        wwDBGrid2->setColumnWidth(i, widths[i] * charWidth);
        recordTitles[i]->setText(titles[i]);
        const int w = std::min(widths[i] * charWidth + 8, 340);
        recordFields[i]->setGeometry(x, 4 + i * 26, w, 21);
    }
}

} // namespace versilla::app
