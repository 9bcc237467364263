#pragma once
#include <QWidget>

class QFrame;
class QTextEdit;

namespace versilla::app {

/// Tab 1: the two karaoke panes `s1_oben` and `s1_unten` on a white panel.
class KaraokeTab : public QWidget {
    Q_OBJECT
public:
    explicit KaraokeTab(QWidget* parent);

    QFrame* panel;
    QTextEdit* s1_oben;
    QTextEdit* s1_unten;
};

} // namespace versilla::app
