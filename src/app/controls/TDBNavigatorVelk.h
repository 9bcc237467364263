#pragma once
#include "app/controls/NavigatorDataSet.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>

class QToolButton;

namespace versilla::app {

/// A record navigator with page steps: six buttons (first row, page back,
/// previous row, next row, page forward, last row) over a data set.
class TDBNavigatorVelk : public QWidget {
    Q_OBJECT
public:
    /// The buttons by index, in their order on the panel.
    enum Button { First = 0, PageBack = 1, Prior = 2, Next = 3, PageForward = 4, Last = 5 };
    static constexpr int ButtonCount = 6;
    /// Default hints of the six buttons.
    static QStringList defaultHints();

    explicit TDBNavigatorVelk(QWidget* parent = nullptr);

    /// The rows the navigator moves (not owned; null: closed).
    void setDataSource(NavigatorDataSet* dataSet);
    NavigatorDataSet* DataSource() const { return m_dataSet; }

    /// Rows per page step (default 10).
    int MoveBy() const { return m_moveBy; }
    void setMoveBy(int rows) { m_moveBy = rows; }

    /// Which buttons show (default all six); the visible ones share the width.
    void setVisibleButtons(const std::array<bool, ButtonCount>& visible);
    std::array<bool, ButtonCount> VisibleButtons() const { return m_visible; }

    /// Hints replacing the defaults entry by entry (an empty entry keeps the
    /// default). A list equal to the defaults is dropped.
    void setHints(const QStringList& hints);
    QStringList Hints() const { return m_hints; }

    /// Buttons without a raised frame until the mouse is over them.
    void setFlat(bool flat);
    bool Flat() const { return m_flat; }

    /// Kept for the windows that set it; the navigator has no delete button.
    void setConfirmDelete(bool on) { m_confirmDelete = on; }
    bool ConfirmDelete() const { return m_confirmDelete; }

    QToolButton* button(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }
    /// The button Space presses and Left/Right move from.
    int focusedButton() const { return m_focused; }

    /// Performs what button `index` does, as a press would: beforeAction, the
    /// move, then clicked. Does nothing for a disabled or hidden button.
    void press(int index);

public slots:
    /// Brings the enable states up to date with the data set.
    void refreshButtons();

signals:
    /// Before a button's action runs; the button's index.
    void beforeAction(int index);
    /// After a button's action ran; the button's index.
    void clicked(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void layoutButtons();
    void applyHints();
    void move(int index);

    std::array<QToolButton*, ButtonCount> m_buttons{};
    std::array<bool, ButtonCount> m_visible{true, true, true, true, true, true};
    QPointer<NavigatorDataSet> m_dataSet;
    QMetaObject::Connection m_changed;
    QStringList m_hints;
    int m_moveBy = 10;
    bool m_flat = false;
    bool m_confirmDelete = true;
    int m_focused = 0;
};

} // namespace versilla::app
