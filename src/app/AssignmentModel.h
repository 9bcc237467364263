#pragma once
#include "app/controls/NavigatorDataSet.h"
#include "lyrics/AssignmentList.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include <QTableView>

namespace versilla {
class Prompter;
}

namespace versilla::app {

class TDBNavigatorVelk;

/// The assignment list as a three-column table (ZEIT, TEXT, STRZEIT) for the
/// grids of tab 2 and tab 4, and the one place where the grids, the record
/// panel and the navigators move the list's cursor and save its row.
///
/// Works like a data-aware grid: editing a cell puts the current row in edit
/// state; moving to another row (moveTo) or pressing the panel's save (post)
/// saves it through the list's save rules. A refused save shows its message
/// through the Prompter, emits refused() with the field to focus, and keeps
/// the row in edit state (the cursor does not move).
///
/// Without a list (before bind()) the model has no rows.
class AssignmentModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Zeit = 0, Text = 1, Strzeit = 2, ColumnCount = 3 };
    /// Field names of the columns as the list knows them.
    static const char* fieldName(int column);
    /// Column widths in characters.
    static int columnChars(int column);

    explicit AssignmentModel(QObject* parent = nullptr);
    ~AssignmentModel() override;

    /// Follows `list` from now on (null: no rows), asking through `prompter`.
    /// One reset for the views.
    void setList(lyrics::AssignmentList* list, Prompter* prompter);
    lyrics::AssignmentList* list() const { return m_list; }
    Prompter* prompter() const { return m_prompter; }

    /// Column titles (from the caption table); headerDataChanged follows.
    void setTitles(const QString& zeit, const QString& text, const QString& strzeit);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// ZEIT (an integer; empty is 0) and TEXT of a row: the row becomes current
    /// first (saving another row in edit state) and goes into edit state.
    /// False for STRZEIT, a time that is no number, or a refused move.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    /// The list's current row, -1 when none.
    int currentRow() const;
    /// Makes `row` current. A row in edit state is saved first; when the save
    /// is refused (message shown, refused() emitted) the cursor stays and the
    /// result is false. The target keeps its identity when the save moves rows.
    bool moveTo(int row);
    /// moveTo(currentRow() + 1); false at the last row.
    bool next();
    /// Saves the row in edit state. A refusal is shown and emitted; false then.
    /// Nothing to save: true.
    bool post();
    /// Cancels the edit; with `ask` message 1/38 first (No keeps the edit and
    /// returns false).
    bool cancel(bool ask);
    bool isEditing() const;

signals:
    /// The list's current row changed (also after a reset).
    void currentRowChanged(int row);
    /// A mark or button state of the list's ListMarks may have changed.
    void listMarksChanged();
    /// Edit state, row count or current row may have changed.
    void stateChanged();
    /// A save was refused; `field` names the field to focus ("ZEIT", "TEXT",
    /// or empty).
    void refused(const QString& field);

private:
    /// Forwards the list's notifications to the model's begin…/end… calls.
    class Listener;
    friend class Listener;

    void indicatorChanged(int oldRow, int newRow);

    std::unique_ptr<Listener> m_listener;
    lyrics::AssignmentList* m_list = nullptr;
    Prompter* m_prompter = nullptr;
    std::array<QString, ColumnCount> m_titles;
    bool m_resetting = false;
    int m_indicatorRow = -1;
};

/// The list's cursor as the record navigator sees it: moves go through
/// AssignmentModel::moveTo (so a row in edit state is saved first).
class AssignmentDataSet : public NavigatorDataSet {
    Q_OBJECT
public:
    explicit AssignmentDataSet(AssignmentModel* model, QObject* parent = nullptr);
    bool isOpen() const override;
    int rowCount() const override;
    int currentRow() const override;
    void moveTo(int row) override;

private:
    QPointer<AssignmentModel> m_model;
};

/// Binds one table view (and optionally a navigator) to the shared model: the
/// view shows the model with the columns' widths, follows the list's cursor
/// and moves it when the user changes the view's current row (a refused save
/// puts the view back on the list's row). The navigator pages by `moveBy`.
class AssignmentGridBinding : public QObject {
    Q_OBJECT
public:
    AssignmentGridBinding(QTableView* view, AssignmentModel* model, TDBNavigatorVelk* navigator, int moveBy,
                          QObject* parent = nullptr);

    QTableView* view() const { return m_view; }
    AssignmentDataSet* dataSet() const { return m_dataSet; }

    /// Marking of several rows (Ctrl-click, Shift ranges) on or off; off
    /// unmarks all. Off after binding.
    void setMultiSelect(bool on);
    bool multiSelect() const { return m_multi; }
    /// Marked rows in list order; empty while marking is off.
    std::vector<int> markedRows() const;
    /// Sets the column widths from the characters of each column.
    void applyColumnWidths();
    /// When on, a refused save focuses this view on the refused field's column
    /// (used where no record panel takes the focus).
    void setFocusOnRefusal(bool on) { m_focusOnRefusal = on; }

private:
    void followList(int row);
    void viewMoved(const QModelIndex& current, const QModelIndex& previous);
    void syncFromView();
    void focusRefused(const QString& field);

    QPointer<QTableView> m_view;
    QPointer<AssignmentModel> m_model;
    AssignmentDataSet* m_dataSet = nullptr;
    bool m_syncing = false;
    bool m_pending = false;
    bool m_multi = false;
    bool m_focusOnRefusal = false;
};

/// Binds `view` (and `navigator`, may be null) to `model`; the binding is a
/// child of the view. Use moveBy 13 for the grid of tab 4.
AssignmentGridBinding* bindAssignmentGrid(QTableView* view, AssignmentModel* model, TDBNavigatorVelk* navigator,
                                          int moveBy);

} // namespace versilla::app
