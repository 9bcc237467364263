// Tab switching: when the user may leave a tab and what the shown tab sets up.
#include "app/TForm1.h"

#include "app/AssignmentTab.h"
#include "app/KaraokeTab.h"
#include "app/LyricTextTab.h"
#include "app/PlayerPanel.h"
#include "app/SongFactsPanel.h"
#include "app/StaffTab.h"
#include "core/Prompter.h"
#include "core/TimeText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace versilla::app {

namespace {

// Tab indexes of PageControl1.
constexpr int kKaraokeTab = 0;
constexpr int kWordTab = 1;
constexpr int kTextTab = 2;
constexpr int kAssignTab = 3;
constexpr int kStaffTab = 4;

} // namespace

bool TForm1::PageControl1Changing(int /*index*/) {
    Prompt notice;
    notice.icon = PromptIcon::Information;
    if (!songOpen()) {
        notice.message = MessageId{1, 28};
        m_prompter->ask(notice);
        return false;
    }
    if (m_state.playing) {
        notice.message = MessageId{1, 29};
        m_prompter->ask(notice);
        return false;
    }
    // The focus finishes a pending edit of the song name.
    if (Panel1->s1_spurname->isEnabled()) Panel1->s1_spurname->setFocus();
    m_state.previousTab = PageControl1->currentIndex();
    freezeDrawing(true);
    return true;
}

void TForm1::freezeDrawing(bool frozen) {
    if (m_drawingFrozen == frozen) return;
    m_drawingFrozen = frozen;
    setUpdatesEnabled(!frozen);
}

void TForm1::goBack() {
    // Silent: going back raises no switch rules of its own.
    PageControl1->setCurrentIndex(m_state.previousTab);
    freezeDrawing(false);
}

void TForm1::PageControl1Change(int index) {
    const auto inform = [this](MessageId message) {
        Prompt notice;
        notice.message = message;
        notice.icon = PromptIcon::Information;
        m_prompter->ask(notice);
    };
    const bool manualShown = !Panel2->s1_anzeigetext->isHidden();
    int shown = index;

    if (shown == kKaraokeTab && listChanged()) {
        if (m_workspace->list().rowCount() == 0) {
            freezeDrawing(false);
            inform(MessageId{1, 31});
            goBack();
        } else {
            Prompt question;
            question.message = MessageId{1, 30};
            question.icon = PromptIcon::Question;
            question.buttons = PromptButtons::YesNo;
            question.defaultAnswer = Answer::Yes;
            freezeDrawing(false);
            if (m_prompter->ask(question) == Answer::Yes)
                s1_eintragenClick();
            else
                goBack();
        }
        shown = PageControl1->currentIndex();
    }
    if (shown == kAssignTab && TabSheet4->s4_text->toPlainText().isEmpty()) {
        goBack();
        inform(MessageId{1, 32});
        return;
    }
    if (shown == kStaffTab && m_workspace->list().rowCount() == 0) {
        goBack();
        inform(MessageId{1, 33});
        return;
    }
    if (shown == kKaraokeTab && manualShown) {
        goBack();
        inform(MessageId{1, 34});
        return;
    }

    freezeDrawing(false);
    setUpPlayerButtons(shown);
    switch (shown) {
    case kKaraokeTab:
        m_karaoke.removeHighlights();
        TabSheet1->showHighlights(m_karaoke);
        Panel2->s1_abspielen->setFocus();
        break;
    case kTextTab:
        TabSheet4->s4_text->setFocus();
        break;
    case kAssignTab:
        enterAssignmentTab();
        break;
    case kStaffTab:
        if (m_workspace->list().marks().staffRefresh) {
            // The staff works on a fresh snapshot of the list.
            m_workspace->list().takeSnapshot(m_workspace->rowSnapshot(), lyrics::SnapshotMode::Other);
            m_workspace->list().marks().staffRefresh = false;
        }
        if (Panel2->s1_abspielen->isEnabled()) TabSheet6->s6_taktzeiger->move(60, 13);
        TabSheet6->s6_taktzeiger->hide();
        break;
    default:
        break;
    }
}

void TForm1::setUpPlayerButtons(int index) {
    const bool manualShown = !Panel2->s1_anzeigetext->isHidden();
    switch (index) {
    case kKaraokeTab:
    case kWordTab:
    case kAssignTab: {
        Panel2->s1_abspielen->setEnabled(!(index == kWordTab && manualShown));
        Panel2->s1_stopp->setEnabled(false);
        // Continue only where the stop happened: on tab 4, or anywhere but tab 4.
        const bool resume = m_workspace->flags().continueAllowed &&
                            ((m_state.stopTab == kAssignTab) == (index == kAssignTab));
        Panel2->s1_weiter->setEnabled(resume);
        if (resume)
            Panel2->s1_aktzeit->setText(QString::fromStdString(core::MsToTimeText(m_state.stopTime)));
        else
            Panel2->s1_aktzeit->clear();
        break;
    }
    case kStaffTab:
        Panel2->s1_abspielen->setEnabled(!manualShown);
        Panel2->s1_stopp->setEnabled(false);
        Panel2->s1_weiter->setEnabled(false);
        break;
    default:
        Panel2->s1_abspielen->setEnabled(false);
        Panel2->s1_stopp->setEnabled(false);
        Panel2->s1_weiter->setEnabled(false);
        break;
    }
}

void TForm1::enterAssignmentTab() {
    // Rebuilds the assignment text only when the lyric text changed since the last visit.
    TabSheet5->enterTab(TabSheet4->text());
    Panel2->s1_abspielen->setFocus();
}

} // namespace versilla::app
