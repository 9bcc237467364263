#pragma once
#include <QFrame>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace versilla::app {

/// A filled circle of 7 x 7 pixels: one melody note on the staff.
class NoteShape : public QWidget {
    Q_OBJECT
public:
    explicit NoteShape(QWidget* parent);
    void setFill(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
};

/// The staff panel: draws the two fixed five-line systems with their guide
/// lines and eighth rulers; notes and syllables are child controls on top.
class StaffPanel : public QFrame {
    Q_OBJECT
public:
    explicit StaffPanel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// Tab 5: the staff view `s6_panel` with paging and octave controls and the
/// 192 slot controls (lyrics, notes, sharps) that the staff view places.
class StaffTab : public QWidget {
    Q_OBJECT
public:
    explicit StaffTab(QWidget* parent);

    /// Creates the hidden slot controls `s6_lyric1..64`, `s6_note1..64` and
    /// `s6_vorz1..64` on `s6_panel`; a second call does nothing.
    void createSlots();
    /// Frees the slot controls again.
    void freeSlots();
    bool hasSlots() const { return m_lyrics[0] != nullptr; }

    StaffPanel* s6_panel;
    QLabel* s6_achtel1;
    QLabel* s6_achtel2;
    QFrame* s6_taktzeiger;
    QPushButton* s6_abAnfang;
    QPushButton* s6_seiterueck;
    QPushButton* s6_zeilerueck;
    QComboBox* s6_oktave;
    QPushButton* s6_zeilevor;
    QPushButton* s6_seitevor;
    QPushButton* s6_zumEnde;
    QPushButton* s6_auto;
    QLabel* s6_hilfetext;

    std::array<QLabel*, 64> m_lyrics{};
    std::array<NoteShape*, 64> m_notes{};
    std::array<QLabel*, 64> m_sharps{};
};

} // namespace versilla::app
