#pragma once
#include <QObject>
#include <QPointer>

class QAbstractItemView;

namespace versilla::app {

/// What the record navigator needs of the rows it moves through: whether they
/// are open, how many there are, which is current, and a way to move. A data
/// set emits changed() whenever any of these may have changed.
class NavigatorDataSet : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool isOpen() const = 0;
    virtual int rowCount() const = 0;
    /// The current row, 0-based; -1 when there is none.
    virtual int currentRow() const = 0;
    /// Makes `row` current (the caller keeps it within 0 .. rowCount()-1).
    virtual void moveTo(int row) = 0;

signals:
    void changed();
};

/// The rows of an item view's model, the view's current index being the
/// current row. Open while the view has a model.
class ItemViewDataSet : public NavigatorDataSet {
    Q_OBJECT
public:
    explicit ItemViewDataSet(QAbstractItemView* view, QObject* parent = nullptr);
    bool isOpen() const override;
    int rowCount() const override;
    int currentRow() const override;
    void moveTo(int row) override;

    /// Call after the view got another model, so the new one is watched.
    void watchModel();

private:
    QPointer<QAbstractItemView> m_view;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace versilla::app
