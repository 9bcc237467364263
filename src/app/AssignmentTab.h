#pragma once
#include <QWidget>

class QFrame;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTextEdit;

namespace versilla::app {

/// Tab 4: the assignment text `s5_text`, the list grid `s5_grid` and the
/// assignment commands.
class AssignmentTab : public QWidget {
    Q_OBJECT
public:
    explicit AssignmentTab(QWidget* parent);

    QFrame* Panel5;
    QTextEdit* s5_text;
    QFrame* Panel8;
    QPushButton* s5_eintragen;
    QFrame* Panel6;
    QTableView* s5_grid;
    QStandardItemModel* gridModel;
    QWidget* wwDBNavigator1;
    QPushButton* s5_zeit;
    QPushButton* s5_loeschen;
    QFrame* Panel7;
    QPushButton* s5_auto;
    QPushButton* s5_synchro;
    QPushButton* s5_abbrechen;
};

} // namespace versilla::app
