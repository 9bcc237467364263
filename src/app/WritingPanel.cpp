#include "app/WritingPanel.h"

#include "app/Widgets.h"

namespace versilla::app {

WritingPanel::WritingPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel9"));
    setGeometry(658, 0, 104, 88);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    s1_texteintragentext =
        placeLabel(this, "s1_texteintragentext", QStringLiteral("Text eintragen"), 7, 6, 92, 16);
    QFont bold = s1_texteintragentext->font();
    bold.setBold(true);
    s1_texteintragentext->setFont(bold);
    s1_eintragen = placeButton(this, "s1_eintragen", QStringLiteral("Eintragen"), 6, 28, 92, 24);
    s1_rueckgaengig = placeButton(this, "s1_rueckgaengig", QStringLiteral("rückgängig"), 6, 57, 92, 25);
}

} // namespace versilla::app
