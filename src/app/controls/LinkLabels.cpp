#include "app/controls/LinkLabels.h"

#include "app/controls/ControlSeams.h"

#include <QMouseEvent>

namespace versilla::app {

LinkLabel::LinkLabel(QWidget* parent, const QColor& colour, const QString& hint, QString prefix)
    : QLabel(parent), m_prefix(std::move(prefix)) {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
    setToolTip(hint);
}

bool LinkLabel::openLink() const { return ControlSeams::openUrl(link()); }

void LinkLabel::enterEvent(QEnterEvent* event) {
    m_hadCursor = testAttribute(Qt::WA_SetCursor);
    m_previousCursor = cursor();
    setCursor(Qt::PointingHandCursor);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    if (m_hadCursor) setCursor(m_previousCursor);
    else unsetCursor();
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    openLink();
    event->accept();
}

THttpLabel::THttpLabel(QWidget* parent)
    : LinkLabel(parent, QColor(128, 0, 128), QStringLiteral("Doppelklick startet den Standard-Browser"),
                QStringLiteral("http://")) {}

TEmailLabel::TEmailLabel(QWidget* parent)
    : LinkLabel(parent, QColor(0, 0, 255), QStringLiteral("Doppelklick startet den Standard-Mail-Client"),
                QStringLiteral("MAILTO:")) {}

} // namespace versilla::app
