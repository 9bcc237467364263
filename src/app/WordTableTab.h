#pragma once
#include "app/AssignmentModel.h"
#include "app/controls/TDBNavigatorVelk.h"
#include "app/controls/TNumEditVelk.h"

#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace versilla {
class Prompter;
namespace lyrics {
class AssignmentList;
}
} // namespace versilla

namespace versilla::app {


/// Tab 2: the word grid `wwDBGrid2` with its navigator, the single-row editor
/// `wwRecordViewPanel1` with the save/cancel panel `CBPost1`, and the word,
/// range and search commands. The grid's model is shared with the grid of
/// tab 4 (see bindAssignmentGrid()).
class WordTableTab : public QWidget {
    Q_OBJECT
public:
    explicit WordTableTab(QWidget* parent);
    ~WordTableTab() override;

    /// Shows `list` in the grid, the record panel and the navigator; saves that
    /// are refused and cancel questions go through `prompter`. Both must
    /// outlive the binding (or call unbind() first; a destroyed list unbinds
    /// itself).
    void bind(lyrics::AssignmentList& list, Prompter& prompter);
    void unbind();

    /// Replaces the grid's and the record panel's column titles: ZEIT, TEXT,
    /// STRZEIT with widths of 10, 41 and 11 characters.
    void setColumns(const QString& zeit, const QString& text, const QString& strzeit);

    /// Tells the tab whether manual assignment runs (typed "-" and space are
    /// then left alone). Without a probe the list's manual assignment mark is read.
    void setManualAssignmentProbe(std::function<bool()> probe) { m_manualProbe = std::move(probe); }

    /// The panel's save button: saves the row in edit state (a refusal is shown
    /// and focuses its field). True when nothing is left unsaved.
    bool saveClicked();
    /// The panel's cancel button: asks message 1/38; Yes cancels the edit.
    bool cancelClicked();

    /// Multi-selection of the grid on or off (off unmarks all rows).
    void setMultiSelect(bool on);

    QTableView* wwDBGrid2;
    AssignmentModel* gridModel;      ///< shared with the grid of tab 4
    AssignmentGridBinding* gridBinding;
    TDBNavigatorVelk* DBNavigatorVelk1;
    QFrame* wwRecordViewPanel1;
    QLabel* recordTitles[3];
    QLineEdit* recordFields[3];      ///< ZEIT, TEXT, STRZEIT (read-only)
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
    TNumEditVelk* s2_zielzeit;
    QPushButton* s2_kopieren;
    TNumEditVelk* s2_schiebenzeit;
    QPushButton* s2_verschieben;
    QPushButton* s2_blockloeschen;

    QFrame* Panel11;
    QLineEdit* s2_suchwort;
    QPushButton* s2_vomanfang;
    QPushButton* s2_abposition;
    QPushButton* s2_ersetzen;

signals:
    /// A mark or button state of the list changed: "Eintragen" and
    /// "rückgängig" follow ListMarks::writeUndoEnabled (read it from the list).
    void listMarksChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool tabActive() const;
    bool manualAssignmentRunning() const;
    bool handleTabKey(QWidget* target, QKeyEvent* key);
    void marksChanged();
    void refreshRecord(bool hard);
    void recordEdited(int field, const QString& text);
    void focusField(const QString& field);
    void updatePanelButtons();

    lyrics::AssignmentList* m_list = nullptr;
    std::function<bool()> m_manualProbe;
    bool m_wordCommandsEnabled = true;
};

} // namespace versilla::app
