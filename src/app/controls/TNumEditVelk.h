#pragma once
#include "app/controls/NumEditRules.h"

#include <QLineEdit>

namespace versilla::app {

/// An edit field that admits only a number within set limits. Typing refuses
/// any other character (beep, or a box with ShowErrorMessages); a change that
/// breaks the digit limits is undone; leaving the field formats the text and
/// checks the limits: an invalid value shows a box captioned "Ungültiger Wert"
/// and takes the focus back, a valid one sets Wert and emits leaveAccepted().
class TNumEditVelk : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int Vorkommastellen READ Vorkommastellen WRITE setVorkommastellen)
    Q_PROPERTY(int Nachkommastellen READ Nachkommastellen WRITE setNachkommastellen)
    Q_PROPERTY(QString Dezimalseperator READ Dezimalseperator WRITE setDezimalseperator)
    Q_PROPERTY(bool ShowErrorMessages READ ShowErrorMessages WRITE setShowErrorMessages)
    Q_PROPERTY(bool BlankToZero READ BlankToZero WRITE setBlankToZero)
    Q_PROPERTY(bool ZeroToBlank READ ZeroToBlank WRITE setZeroToBlank)
    Q_PROPERTY(double Minimum READ Minimum WRITE setMinimum)
    Q_PROPERTY(double Maximum READ Maximum WRITE setMaximum)
    Q_PROPERTY(bool NullErlaubt READ NullErlaubt WRITE setNullErlaubt)
    Q_PROPERTY(double Wert READ Wert)
public:
    explicit TNumEditVelk(QWidget* parent = nullptr);

    int Vorkommastellen() const { return m_rules.vorkommastellen; }
    /// Refuses 16 or more (and negative values) with the box "Nicht mehr als 15
    /// Stellen möglich."; the old value stays.
    void setVorkommastellen(int digits);
    int Nachkommastellen() const { return m_rules.nachkommastellen; }
    /// Same limit and box as Vorkommastellen.
    void setNachkommastellen(int digits);
    QString Dezimalseperator() const { return m_rules.separator; }
    /// Refuses a text longer than one character with the box "Nicht mehr als 1
    /// Zeichen möglich."; the old separator stays.
    void setDezimalseperator(const QString& separator);
    bool ShowErrorMessages() const { return m_showErrorMessages; }
    void setShowErrorMessages(bool on) { m_showErrorMessages = on; }
    bool BlankToZero() const { return m_rules.blankToZero; }
    void setBlankToZero(bool on) { m_rules.blankToZero = on; }
    bool ZeroToBlank() const { return m_zeroToBlank; }
    void setZeroToBlank(bool on) { m_zeroToBlank = on; }
    double Minimum() const { return m_rules.minimum; }
    void setMinimum(double value) { m_rules.minimum = value; }
    double Maximum() const { return m_rules.maximum; }
    void setMaximum(double value) { m_rules.maximum = value; }
    bool NullErlaubt() const { return m_rules.nullErlaubt; }
    void setNullErlaubt(bool on) { m_rules.nullErlaubt = on; }
    /// The value after the last successful leave.
    double Wert() const { return m_wert; }

    const NumEditRules& rules() const { return m_rules; }

    /// Runs the leave rules now, as when the focus goes to another control.
    /// True when the value was valid (Wert set, leaveAccepted() emitted).
    bool leaveField();

signals:
    /// The field was left with a valid value; Wert holds it.
    void leaveAccepted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextChanged(const QString& text);
    void refuse(const QString& caption, const QString& text);

    NumEditRules m_rules;
    bool m_showErrorMessages = false;
    bool m_zeroToBlank = false;
    double m_wert = 0;
    QString m_remembered;
    bool m_restoring = false;
};

} // namespace versilla::app
