#pragma once
#include <QTabBar>
#include <QTabWidget>

#include <functional>

namespace versilla::app {

/// The main window's page control `PageControl1`. A switch the user asks for
/// (click on a tab, arrow keys on the tab bar, the wheel, Ctrl+Tab and its
/// relatives, the Alt accelerators of the tab captions) is first put to
/// `canChange`, which may refuse it; an allowed switch is made and reported by
/// changedByUser(). setCurrentIndex() from code switches silently, as showing
/// or going back to a tab from a command must not raise the switch rules again.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent);

    /// Asked before a user switch to `index`; false refuses it. Unset: allowed.
    std::function<bool(int index)> canChange;

    /// A user switch to `index`: asks canChange, switches and emits
    /// changedByUser(). False when refused, disabled, out of range or already shown.
    bool userSwitch(int index);

signals:
    /// The user switched to `index` (the page is already shown).
    void changedByUser(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The enabled tab `steps` away from the current one, wrapping; -1 when none.
    int neighbour(int steps) const;
    friend class PageTabBar;
};

/// The tab bar of PageControl: routes every switch through PageControl::userSwitch.
class PageTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit PageTabBar(PageControl* owner);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    PageControl* m_owner;
};

} // namespace versilla::app
