#include "app/AssignmentModel.h"

#include "app/Text.h"
#include "app/controls/TDBNavigatorVelk.h"
#include "core/Prompter.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace versilla::app {

// ---- list notifications ---------------------------------------------------------

class AssignmentModel::Listener : public lyrics::ListListener {
public:
    explicit Listener(AssignmentModel& model) : m(model) {}

    void aboutToReset() override {
        m.m_resetting = true;
        m.beginResetModel();
    }
    void reset() override {
        m.endResetModel();
        m.m_resetting = false;
        m.m_indicatorRow = m.currentRow();
        emit m.currentRowChanged(m.currentRow());
        emit m.stateChanged();
    }
    void aboutToInsert(int pos) override { m.beginInsertRows(QModelIndex(), pos, pos); }
    void inserted(int) override {
        m.endInsertRows();
        emit m.stateChanged();
    }
    void aboutToRemove(int pos) override { m.beginRemoveRows(QModelIndex(), pos, pos); }
    void removed(int pos) override {
        m.endRemoveRows();
        // The indicator row may now be past the end; currentChanged follows.
        if (m.m_indicatorRow >= pos) m.m_indicatorRow = -1;
        emit m.stateChanged();
    }
    void aboutToMove(int from, int to) override {
        m.beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    }
    void moved(int from, int to) override {
        m.endMoveRows();
        if (m.m_indicatorRow == from) m.m_indicatorRow = to;
    }
    void changed(int pos) override {
        if (pos < 0 || pos >= m.rowCount()) return;
        emit m.dataChanged(m.index(pos, 0), m.index(pos, ColumnCount - 1));
        emit m.headerDataChanged(Qt::Vertical, pos, pos);
        emit m.stateChanged();
    }
    void currentChanged(int pos) override {
        // Inside a bulk bracket the views wait for the reset, which reports
        // the current row itself.
        if (m.m_resetting) return;
        m.indicatorChanged(m.m_indicatorRow, pos);
        emit m.currentRowChanged(pos);
        emit m.stateChanged();
    }
    void marksChanged() override {
        emit m.listMarksChanged();
        emit m.stateChanged();
    }
    void listDestroyed() override {
        m.beginResetModel();
        m.m_list = nullptr;
        m.m_indicatorRow = -1;
        m.endResetModel();
        m.m_resetting = false;
        emit m.currentRowChanged(-1);
        emit m.stateChanged();
    }

private:
    AssignmentModel& m;
};

// ---- model ------------------------------------------------------------------------

const char* AssignmentModel::fieldName(int column) {
    switch (column) {
    case Zeit: return "ZEIT";
    case Text: return "TEXT";
    case Strzeit: return "STRZEIT";
    default: return "";
    }
}

int AssignmentModel::columnChars(int column) {
    static constexpr int chars[ColumnCount] = {10, 41, 11};
    return column >= 0 && column < ColumnCount ? chars[column] : 0;
}

AssignmentModel::AssignmentModel(QObject* parent)
    : QAbstractTableModel(parent), m_listener(std::make_unique<Listener>(*this)) {
    m_titles = {QStringLiteral("Zeit in ms"), QStringLiteral("Text"), QStringLiteral("Zeit in Sek.")};
}

AssignmentModel::~AssignmentModel() {
    if (m_list) m_list->removeListener(m_listener.get());
}

void AssignmentModel::setList(lyrics::AssignmentList* list, Prompter* prompter) {
    m_prompter = prompter;
    if (list == m_list) return;
    beginResetModel();
    if (m_list) m_list->removeListener(m_listener.get());
    m_list = list;
    if (m_list) m_list->addListener(m_listener.get());
    m_resetting = false;
    endResetModel();
    m_indicatorRow = currentRow();
    emit currentRowChanged(currentRow());
    emit listMarksChanged();
    emit stateChanged();
}

void AssignmentModel::setTitles(const QString& zeit, const QString& text, const QString& strzeit) {
    m_titles = {zeit, text, strzeit};
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

int AssignmentModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_list) return 0;
    return m_list->rowCount();
}

int AssignmentModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AssignmentModel::data(const QModelIndex& index, int role) const {
    if (!m_list || !index.isValid() || index.row() >= m_list->rowCount() || index.column() >= ColumnCount)
        return {};
    const lyrics::Row& row = m_list->row(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case Zeit: return QString::number(row.zeit);
        case Text: return toQString(row.text);
        case Strzeit: return toQString(row.strzeit);
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == Zeit)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant AssignmentModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? QVariant(m_titles[static_cast<std::size_t>(section)])
                                                      : QVariant();
    // The row indicator: the current row, marked by its edit state.
    if (!m_list || section != m_list->currentPosition()) return QString();
    switch (m_list->state()) {
    case lyrics::EditState::Insert: return QStringLiteral("*");
    case lyrics::EditState::Edit: return QStringLiteral("I");
    case lyrics::EditState::Browse: break;
    }
    return QString(QChar(0x25B8));
}

bool AssignmentModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 || section >= ColumnCount)
        return false;
    m_titles[static_cast<std::size_t>(section)] = value.toString();
    emit headerDataChanged(Qt::Horizontal, section, section);
    return true;
}

Qt::ItemFlags AssignmentModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Zeit || index.column() == Text) f |= Qt::ItemIsEditable;
    return f;
}

bool AssignmentModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_list || !index.isValid() || role != Qt::EditRole) return false;
    const int column = index.column();
    if (column != Zeit && column != Text) return false;
    std::string text = fromQString(value.toString());
    if (column == Zeit) {
        const auto first = text.find_first_not_of(' ');
        text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
    // An editor closed without a change leaves the row alone.
    const lyrics::Row& shown = m_list->row(index.row());
    if (column == Text && text == shown.text) return true;
    if (column == Zeit && text == std::to_string(shown.zeit)) return true;
    if (column == Zeit && text.empty() && shown.zeit == 0) return true;
    if (index.row() != m_list->currentPosition() && !moveTo(index.row())) return false;
    return m_list->setField(fieldName(column), text);
}

int AssignmentModel::currentRow() const {
    return m_list ? m_list->currentPosition() : -1;
}

bool AssignmentModel::isEditing() const {
    return m_list && m_list->isEditing();
}

bool AssignmentModel::moveTo(int row) {
    if (!m_list || row < 0 || row >= m_list->rowCount()) return false;
    if (row == m_list->currentPosition()) return true;
    if (m_list->isEditing()) {
        // The save may move rows: find the target again by its record.
        const std::uint32_t target = m_list->row(row).recNo;
        if (!post()) return false;
        row = m_list->positionOfRecNo(target);
        if (row < 0) return false;
    }
    return m_list->setCurrentPosition(row);
}

bool AssignmentModel::next() {
    const int row = currentRow();
    if (row < 0 || row + 1 >= rowCount()) return false;
    return moveTo(row + 1);
}

bool AssignmentModel::post() {
    if (!m_list || !m_list->isEditing()) return true;
    const std::optional<Refusal> refusal = m_list->post();
    if (!refusal) return true;
    if (m_prompter) showRefusal(*m_prompter, *refusal);
    emit refused(QString::fromStdString(refusal->focusField));
    return false;
}

bool AssignmentModel::cancel(bool ask) {
    if (!m_list || !m_list->isEditing()) return true;
    if (ask && m_prompter) return m_list->cancelAsked(*m_prompter);
    m_list->cancel();
    return true;
}

void AssignmentModel::indicatorChanged(int oldRow, int newRow) {
    const int rows = rowCount();
    for (int row : {oldRow, newRow})
        if (row >= 0 && row < rows) emit headerDataChanged(Qt::Vertical, row, row);
    m_indicatorRow = newRow;
}

// ---- navigator data set --------------------------------------------------------------

AssignmentDataSet::AssignmentDataSet(AssignmentModel* model, QObject* parent)
    : NavigatorDataSet(parent), m_model(model) {
    if (!model) return;
    const auto notify = [this] { emit changed(); };
    connect(model, &AssignmentModel::currentRowChanged, this, notify);
    connect(model, &AssignmentModel::stateChanged, this, notify);
    connect(model, &QAbstractItemModel::rowsInserted, this, notify);
    connect(model, &QAbstractItemModel::rowsRemoved, this, notify);
    connect(model, &QAbstractItemModel::rowsMoved, this, notify);
    connect(model, &QAbstractItemModel::modelReset, this, notify);
}

bool AssignmentDataSet::isOpen() const {
    return m_model && m_model->list() && m_model->list()->isOpen();
}

int AssignmentDataSet::rowCount() const {
    return isOpen() ? m_model->rowCount() : 0;
}

int AssignmentDataSet::currentRow() const {
    return isOpen() ? m_model->currentRow() : -1;
}

void AssignmentDataSet::moveTo(int row) {
    if (isOpen()) m_model->moveTo(row);
}

// ---- grid binding -----------------------------------------------------------------------

AssignmentGridBinding::AssignmentGridBinding(QTableView* view, AssignmentModel* model, TDBNavigatorVelk* navigator,
                                             int moveBy, QObject* parent)
    : QObject(parent), m_view(view), m_model(model) {
    m_dataSet = new AssignmentDataSet(model, this);
    if (view && model) {
        view->setModel(model);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setAlternatingRowColors(true);
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
        view->verticalHeader()->setDefaultSectionSize(18);
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setFixedWidth(14);
        view->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
        applyColumnWidths();
        connect(model, &AssignmentModel::currentRowChanged, this, &AssignmentGridBinding::followList);
        connect(model, &AssignmentModel::refused, this, &AssignmentGridBinding::focusRefused);
        connect(model, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation orientation) {
            if (orientation == Qt::Horizontal) applyColumnWidths();
        });
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &AssignmentGridBinding::viewMoved);
        followList(model->currentRow());
    }
    if (navigator) {
        navigator->setMoveBy(moveBy);
        navigator->setDataSource(m_dataSet);
    }
}

void AssignmentGridBinding::applyColumnWidths() {
    if (!m_view || !m_model) return;
    const int charWidth = m_view->fontMetrics().averageCharWidth();
    const QFontMetrics header = m_view->horizontalHeader()->fontMetrics();
    int widths[AssignmentModel::ColumnCount];
    int total = 0;
    for (int column = 0; column < AssignmentModel::ColumnCount; ++column) {
        // The short columns also fit their titles (drawn in the header's font).
        const QString title = m_model->headerData(column, Qt::Horizontal).toString();
        widths[column] = AssignmentModel::columnChars(column) * charWidth + 4;
        if (column != AssignmentModel::Text)
            widths[column] = std::max(widths[column], header.horizontalAdvance(title) + 12);
        total += widths[column];
    }
    // The text column gives up what the grid lacks, so every column shows.
    const int room = m_view->width() - 2 * m_view->frameWidth() - m_view->verticalHeader()->width() -
                     m_view->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (total > room)
        widths[AssignmentModel::Text] = std::max(20 * charWidth, widths[AssignmentModel::Text] - (total - room));
    for (int column = 0; column < AssignmentModel::ColumnCount; ++column) m_view->setColumnWidth(column, widths[column]);
}

void AssignmentGridBinding::followList(int row) {
    if (!m_view || !m_model) return;
    QItemSelectionModel* selection = m_view->selectionModel();
    if (!selection) return;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selection->clearCurrentIndex();
        if (!m_multi) selection->clearSelection();
    } else {
        const QModelIndex current = m_view->currentIndex();
        const QModelIndex index = m_model->index(row, current.isValid() ? current.column() : 0);
        const QItemSelectionModel::SelectionFlags flags =
            m_multi ? QItemSelectionModel::NoUpdate
                    : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        selection->setCurrentIndex(index, flags);
        m_view->scrollTo(index);
    }
    m_syncing = false;
}

void AssignmentGridBinding::viewMoved(const QModelIndex& current, const QModelIndex&) {
    if (m_syncing || !m_model || !current.isValid()) return;
    if (current.row() == m_model->currentRow()) return;
    // The move (and a save it may need, with its box) runs once the view has
    // finished handling the click or key, so the view never keeps a selection
    // that the list refused.
    if (m_pending) return;
    m_pending = true;
    QMetaObject::invokeMethod(this, &AssignmentGridBinding::syncFromView, Qt::QueuedConnection);
}

void AssignmentGridBinding::syncFromView() {
    m_pending = false;
    if (!m_view || !m_model) return;
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid() || current.row() == m_model->currentRow()) return;
    if (!m_model->moveTo(current.row())) followList(m_model->currentRow());
}

void AssignmentGridBinding::focusRefused(const QString& field) {
    if (!m_focusOnRefusal || !m_view || !m_model || !m_view->isVisible()) return;
    const int row = m_model->currentRow();
    if (row < 0) return;
    const int column = field.compare(QLatin1String("ZEIT"), Qt::CaseInsensitive) == 0 ? AssignmentModel::Zeit
                                                                                      : AssignmentModel::Text;
    m_syncing = true;
    m_view->selectionModel()->setCurrentIndex(m_model->index(row, column), QItemSelectionModel::NoUpdate);
    m_syncing = false;
    m_view->setFocus(Qt::OtherFocusReason);
}

void AssignmentGridBinding::setMultiSelect(bool on) {
    m_multi = on;
    if (!m_view) return;
    m_view->setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (!on && m_model) {
        m_view->clearSelection();
        followList(m_model->currentRow());
    }
}

std::vector<int> AssignmentGridBinding::markedRows() const {
    std::vector<int> rows;
    if (!m_multi || !m_view || !m_view->selectionModel()) return rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

AssignmentGridBinding* bindAssignmentGrid(QTableView* view, AssignmentModel* model, TDBNavigatorVelk* navigator,
                                          int moveBy) {
    return new AssignmentGridBinding(view, model, navigator, moveBy, view);
}

} // namespace versilla::app
