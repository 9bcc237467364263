#include "app/AssignmentTab.h"

#include "app/DialogRunner.h"
#include "app/PageControl.h"
#include "app/TForm1.h"
#include "app/Text.h"
#include "app/Widgets.h"
#include "app/controls/TDBNavigatorVelk.h"
#include "core/Prompter.h"
#include "song/AutoAssign.h"
#include "song/Workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

namespace versilla::app {

AssignmentTab::AssignmentTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet5"));

    Panel5 = placePanel(this, "Panel5", 4, 4, 410, 300);
    s5_text = placed<QTextEdit>(Panel5, "s5_text", 5, 5, 400, 290);
    s5_text->setReadOnly(true);
    s5_text->setAcceptRichText(false);
    s5_text->setFont(courierFont(16, true));
    {
        // The syllable being assigned stays highlighted while the focus is elsewhere.
        QPalette palette = s5_text->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
        s5_text->setPalette(palette);
    }

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
    wwDBNavigator1 = placed<TDBNavigatorVelk>(Panel6, "wwDBNavigator1", 5, 188, 322, 25);
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
    connect(s5_auto, &QPushButton::clicked, this, &AssignmentTab::s5_autoClick);
}

TForm1* AssignmentTab::host() const {
    return qobject_cast<TForm1*>(window());
}

bool AssignmentTab::enterTab(const std::string& lyricText) {
    if (!m_textState.enterTab(lyricText)) return false;
    // Each byte is one character and the line feed one block separator, so the
    // edit's positions are the assignment text's byte positions.
    s5_text->setPlainText(toQString(m_textState.text()));
    QTextCursor cursor = s5_text->textCursor();
    cursor.setPosition(0);
    s5_text->setTextCursor(cursor);
    s5_eintragen->setEnabled(false);
    if (TForm1* form = host()) form->state().manualMode = false;
    return true;
}

void AssignmentTab::showSelection(int start, int length) {
    const int end = std::max(0, s5_text->document()->characterCount() - 1);
    start = std::clamp(start, 0, end);
    QTextCursor cursor = s5_text->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + length, start, end), QTextCursor::KeepAnchor);
    s5_text->setTextCursor(cursor);
    s5_text->ensureCursorVisible();
}

void AssignmentTab::s5_autoClick() {
    TForm1* form = host();
    if (!form || !m_workspace) return;
    const QTextCursor cursor = s5_text->textCursor();
    song::AutoAssignInput input;
    input.text = m_textState.text();
    if (cursor.hasSelection()) {
        input.selStart = cursor.selectionStart();
        input.selLength = cursor.selectionEnd() - cursor.selectionStart();
    }
    input.nextPosition = m_textState.nextPosition();
    input.beforeReport = [this] {
        if (s5_abbrechen->isEnabled()) s5_abbrechen->click();
        emit autoAssignFinishing();
        // Switched as if the user had clicked the tab: a song is open and nothing
        // plays, so no question comes up, and tab 5 gets its set-up (fresh row
        // snapshot, player buttons).
        for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
            if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                const int next = tabs->indexOf(this) + 1;
                if (next <= 0 || next >= tabs->count()) break;
                if (auto* pages = qobject_cast<PageControl*>(tabs))
                    pages->userSwitch(next);
                else
                    tabs->setCurrentIndex(next);
                break;
            }
        }
    };
    const song::AutoAssignResult result = song::autoAssign(*m_workspace, input, form->prompter());
    switch (result.outcome) {
    case song::AutoAssignOutcome::Stopped:
        return;
    case song::AutoAssignOutcome::Failed:
        form->dialogs().showEngineError(form, QString::fromStdString(result.error));
        return;
    case song::AutoAssignOutcome::Done:
    case song::AutoAssignOutcome::Refused:
        break;
    }
    m_textState.setNextPosition(result.nextPosition);
    showSelection(result.selStart, result.selLength);
    if (result.refusal) {
        showRefusal(form->prompter(), *result.refusal);
        // The refused row would stay half-edited with no editor open for it on
        // this tab; drop it so the list and both grids show the saved rows only.
        if (m_workspace->list().isEditing()) m_workspace->list().cancel();
    }
}

} // namespace versilla::app
