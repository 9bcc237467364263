#include "app/KaraokeTab.h"

#include "app/Text.h"
#include "app/Widgets.h"
#include "lyrics/Marks.h"
#include "player/KaraokePanes.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

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
    edit->document()->setDocumentMargin(2);
    edit->setToolTip(QStringLiteral("Der eingetragene Text im Midifile"));
    // The highlight is the selection; it must look the same without the focus.
    QPalette palette = edit->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    edit->setPalette(palette);
    return edit;
}

void select(QTextEdit* edit, int start, int length) {
    QTextCursor cursor(edit->document());
    const int end = std::max(0, edit->document()->characterCount() - 1);
    cursor.setPosition(std::clamp(start, 0, end));
    cursor.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
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

void KaraokeTab::showPane(QTextEdit* edit, const player::KaraokePane& pane) {
    // A line-break entry shows as a blank before its line end: one character for
    // one character, so the highlight offsets stay those of the pane's text.
    std::string shown = pane.text;
    std::replace(shown.begin(), shown.end(), static_cast<char>(lyrics::kLineBreak), ' ');
    const QString text = toQString(shown);
    if (edit->toPlainText() != text) {
        edit->setPlainText(text);
        // Five lines fill the pane whatever the line spacing of the font found here.
        const qreal margin = edit->document()->documentMargin();
        const int frame = edit->frameWidth();
        const qreal line = (edit->height() - 2 * frame - 2 * margin) / player::kPaneLines;
        QTextBlockFormat format;
        format.setLineHeight(line, QTextBlockFormat::FixedHeight);
        QTextCursor all(edit->document());
        all.select(QTextCursor::Document);
        all.mergeBlockFormat(format);
    }
    select(edit, pane.selStart, pane.selLength);
}

void KaraokeTab::showPanes(const player::KaraokeDisplay& display) {
    showPane(s1_oben, display.top());
    showPane(s1_unten, display.bottom());
}

void KaraokeTab::showHighlights(const player::KaraokeDisplay& display) {
    select(s1_oben, display.top().selStart, display.top().selLength);
    select(s1_unten, display.bottom().selStart, display.bottom().selLength);
}

} // namespace versilla::app
