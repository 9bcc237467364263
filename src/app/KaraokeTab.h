#pragma once
#include <QWidget>

class QFrame;
class QTextEdit;

namespace versilla::player {
class KaraokeDisplay;
struct KaraokePane;
} // namespace versilla::player

namespace versilla::app {

/// Tab 1: the two karaoke panes `s1_oben` and `s1_unten` on a white panel.
class KaraokeTab : public QWidget {
    Q_OBJECT
public:
    explicit KaraokeTab(QWidget* parent);

    /// Shows both panes of `display`: their text and their highlight.
    void showPanes(const player::KaraokeDisplay& display);
    /// Shows one pane's text and highlight in `edit`.
    static void showPane(QTextEdit* edit, const player::KaraokePane& pane);
    /// Shows only the highlights again (the texts are unchanged).
    void showHighlights(const player::KaraokeDisplay& display);

    QFrame* panel;
    QTextEdit* s1_oben;
    QTextEdit* s1_unten;
};

} // namespace versilla::app
