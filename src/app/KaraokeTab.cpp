#include "app/KaraokeTab.h"

#include "app/Widgets.h"

#include <QTextEdit>

namespace versilla::app {

namespace {

QTextEdit* pane(QWidget* parent, const char* name, int y, bool scrollBar) {
    auto* edit = placed<QTextEdit>(parent, name, 4, y, 746, 180);
    edit->setReadOnly(true);
    // Display only: no caret, no typing, but the highlight (selection) stays visible.
    edit->setTextInteractionFlags(Qt::NoTextInteraction);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAcceptRichText(false);
    edit->setWordWrapMode(QTextOption::NoWrap);
    edit->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setFont(courierFont(32, true));
    edit->setToolTip(QStringLiteral("Der eingetragene Text im Midifile"));
    return edit;
}

} // namespace

KaraokeTab::KaraokeTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    panel = placed<QFrame>(this, "Panel13", 0, 0, 754, 368);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    s1_oben = pane(panel, "s1_oben", 3, true);
    s1_unten = pane(panel, "s1_unten", 185, false);
}

} // namespace versilla::app
