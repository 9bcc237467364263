#pragma once
#include <QColor>

namespace versilla::app {

/// A stored colour value (red in the lowest byte, then green, then blue) as a QColor.
inline QColor toQColor(qint64 value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

/// A QColor as a stored colour value.
inline qint64 fromQColor(const QColor& colour) {
    return static_cast<qint64>(colour.red()) | (static_cast<qint64>(colour.green()) << 8) |
           (static_cast<qint64>(colour.blue()) << 16);
}

} // namespace versilla::app
