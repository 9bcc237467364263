#pragma once
#include <QWidget>

class QFrame;
class QPushButton;
class QTextEdit;

namespace versilla::app {

/// Tab 3: the lyric text editor `s4_text` with its column rulers and commands.
class LyricTextTab : public QWidget {
    Q_OBJECT
public:
    explicit LyricTextTab(QWidget* parent);
    /// Shares the button row's width out by the buttons' captions (after a caption change).
    void layoutButtons();

    QFrame* Panel12;
    QTextEdit* s4_text;
    QPushButton* s3_lz;
    QPushButton* s3_bs;
    QPushButton* s3_tl;
    QPushButton* s3_st;
    QPushButton* s4_ladenmidifile;
    QPushButton* s3_laden;
    QPushButton* s4_speichern;
    QPushButton* s4_speichernunter;
};

} // namespace versilla::app
