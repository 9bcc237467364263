#pragma once
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace versilla::app {

/// Tab 2: the word grid `wwDBGrid2` with its single-row editor and the word,
/// range and search commands.
class WordTableTab : public QWidget {
    Q_OBJECT
public:
    explicit WordTableTab(QWidget* parent);

    /// Replaces the grid's and the record panel's columns: ZEIT, TEXT, STRZEIT
    /// with widths of 10, 41 and 11 characters and the given titles.
    void setColumns(const QString& zeit, const QString& text, const QString& strzeit);

    QTableView* wwDBGrid2;
    QStandardItemModel* gridModel;
    QFrame* wwRecordViewPanel1;
    QLabel* recordTitles[3];
    QLineEdit* recordFields[3];
    QFrame* CBPost1;
    QPushButton* saveButton;
    QPushButton* cancelButton;

    QFrame* Panel3;
    QLabel* s2_aktuellestext;
    QPushButton* s2_neuanlage;
    QPushButton* s2_loeschen;
    QPushButton* s2_zs;
    QPushButton* s2_lz;
    QPushButton* s2_alsstartzeit;

    QFrame* Panel4;
    QLabel* s2_bereichtext;
    QPushButton* s2_multiselect;
    QLineEdit* s2_zielzeit;
    QPushButton* s2_kopieren;
    QLineEdit* s2_schiebenzeit;
    QPushButton* s2_verschieben;
    QPushButton* s2_blockloeschen;

    QFrame* Panel11;
    QLineEdit* s2_suchwort;
    QPushButton* s2_vomanfang;
    QPushButton* s2_abposition;
    QPushButton* s2_ersetzen;
};

} // namespace versilla::app
