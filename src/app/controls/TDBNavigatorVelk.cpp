#include "app/controls/TDBNavigatorVelk.h"

#include "app/controls/NavigatorDataSet.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>

namespace versilla::app {

namespace {

/// The button pictures: triangles and bars drawn in code, one per button.
QIcon buttonIcon(int index) {
    const int w = 16, h = 12;
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 20));
    const auto left = [&](qreal x) {
        QPainterPath path;
        path.moveTo(x, h / 2.0);
        path.lineTo(x + 6, 1);
        path.lineTo(x + 6, h - 1);
        path.closeSubpath();
        p.drawPath(path);
    };
    const auto right = [&](qreal x) {
        QPainterPath path;
        path.moveTo(x + 6, h / 2.0);
        path.lineTo(x, 1);
        path.lineTo(x, h - 1);
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (index) {
    case TDBNavigatorVelk::First:
        p.drawRect(QRectF(3, 1, 2, h - 2));
        left(6);
        break;
    case TDBNavigatorVelk::PageBack:
        left(2);
        left(8);
        break;
    case TDBNavigatorVelk::Prior: left(5); break;
    case TDBNavigatorVelk::Next: right(5); break;
    case TDBNavigatorVelk::PageForward:
        right(2);
        right(8);
        break;
    case TDBNavigatorVelk::Last:
        right(4);
        p.drawRect(QRectF(11, 1, 2, h - 2));
        break;
    default: break;
    }
    p.end();
    return QIcon(pixmap);
}

/// A navigator button: never takes the focus itself; the navigator shows a
/// focus frame on the button Space would press.
class NavButton : public QToolButton {
public:
    NavButton(TDBNavigatorVelk* navigator, int index) : QToolButton(navigator), m_nav(navigator), m_index(index) {
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QToolButton::paintEvent(event);
        if (m_nav->hasFocus() && m_nav->focusedButton() == m_index) {
            QStylePainter painter(this);
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = rect().adjusted(3, 3, -3, -3);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
        }
    }

private:
    TDBNavigatorVelk* m_nav;
    int m_index;
};

} // namespace

QStringList TDBNavigatorVelk::defaultHints() {
    return {QStringLiteral("Erste Zeile"), QStringLiteral("Seite zurück"), QStringLiteral("Zeile zurück"),
            QStringLiteral("Zeile vor"),   QStringLiteral("Seite vor"),    QStringLiteral("Letzte Zeile")};
}

TDBNavigatorVelk::TDBNavigatorVelk(QWidget* parent) : QWidget(parent) {
    static const char* const names[ButtonCount] = {"nbFirst", "nbPageBack", "nbPrior",
                                                   "nbNext",  "nbPageForward", "nbLast"};
    setFocusPolicy(Qt::StrongFocus);
    resize(241, 25);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* b = new NavButton(this, i);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setIcon(buttonIcon(i));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        if (i == PageBack || i == Prior || i == Next || i == PageForward) {
            b->setAutoRepeat(true);
            b->setAutoRepeatDelay(400);
            b->setAutoRepeatInterval(100);
        }
        connect(b, &QToolButton::clicked, this, [this, i] { press(i); });
        m_buttons[static_cast<std::size_t>(i)] = b;
    }
    applyHints();
    layoutButtons();
    refreshButtons();
}

void TDBNavigatorVelk::setDataSource(NavigatorDataSet* dataSet) {
    if (m_changed) disconnect(m_changed);
    m_dataSet = dataSet;
    if (dataSet) m_changed = connect(dataSet, &NavigatorDataSet::changed, this, &TDBNavigatorVelk::refreshButtons);
    refreshButtons();
}

void TDBNavigatorVelk::setVisibleButtons(const std::array<bool, ButtonCount>& visible) {
    m_visible = visible;
    if (!m_visible[static_cast<std::size_t>(m_focused)]) {
        const auto it = std::find(m_visible.begin(), m_visible.end(), true);
        m_focused = it == m_visible.end() ? 0 : static_cast<int>(it - m_visible.begin());
    }
    layoutButtons();
}

void TDBNavigatorVelk::setHints(const QStringList& hints) {
    m_hints = hints == defaultHints() ? QStringList() : hints;
    applyHints();
}

void TDBNavigatorVelk::applyHints() {
    const QStringList defaults = defaultHints();
    for (int i = 0; i < ButtonCount; ++i) {
        const QString own = i < m_hints.size() ? m_hints[i] : QString();
        button(i)->setToolTip(own.isEmpty() ? defaults[i] : own);
    }
}

void TDBNavigatorVelk::setFlat(bool flat) {
    m_flat = flat;
    for (auto* b : m_buttons) b->setAutoRaise(flat);
}

void TDBNavigatorVelk::layoutButtons() {
    const int count = static_cast<int>(std::count(m_visible.begin(), m_visible.end(), true));
    if (count == 0) {
        for (auto* b : m_buttons) b->hide();
        return;
    }
    const int each = width() / count;
    int extra = width() - each * count;
    int x = 0;
    for (int i = 0; i < ButtonCount; ++i) {
        QToolButton* b = button(i);
        if (!m_visible[static_cast<std::size_t>(i)]) {
            b->hide();
            continue;
        }
        const int w = each + (extra > 0 ? 1 : 0);
        if (extra > 0) --extra;
        b->setGeometry(x, 0, w, height());
        b->show();
        x += w;
    }
}

void TDBNavigatorVelk::refreshButtons() {
    const bool open = isEnabled() && m_dataSet && m_dataSet->isOpen();
    const int rows = open ? m_dataSet->rowCount() : 0;
    const int row = open ? m_dataSet->currentRow() : -1;
    const bool atBeginning = rows == 0 || row <= 0;
    const bool atEnd = rows == 0 || row >= rows - 1;
    for (int i = 0; i < ButtonCount; ++i) {
        const bool backwards = i == First || i == PageBack || i == Prior;
        button(i)->setEnabled(open && (backwards ? !atBeginning : !atEnd));
    }
}

void TDBNavigatorVelk::move(int index) {
    if (!m_dataSet || !m_dataSet->isOpen()) return;
    const int rows = m_dataSet->rowCount();
    if (rows <= 0) return;
    const int row = std::max(0, m_dataSet->currentRow());
    int target = row;
    switch (index) {
    case First: target = 0; break;
    case PageBack: target = row - m_moveBy; break;
    case Prior: target = row - 1; break;
    case Next: target = row + 1; break;
    case PageForward: target = row + m_moveBy; break;
    case Last: target = rows - 1; break;
    default: return;
    }
    target = std::clamp(target, 0, rows - 1);
    if (target != m_dataSet->currentRow()) m_dataSet->moveTo(target);
}

void TDBNavigatorVelk::press(int index) {
    if (index < 0 || index >= ButtonCount) return;
    QToolButton* b = button(index);
    if (!m_visible[static_cast<std::size_t>(index)] || !b->isEnabled()) return;
    emit beforeAction(index);
    move(index);
    refreshButtons();
    emit clicked(index);
}

void TDBNavigatorVelk::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutButtons();
}

void TDBNavigatorVelk::keyPressEvent(QKeyEvent* event) {
    const auto step = [this](int direction) {
        for (int i = m_focused + direction; i >= 0 && i < ButtonCount; i += direction) {
            if (m_visible[static_cast<std::size_t>(i)]) {
                m_focused = i;
                for (auto* b : m_buttons) b->update();
                return;
            }
        }
    };
    switch (event->key()) {
    case Qt::Key_Space: press(m_focused); break;
    case Qt::Key_Left: step(-1); break;
    case Qt::Key_Right: step(+1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TDBNavigatorVelk::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) refreshButtons();
}

void TDBNavigatorVelk::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    for (auto* b : m_buttons) b->update();
}

void TDBNavigatorVelk::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    for (auto* b : m_buttons) b->update();
}

} // namespace versilla::app
