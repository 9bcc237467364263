#include "app/AssignmentTab.h"

#include "app/Widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextEdit>

namespace versilla::app {

AssignmentTab::AssignmentTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet5"));

    Panel5 = placePanel(this, "Panel5", 4, 4, 410, 300);
    s5_text = placed<QTextEdit>(Panel5, "s5_text", 5, 5, 400, 290);
    s5_text->setReadOnly(true);
    s5_text->setAcceptRichText(false);
    s5_text->setFont(courierFont(16, true));

    Panel8 = placed<QFrame>(this, "Panel8", 4, 308, 410, 58);
    Panel8->setAutoFillBackground(true);
    s5_eintragen =
        placeButton(Panel8, "s5_eintragen", QStringLiteral("Wort/Silbe manuell &zuordnen"), 0, 6, 410, 46);

    Panel6 = placePanel(this, "Panel6", 418, 4, 332, 246);
    s5_grid = placed<QTableView>(Panel6, "s5_grid", 5, 5, 322, 180);
    gridModel = new QStandardItemModel(0, 2, s5_grid);
    s5_grid->setModel(gridModel);
    s5_grid->setAlternatingRowColors(true);
    s5_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    s5_grid->verticalHeader()->setDefaultSectionSize(18);
    gridModel->setHorizontalHeaderLabels({QStringLiteral("Zeit"), QStringLiteral("Text")});
    wwDBNavigator1 = placed<QWidget>(Panel6, "wwDBNavigator1", 5, 188, 322, 24);
    auto* navLayout = new QHBoxLayout(wwDBNavigator1);
    navLayout->setContentsMargins(0, 0, 0, 0);
    navLayout->setSpacing(1);
    for (const char* glyph : {"|◀", "◀", "▶", "▶|"}) {
        auto* button = new QPushButton(QString::fromUtf8(glyph), wwDBNavigator1);
        button->setFocusPolicy(Qt::ClickFocus);
        navLayout->addWidget(button);
    }
    s5_zeit = placeButton(Panel6, "s5_zeit", QStringLiteral("als Startzeit"), 5, 216, 158, 24);
    s5_loeschen = placeButton(Panel6, "s5_loeschen", QStringLiteral("Löschen"), 169, 216, 158, 24);

    Panel7 = placePanel(this, "Panel7", 418, 254, 332, 112);
    s5_auto = placeButton(Panel7, "s5_auto",
                          QStringLiteral("Text nach den Noten der Melodiespur automatisch zuordnen"), 5, 5, 322, 32);
    s5_synchro = placeButton(Panel7, "s5_synchro",
                             QStringLiteral("zugeordneten Text mit dem Takt synchronisieren"), 5, 40, 322, 32);
    s5_abbrechen = placeButton(Panel7, "s5_abbrechen", QStringLiteral("Textzuordnung beenden"), 5, 75, 322, 32);
    for (QPushButton* b : {s5_auto, s5_synchro}) {
        b->setToolTip(b->text());
    }
    s5_abbrechen->setEnabled(false);
}

} // namespace versilla::app
