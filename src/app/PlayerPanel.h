#pragma once
#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

namespace versilla::app {

/// The player panel `Panel2`: start time, current time and the play, stop and
/// continue buttons, with the manual assignment indicator.
class PlayerPanel : public QFrame {
    Q_OBJECT
public:
    explicit PlayerPanel(QWidget* parent);

    QLabel* s1_playertext;
    QLabel* s1_anzeigetext;
    QPushButton* s1_st;
    QLineEdit* s1_startzeit;
    QLabel* s1_aktzeittext;
    QLineEdit* s1_aktzeit;
    QPushButton* s1_abspielen;
    QPushButton* s1_stopp;
    QPushButton* s1_weiter;
};

} // namespace versilla::app
