#include "app/controls/NumEditRules.h"

namespace versilla::app {

namespace {

QString numberText(double value) {
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', u',');
    return text;
}

} // namespace

bool NumEditRules::isAllowedKey(QChar c) const {
    if (QStringLiteral("0123456789+-\b\r").contains(c)) return true;
    return nachkommastellen > 0 && c == sep();
}

QString NumEditRules::allowedKeysText() const {
    QString text = QStringLiteral("Zulässing sind: 0123456789+-");
    if (nachkommastellen > 0) text += sep();
    return text;
}

NumEditRules::ChangeVerdict NumEditRules::checkChange(const QString& text) const {
    int before = 0, after = 0, separators = 0;
    for (QChar c : text) {
        if (c == u'+' || c == u'-') continue;
        if (c == sep()) ++separators;
        else if (separators == 0) ++before;
        else ++after;
    }
    if (separators > 1) return ChangeVerdict::TwoSeparators;
    if (before > vorkommastellen) return ChangeVerdict::TooManyBefore;
    if (after > nachkommastellen) return ChangeVerdict::TooManyAfter;
    return ChangeVerdict::Ok;
}

QString NumEditRules::formatOnLeave(const QString& text) const {
    int minus = 0, separators = 0, digitsBefore = 0, digitsAfter = 0;
    for (QChar c : text) {
        if (c == u'-') ++minus;
        else if (c == sep()) ++separators;
        else if (c.isDigit()) (separators == 0 ? digitsBefore : digitsAfter)++;
    }
    if (digitsBefore + digitsAfter == 0 && separators == 0) {
        if (!blankToZero) return {};
        return nachkommastellen > 0 ? QStringLiteral("0") + sep() + QString(nachkommastellen, u'0')
                                    : QStringLiteral("0");
    }
    QString out;
    for (QChar c : text)
        if (c != u'-' && c != u'+') out += c;
    if (nachkommastellen > 0) {
        if (separators == 0) out += sep();
        else if (digitsBefore == 0 && out.startsWith(sep())) out.prepend(u'0');
        const int at = out.indexOf(sep());
        int have = 0;
        for (int i = at + 1; i < out.size(); ++i)
            if (out[i].isDigit()) ++have;
        if (have < nachkommastellen) out += QString(nachkommastellen - have, u'0');
    }
    // Leading zeros go, but the digit in front of the separator stays.
    int drop = 0;
    while (drop + 1 < out.size() && out[drop] == u'0' && out[drop + 1].isDigit()) ++drop;
    out.remove(0, drop);
    if (minus > 0) out.prepend(u'-');
    return out;
}

bool NumEditRules::toNumber(const QString& text, double& value) const {
    if (text.isEmpty()) {
        value = 0;
        return true;
    }
    // Only an optional '-', digits and one separator are a number here; the
    // conversion itself would also take exponents and spaces.
    int i = 0;
    if (text[0] == u'-') ++i;
    bool digits = false, separator = false;
    for (; i < text.size(); ++i) {
        if (text[i].isDigit() && text[i].unicode() < 128) digits = true;
        else if (text[i] == sep() && !separator) separator = true;
        else return false;
    }
    if (!digits) return false;
    QString plain = text;
    plain.replace(sep(), u'.');
    bool ok = false;
    value = plain.toDouble(&ok);
    return ok;
}

NumEditRules::LeaveResult NumEditRules::leave(const QString& text) const {
    LeaveResult r;
    r.text = formatOnLeave(text);
    double value = 0;
    if (!toNumber(r.text, value)) r.verdict = LeaveVerdict::NotANumber;
    else if (value > maximum) r.verdict = LeaveVerdict::AboveMaximum;
    else if (value < minimum) r.verdict = LeaveVerdict::BelowMinimum;
    else if (value == 0 && !nullErlaubt) r.verdict = LeaveVerdict::ZeroNotAllowed;
    else r.value = value;
    return r;
}

QString NumEditRules::leaveMessage(LeaveVerdict verdict) const {
    switch (verdict) {
    case LeaveVerdict::Ok: return {};
    case LeaveVerdict::NotANumber: return QStringLiteral("Die Eingabe ist kein gültiger Double-Wert.");
    case LeaveVerdict::AboveMaximum:
        return QStringLiteral("Die Eingabe ist größer als das erlaubte Maximum: ") + numberText(maximum);
    case LeaveVerdict::BelowMinimum:
        return QStringLiteral("Die Eingabe ist kleiner als das erlaubte Minimum: ") + numberText(minimum);
    case LeaveVerdict::ZeroNotAllowed: return QStringLiteral("Der Wert 0 oder leer ist nicht erlaubt.");
    }
    return {};
}

} // namespace versilla::app
