#pragma once
#include <QChar>
#include <QString>

namespace versilla::app {

/// The rules of the numeric edit field without a widget, so they can be
/// checked directly.
struct NumEditRules {
    int vorkommastellen = 10;
    int nachkommastellen = 2;
    QString separator = QStringLiteral(",");
    bool blankToZero = false;
    double minimum = 0;
    double maximum = 2147483647;
    bool nullErlaubt = true;

    /// The separator character; ',' when none is set.
    QChar sep() const { return separator.isEmpty() ? QChar(u',') : separator.at(0); }

    /// Whether a typed character may go into the field: digits, '+', '-',
    /// backspace, return, and the separator when decimals are allowed.
    bool isAllowedKey(QChar c) const;
    /// The list of allowed characters as the refusal box names them.
    QString allowedKeysText() const;

    enum class ChangeVerdict { Ok, TwoSeparators, TooManyBefore, TooManyAfter };
    /// Checks a changed text: at most one separator, and no more digits before
    /// and after it than allowed (signs are not counted).
    ChangeVerdict checkChange(const QString& text) const;

    /// The text the field shows after leaving it: signs gathered into one
    /// leading '-', decimals padded, leading zeros dropped; empty (or zero with
    /// blankToZero) when nothing but signs was typed.
    QString formatOnLeave(const QString& text) const;

    enum class LeaveVerdict { Ok, NotANumber, AboveMaximum, BelowMinimum, ZeroNotAllowed };
    struct LeaveResult {
        QString text;        ///< the formatted text the field shows
        LeaveVerdict verdict = LeaveVerdict::Ok;
        double value = 0;    ///< the number (valid only with Ok)
    };
    /// Formats the text and checks the number against the limits.
    LeaveResult leave(const QString& text) const;
    /// The text of the box for a refused leave ("" for Ok).
    QString leaveMessage(LeaveVerdict verdict) const;

    /// The field's text as a number: empty gives 0; false when it is no number.
    bool toNumber(const QString& text, double& value) const;
};

} // namespace versilla::app
