#include "app/TForm5.h"

#include "app/Localizer.h"
#include "app/Widgets.h"

#include <QApplication>
#include <QLabel>

namespace versilla::app {

TForm5::TForm5(const Localizer& localizer, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_localizer(localizer) {
    setObjectName(QStringLiteral("TForm5"));
    // A notice only: the main window keeps the activation and its focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(300, 70);
    Label1 = placed<QLabel>(this, "Label1", 10, 10, 280, 50);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
}

TForm5::~TForm5() {
    hideText();
}

void TForm5::showText(int n) {
    m_localizer.applyCaptions(5, this);
    if (windowTitle().isEmpty()) setWindowTitle(QStringLiteral("Information"));
    Label1->setText(m_localizer.caption(5, QStringLiteral("text%1").arg(n)));
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm5::hideText() {
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
    hide();
}

} // namespace versilla::app
