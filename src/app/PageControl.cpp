#include "app/PageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QWheelEvent>

namespace versilla::app {

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new PageTabBar(this));
}

bool PageControl::userSwitch(int index) {
    if (index < 0 || index >= count() || index == currentIndex() || !isTabEnabled(index)) return false;
    if (canChange && !canChange(index)) return false;
    setCurrentIndex(index);
    emit changedByUser(index);
    return true;
}

int PageControl::neighbour(int steps) const {
    const int n = count();
    if (n == 0) return -1;
    int index = currentIndex();
    for (int tried = 0; tried < n; ++tried) {
        index = ((index + steps) % n + n) % n;
        if (isTabEnabled(index)) return index == currentIndex() ? -1 : index;
    }
    return -1;
}

void PageControl::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int steps = 0;
    if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown))
        steps = (event->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    else if (ctrl && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp))
        steps = -1;
    if (steps == 0) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    userSwitch(neighbour(steps));
    event->accept();
}

PageTabBar::PageTabBar(PageControl* owner) : QTabBar(owner), m_owner(owner) {}

bool PageTabBar::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        // The Alt accelerator of a tab caption ("&1" .. "&5").
        const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
        for (int i = 0; i < count(); ++i) {
            if (!QKeySequence::mnemonic(tabText(i)).isEmpty() && QKeySequence::mnemonic(tabText(i)) == key) {
                m_owner->userSwitch(i);
                return true;
            }
        }
    }
    return QTabBar::event(event);
}

void PageTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0 && index != currentIndex()) {
            m_owner->userSwitch(index);
            event->accept();
            return;
        }
    }
    QTabBar::mousePressEvent(event);
}

void PageTabBar::keyPressEvent(QKeyEvent* event) {
    int steps = 0;
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) steps = -1;
    if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) steps = 1;
    if (steps == 0) {
        QTabBar::keyPressEvent(event);
        return;
    }
    m_owner->userSwitch(m_owner->neighbour(steps));
    event->accept();
}

void PageTabBar::wheelEvent(QWheelEvent* event) {
    // Scrolling over the tab bar does not leave the tab: every switch has its rules.
    event->ignore();
}

} // namespace versilla::app
