#include "app/controls/NavigatorDataSet.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace versilla::app {

ItemViewDataSet::ItemViewDataSet(QAbstractItemView* view, QObject* parent)
    : NavigatorDataSet(parent), m_view(view) {
    watchModel();
}

void ItemViewDataSet::watchModel() {
    for (const auto& c : m_connections) disconnect(c);
    m_connections.clear();
    if (!m_view || !m_view->model()) return;
    QAbstractItemModel* model = m_view->model();
    const auto notify = [this] { emit changed(); };
    m_connections << connect(model, &QAbstractItemModel::rowsInserted, this, notify)
                  << connect(model, &QAbstractItemModel::rowsRemoved, this, notify)
                  << connect(model, &QAbstractItemModel::modelReset, this, notify)
                  << connect(model, &QAbstractItemModel::layoutChanged, this, notify);
    if (QItemSelectionModel* selection = m_view->selectionModel())
        m_connections << connect(selection, &QItemSelectionModel::currentChanged, this, notify);
    emit changed();
}

bool ItemViewDataSet::isOpen() const { return m_view && m_view->model(); }

int ItemViewDataSet::rowCount() const { return isOpen() ? m_view->model()->rowCount() : 0; }

int ItemViewDataSet::currentRow() const {
    if (!isOpen()) return -1;
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ItemViewDataSet::moveTo(int row) {
    if (!isOpen() || row < 0 || row >= rowCount()) return;
    const int column = m_view->currentIndex().isValid() ? m_view->currentIndex().column() : 0;
    m_view->setCurrentIndex(m_view->model()->index(row, column));
}

} // namespace versilla::app
