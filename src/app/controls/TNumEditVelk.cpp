#include "app/controls/TNumEditVelk.h"

#include "app/controls/ControlSeams.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace versilla::app {

TNumEditVelk::TNumEditVelk(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &TNumEditVelk::onTextChanged);
}

void TNumEditVelk::setVorkommastellen(int digits) {
    if (digits >= 16 || digits < 0) {
        ControlSeams::showBox(this, BoxIcon::Warning, QStringLiteral("TNumEditVelk"),
                              QStringLiteral("Nicht mehr als 15 Stellen möglich."));
        return;
    }
    m_rules.vorkommastellen = digits;
}

void TNumEditVelk::setNachkommastellen(int digits) {
    if (digits >= 16 || digits < 0) {
        ControlSeams::showBox(this, BoxIcon::Warning, QStringLiteral("TNumEditVelk"),
                              QStringLiteral("Nicht mehr als 15 Stellen möglich."));
        return;
    }
    m_rules.nachkommastellen = digits;
}

void TNumEditVelk::setDezimalseperator(const QString& separator) {
    if (separator.size() > 1) {
        ControlSeams::showBox(this, BoxIcon::Warning, QStringLiteral("TNumEditVelk"),
                              QStringLiteral("Nicht mehr als 1 Zeichen möglich."));
        return;
    }
    m_rules.separator = separator;
}

void TNumEditVelk::refuse(const QString& caption, const QString& text) {
    if (m_showErrorMessages) ControlSeams::showBox(this, BoxIcon::Warning, caption, text);
    else ControlSeams::beep();
}

void TNumEditVelk::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    // Only characters are judged; navigation and editing keys, and control
    // characters such as the clipboard shortcuts, pass (the change rules still
    // guard whatever they bring in).
    if (typed.size() == 1 && typed[0].isPrint() && !m_rules.isAllowedKey(typed[0])) {
        event->accept();
        refuse(QStringLiteral("Unzulässiges Zeichen"), m_rules.allowedKeysText());
        return;
    }
    m_remembered = text();
    QLineEdit::keyPressEvent(event);
}

void TNumEditVelk::onTextChanged(const QString& current) {
    if (m_restoring) return;
    const auto verdict = m_rules.checkChange(current);
    if (verdict == NumEditRules::ChangeVerdict::Ok) {
        m_remembered = current;
        return;
    }
    m_restoring = true;
    setText(m_remembered);
    m_restoring = false;
    switch (verdict) {
    case NumEditRules::ChangeVerdict::TwoSeparators:
        refuse(QStringLiteral("Doppeltes Dezimaltrennzeichen"),
               QStringLiteral("Nur ein Dezimaltrennzeichen ist zulässig"));
        break;
    case NumEditRules::ChangeVerdict::TooManyBefore:
        refuse(QStringLiteral("zuviele Vorkommastellen"),
               QStringLiteral("Es sind nur %1 Vorkommastellen zulässig").arg(m_rules.vorkommastellen));
        break;
    case NumEditRules::ChangeVerdict::TooManyAfter:
        refuse(QStringLiteral("zuviele Nachkommastellen"),
               QStringLiteral("Es sind nur %1 Nachkommastellen zulässig").arg(m_rules.nachkommastellen));
        break;
    case NumEditRules::ChangeVerdict::Ok: break;
    }
}

void TNumEditVelk::focusInEvent(QFocusEvent* event) {
    if (m_zeroToBlank && !text().isEmpty()) {
        double value = 0;
        if (m_rules.toNumber(text(), value) && value == 0) clear();
    }
    QLineEdit::focusInEvent(event);
}

void TNumEditVelk::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu is no leaving of the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    leaveField();
}

bool TNumEditVelk::leaveField() {
    const NumEditRules::LeaveResult r = m_rules.leave(text());
    if (r.text != text()) {
        m_restoring = true;
        setText(r.text);
        m_remembered = r.text;
        m_restoring = false;
    }
    if (r.verdict != NumEditRules::LeaveVerdict::Ok) {
        ControlSeams::showBox(this, BoxIcon::Warning, QStringLiteral("Ungültiger Wert"),
                              m_rules.leaveMessage(r.verdict));
        // Taken back once the focus change under way has finished.
        QPointer<TNumEditVelk> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self) self->setFocus(Qt::OtherFocusReason);
        });
        return false;
    }
    m_wert = r.value;
    emit leaveAccepted();
    return true;
}

} // namespace versilla::app
