#pragma once
#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

namespace versilla::app {

/// The song facts panel `Panel1`: open and save, name, tempo, time signature,
/// length, format and the copyright indicator `caus`.
class SongFactsPanel : public QFrame {
    Q_OBJECT
public:
    explicit SongFactsPanel(QWidget* parent);

    QPushButton* s1_oeffnen;
    QPushButton* s1_speichern;
    QLabel* logo;
    QLabel* s1_nametext;
    QLineEdit* s1_spurname;
    QLabel* s1_tempotext;
    QLineEdit* s1_tempo;
    QPushButton* s1_tempoauswahl;
    QLabel* s1_taktarttext;
    QLineEdit* s1_taktart;
    QLabel* s1_dauertext;
    QLineEdit* s1_dauer;
    QLabel* s1_formattext;
    QLineEdit* s1_format;
    QLabel* caus;
};

} // namespace versilla::app
