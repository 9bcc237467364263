#include "app/Text.h"

#include "text/CodePage1252.h"

#include <QList>

namespace versilla::app {

QString toQString(std::string_view cp1252) {
    const std::string utf8 = text::cp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string fromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t cp : text.toUcs4()) {
        const auto byte = text::codePointToCp1252(cp);
        out.push_back(byte ? static_cast<char>(*byte) : '?');
    }
    return out;
}

} // namespace versilla::app
