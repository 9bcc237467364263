#pragma once
#include <QFrame>

class QLabel;
class QPushButton;

namespace versilla::app {

/// The writing panel `Panel9`: write the lyrics into the song, and undo.
class WritingPanel : public QFrame {
    Q_OBJECT
public:
    explicit WritingPanel(QWidget* parent);

    QLabel* s1_texteintragentext;
    QPushButton* s1_eintragen;
    QPushButton* s1_rueckgaengig;
};

} // namespace versilla::app
